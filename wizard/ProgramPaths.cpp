// The wizard's paths derived from its own file name.
#include "wizard/ProgramPaths.h"
#include "wizard/SupportFiles.h"

#include <windows.h>
#include <shlobj.h>

void ProgramPaths::SetFromProgramPath(const std::wstring& programPath)
{
    fullPath = programPath;
    size_t first = fullPath.find(L'\\');
    size_t last = fullPath.rfind(L'\\');
    pathBelowRoot = first == std::wstring::npos ? fullPath : fullPath.substr(first + 1);
    folder = last == std::wstring::npos ? std::wstring() : fullPath.substr(0, last + 1);
    fileName = last == std::wstring::npos ? fullPath : fullPath.substr(last + 1);
    size_t rootEnd = folder.find(L'\\');
    driveRoot = rootEnd == std::wstring::npos ? std::wstring() : folder.substr(0, rootEnd + 1);
    size_t dot = fileName.rfind(L'.');
    baseName = dot == std::wstring::npos ? fileName : fileName.substr(0, dot);
    settingsFileName = baseName + L".ini";
    settingsFilePath = driveRoot + settingsFileName;
}

int ProgramPaths::Init()
{
    wchar_t path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    SetFromProgramPath(std::wstring(path, length < MAX_PATH ? length : MAX_PATH));
    std::wstring common = ShellFolder(CSIDL_COMMON_APPDATA);
    commonProductFolder = common.empty() ? common : common + L"\\Ostrand\\Pellgrove\\";
    return common.empty() ? 0 : 1;
}
