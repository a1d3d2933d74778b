// Device names are bytes of an ANSI code page that may hold double-byte characters. In Shift-JIS,
// GBK and Big5 a second byte can be 0x40 ('@') or 0x5C ('\'), so names are walked by character.
// Free of Windows: the test of lead bytes comes from the caller.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

// Whether a byte starts a double-byte character of the code page names are in; an empty test
// reads every byte as one character.
using LeadByteTest = std::function<bool(unsigned char)>;

// Bytes of the character at text[at]: 2 for a lead byte and its trail byte, 0 for a lead byte
// whose trail byte was cut off, else 1.
inline size_t CharBytes(const std::string& text, size_t at, const LeadByteTest& isLeadByte)
{
    if (!isLeadByte || !isLeadByte(static_cast<unsigned char>(text[at])))
        return 1;
    return at + 1 < text.size() ? 2 : 0;
}

// Where the first single-byte character c stands at or after `from` (a character's start); npos
// when there is none before the end or before a cut-off character.
inline size_t FindSingleByteChar(const std::string& text, char c, const LeadByteTest& isLeadByte, size_t from = 0)
{
    for (size_t i = from, n; i < text.size(); i += n) {
        n = CharBytes(text, i, isLeadByte);
        if (n == 0)
            break;
        if (n == 1 && text[i] == c)
            return i;
    }
    return std::string::npos;
}
