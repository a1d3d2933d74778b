// Runs one support-file installer with the wizard's own fatal exit, for the exit tests:
// install_runner finder|guide PROGRAM_FOLDER SUPPORT_FOLDER PRODUCT_ICON (folders without a final backslash),
// or install_runner finder|guide: the wizard's own installers while the shell knows no special folder.
#include "wizard/PellgroveApp.h"
#include "wizard/SupportFiles.h"
#include <shellapi.h>

namespace {

BOOL WINAPI NoSpecialFolder(HWND, LPWSTR, int, BOOL) { return FALSE; }

// Points this program's import of SHGetSpecialFolderPathW at NoSpecialFolder.
void HideSpecialFolders()
{
    auto base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    auto real = reinterpret_cast<ULONG_PTR>(::GetProcAddress(::LoadLibraryW(L"shell32.dll"), "SHGetSpecialFolderPathW"));
    for (; dll->Name; ++dll)
        for (auto slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk); slot->u1.Function; ++slot)
            if (DWORD old; slot->u1.Function == real && ::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old))
                slot->u1.Function = reinterpret_cast<ULONG_PTR>(&NoSpecialFolder);
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argc != 5 && argc != 2)
        return 2;
    ProductConfig& config = g_productConfig;
    CopyConfigText(config.ProductIcon, argc == 5 ? argv[4] : L"Dorvane.ico");
    config.ProductIconFlag = 1;
    CopyConfigText(config.GuideFolderPath, L"Guide");
    const bool finder = std::wstring(argv[1]) == L"finder";
    if (argc == 2) {
        HideSpecialFolders();
        CPellgroveApp app;
        wchar_t folder[MAX_PATH] = {}, finderPath[MAX_PATH] = {};
        finder ? app.InstallFinderFiles(folder, finderPath) : app.InstallGuideFiles(folder);
        return 0;
    }
    SupportInstall in{std::wstring(argv[2]) + L"\\", argv[3], L"Lorrick.exe", &CPellgroveApp::FatalMissingFiles};
    CFileOperation op;
    finder ? (void)InstallFinderFilesTo(in, config) : InstallGuideFilesTo(in, config, op);
    return 0;
}
