// Character-set and length checks of the settings page's text fields.
#include "wizard/FieldValidation.h"
#include "resources/pellgrove/resource.h"
#include <cwchar>

namespace {

const wchar_t kNameChars[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_";
const wchar_t kWorkgroupChars[] =
    L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!#%&()-@^_{}";
const wchar_t kHostChars[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-";
const wchar_t kCommentChars[] =
    L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz !#%&()*+,-./;<=>?@^_{}";
const wchar_t kServerChars[] =
    L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_.!~*'()%";

bool AllIn(const std::wstring& text, const wchar_t* allowed)
{
    // A NUL inside the text is not in any set (wcschr would find the set's terminator).
    for (wchar_t c : text)
        if (c == L'\0' || !std::wcschr(allowed, c))
            return false;
    return true;
}

}  // namespace

int CheckAllowedChars(const std::wstring& text, const wchar_t* allowed, size_t limit)
{
    if (text.size() > limit)
        return kFieldBadLength;
    if (text.empty())
        return kFieldValid;
    if (text[0] == L'-')
        return kFieldLeadingHyphen;
    if (text[0] >= L'0' && text[0] <= L'9')
        return kFieldLeadingDigit;
    return AllIn(text, allowed) ? kFieldValid : kFieldBadCharacter;
}

int CheckAllowedCharsPlain(const std::wstring& text, const wchar_t* allowed, size_t limit)
{
    if (text.size() > limit)
        return kFieldBadLength;
    return AllIn(text, allowed) ? kFieldValid : kFieldBadCharacter;
}

int ValidateDeviceName(std::wstring text) { return CheckAllowedChars(text, kNameChars, 14); }
int ValidateWorkgroupChars(std::wstring text) { return CheckAllowedChars(text, kWorkgroupChars, 15); }
int ValidateHostChars(std::wstring text) { return CheckAllowedChars(text, kHostChars, 15); }
int ValidateCommentChars(std::wstring text) { return CheckAllowedChars(text, kCommentChars, 48); }
int ValidateServerChars(std::wstring text) { return CheckAllowedCharsPlain(text, kServerChars, 30); }

UINT FieldCheckMessage(int code)
{
    switch (code) {
    case kFieldBadLength: return IDS_ILLEGAL_LENGTH;
    case kFieldLeadingHyphen: return IDS_HEADING_HYPHEN;
    case kFieldBadCharacter: return IDS_UNAVAILABLE_CHARS;
    case kFieldLeadingDigit: return IDS_HEADING_DIGIT;
    default: return 0;
    }
}
