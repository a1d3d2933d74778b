// Fuzzes the Base64 encoding of logon passwords (finder library and network setter) against a plain decoder.
#include "finderlib/Base64.h"
#include "tests/fuzz/FuzzCheck.h"
#include <cstring>
#include <string>

static std::string Decode(const std::string& b64)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0, value = 0;
    for (char c : b64) {
        if (c == '=')
            break;
        const char* at = std::strchr(kAlphabet, c);
        FUZZ_CHECK(at && c != '\0');
        value = value << 6 | unsigned(at - kAlphabet);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += char((value >> bits) & 0xFF);
        }
    }
    return out;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    char* owned = Base64Encode(text.c_str());
    FUZZ_CHECK(owned != nullptr);
    std::string encoded = owned;
    delete[] owned;
    FUZZ_CHECK(encoded == Base64EncodeText(text.c_str()));
    FUZZ_CHECK(encoded.size() == (text.size() + 2) / 3 * 4);
    FUZZ_CHECK(Decode(encoded) == text);
    return 0;
}
