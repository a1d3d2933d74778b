// Text carried between the ANSI structures of the network functions and the wide program.
#pragma once
#include <string>

class CWideNarrowString {
public:
    CWideNarrowString() = default;
    explicit CWideNarrowString(const std::wstring& wide) : m_wide(wide) {}
    // ANSI code page text of the user's locale; the wide member stays empty when it does not convert.
    explicit CWideNarrowString(const char* ansi);
    // ANSI text of at most max bytes, for fixed-size fields that may lack their terminator.
    CWideNarrowString(const char* ansi, size_t max);

    const std::wstring& Wide() const { return m_wide; }
    // The wide text in the ANSI code page; a text that does not convert keeps the earlier value.
    const std::string& Narrow();

private:
    std::wstring m_wide;
    std::string m_narrow;
};
