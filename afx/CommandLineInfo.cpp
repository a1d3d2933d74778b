// The framework's command-line parse: C-runtime argument splitting, flags marked by '-' or '/'.
#include "afx/CommandLineInfo.h"
#include <windows.h>
#include <shellapi.h>

namespace afx {

void ParseCommandLine(CCommandLineInfo& info, const wchar_t* commandLine)
{
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(commandLine ? commandLine : L"", &count);
    if (!args)
        return;
    for (int i = 1; i < count; ++i) {
        const wchar_t* p = args[i];
        bool flag = p[0] == L'-' || p[0] == L'/';
        info.ParseParam(flag ? p + 1 : p, flag, i + 1 == count);
    }
    ::LocalFree(args);
}

}  // namespace afx
