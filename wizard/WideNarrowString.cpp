// Conversions between the ANSI code page of the user's locale and wide text.
#include "wizard/WideNarrowString.h"

#include <windows.h>
#include <clocale>
#include <cstring>
#include <vector>

namespace {

void UseUserLocale() { setlocale(LC_ALL, ""); }

bool ToWide(const char* text, int length, std::wstring& out)
{
    if (length == 0) {
        out.clear();
        return true;
    }
    int n = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (n <= 0) return false;
    std::vector<wchar_t> buffer(n);
    if (MultiByteToWideChar(CP_ACP, 0, text, length, buffer.data(), n) != n) return false;
    out.assign(buffer.data(), n);
    return true;
}

}  // namespace

CWideNarrowString::CWideNarrowString(const char* ansi)
    : CWideNarrowString(ansi, ansi ? std::strlen(ansi) : 0)
{
}

CWideNarrowString::CWideNarrowString(const char* ansi, size_t max)
{
    UseUserLocale();
    if (!ansi) return;
    size_t length = strnlen(ansi, max);
    std::wstring wide;
    if (ToWide(ansi, static_cast<int>(length), wide)) m_wide = wide;
}

const std::string& CWideNarrowString::Narrow()
{
    UseUserLocale();
    if (m_wide.empty()) {
        m_narrow.clear();
        return m_narrow;
    }
    int length = static_cast<int>(m_wide.size());
    int n = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, m_wide.data(), length, nullptr, 0,
                                nullptr, nullptr);
    if (n <= 0) return m_narrow;
    std::vector<char> buffer(n);
    if (WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, m_wide.data(), length, buffer.data(), n,
                            nullptr, nullptr) == n)
        m_narrow.assign(buffer.data(), n);
    return m_narrow;
}
