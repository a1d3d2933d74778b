// Character-set and length checks of the settings page's text fields, and the messages that
// name a rejected field and the reason.
#pragma once
#include <windows.h>
#include <string>

// Results of the checkers.
enum FieldCheck : int {
    kFieldValid = 0,
    kFieldBadLength = 1,     // longer than the limit, or empty where a value is required
    kFieldLeadingHyphen = 2,
    kFieldBadCharacter = 3,
    kFieldLeadingDigit = 4,
};

// Length, then a leading '-', then a leading digit, then every character against the set.
// Lengths count UTF-16 code units; an empty text is valid.
int CheckAllowedChars(const std::wstring& text, const wchar_t* allowed, size_t limit);
// Length and set only: the first character is not special.
int CheckAllowedCharsPlain(const std::wstring& text, const wchar_t* allowed, size_t limit);

int ValidateDeviceName(std::wstring text);
int ValidateWorkgroupChars(std::wstring text);
int ValidateHostChars(std::wstring text);
int ValidateCommentChars(std::wstring text);
int ValidateServerChars(std::wstring text);

// The reason message of a result code (0 for kFieldValid).
UINT FieldCheckMessage(int code);
