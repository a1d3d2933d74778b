// Runs one support-file installer with the wizard's own fatal exit, for the exit tests:
// install_runner finder|guide PROGRAM_FOLDER SUPPORT_FOLDER PRODUCT_ICON (folders without a final backslash),
// or install_runner finder|guide|launch none|empty|refused FOLDER: the wizard's own installers, or its
// guide launch, in FOLDER made current, while the shell knows no special folder, gives an empty one
// or gives FOLDER, where no support folder can be made. Exit code 3: the folder could not
// be made current or the shell still gave its own folder, and nothing ran.
#include "tests/completion/ShellFolderStandIn.h"
#include "wizard/PellgroveApp.h"
#include "wizard/PellgroveDialog_Main.h"
#include "wizard/SupportFiles.h"
#include <winternl.h>
#include <shellapi.h>

static BOOL WINAPI CurrentFolder(HWND, LPWSTR path, int, BOOL) { return ::GetCurrentDirectoryW(MAX_PATH, path) != 0; }
static NTSTATUS NTAPI Refuse(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG)
{
    return NTSTATUS(0xC0000022L);  // access denied
}

int main()
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argc != 5 && argc != 4)
        return 2;
    ProductConfig& config = g_productConfig;
    CopyConfigText(config.ProductIcon, argc == 5 ? argv[4] : L"Dorvane.ico");
    // Without a folder of its own the finder has nothing to copy: its refusal is the folder's.
    config.ProductIconFlag = argc == 5;
    CopyConfigText(config.GuideFolderPath, L"Guide");
    CopyConfigText(config.Guide_File, L"Marrowick.exe");
    const bool finder = std::wstring(argv[1]) == L"finder";
    if (argc == 4) {
        const std::wstring mode = argv[2];
        ShellFolderStandIn shell(mode == L"empty" ? &EmptyShellFolder : mode == L"refused" ? &CurrentFolder : &NoShellFolder);
        ImportStandIn security(L"ntdll.dll", "NtCreateFile", &Refuse);
        if (!::SetCurrentDirectoryW(argv[3]) || !security.Patched() || !(mode == L"refused" ? shell.Patched() : shell.Active()))
            return 3;
        CPellgroveApp app;
        wchar_t folder[MAX_PATH] = {}, finderPath[MAX_PATH] = {};
        if (std::wstring(argv[1]) == L"launch")
            CPellgroveDialog_Main(nullptr).LaunchGuide();
        else
            finder ? app.InstallFinderFiles(folder, finderPath) : app.InstallGuideFiles(folder);
        return 0;
    }
    SupportInstall in{std::wstring(argv[2]) + L"\\", argv[3], L"Lorrick.exe", &CPellgroveApp::FatalMissingFiles,
                      &FatalUnsafeSupportFolder};
    CFileOperation op;
    finder ? (void)InstallFinderFilesTo(in, config) : InstallGuideFilesTo(in, config, op);
    return 0;
}
