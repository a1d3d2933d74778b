// The guide's command line: raw blank count and the start mode.
#include "guide/CommandLine.h"
#include "afx/MessageBox.h"
#include "resources/marrowick/resource.h"
#include <cwchar>

std::wstring CommandLineTail(const wchar_t* full)
{
    if (!full)
        return std::wstring();
    const wchar_t* p = full;
    if (*p == L'"') {
        const wchar_t* close = std::wcschr(p + 1, L'"');
        p = close ? close + 1 : p + std::wcslen(p);
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    if (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

int CountBlankRounds(const std::wstring& text)
{
    std::wstring rest = text;
    int count = 0;
    for (int round = 0; round < 2 && !rest.empty(); ++round) {
        size_t blank = rest.find(L' ');
        if (blank == std::wstring::npos || blank == 0)
            break;
        rest = rest.substr(blank + 1);
        ++count;
    }
    return count;
}

void CPellgroveCommandLineInfo::ParseParam(const wchar_t* param, bool flag, bool last)
{
    afx::CCommandLineInfo::ParseParam(param, flag, last);
    if (!flag && last)
        std::swscanf(param, L"%1d", &m_nStartMode);
    if (m_nStartMode > 1) {
        afx::AfxMessageBox(IDS_STARTUP_FAILURE);
        ::ExitProcess(0);
    }
}
