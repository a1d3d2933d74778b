// Screenshots of a window as the screen shows it, saved as BMP under the build folder.
#include "tests/support/Screenshot.h"
#include "tests/support/ProgramRun.h"
#include <algorithm>

bool SaveWindowShot(HWND window, const std::wstring& name)
{
    const wchar_t* build = _wgetenv(L"KIT_BUILD_DIR");
    if (!build)
        return false;
    std::wstring folder = L"Z:" + std::wstring(build) + L"\\screens";
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    ::CreateDirectoryW(folder.c_str(), nullptr);
    // Tests running beside this one show windows on the same display: the writer raises it.
    return SaveWindowBmp(window, folder + L"\\" + name + L".bmp");
}
