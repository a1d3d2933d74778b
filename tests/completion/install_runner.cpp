// Runs one support-file installer with the wizard's own fatal exit, for the exit tests:
// install_runner finder|guide PROGRAM_FOLDER SUPPORT_FOLDER PRODUCT_ICON (folders without a final backslash)
#include "wizard/PellgroveApp.h"
#include "wizard/SupportFiles.h"
#include <shellapi.h>

int main()
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argc != 5)
        return 2;
    ProductConfig config{};
    CopyConfigText(config.ProductIcon, argv[4]);
    config.ProductIconFlag = 1;
    CopyConfigText(config.GuideFolderPath, L"Guide");
    SupportInstall in{std::wstring(argv[2]) + L"\\", argv[3], L"Lorrick.exe", &CPellgroveApp::FatalMissingFiles};
    CFileOperation op;
    if (std::wstring(argv[1]) == L"finder")
        InstallFinderFilesTo(in, config);
    else
        InstallGuideFilesTo(in, config, op);
    return 0;
}
