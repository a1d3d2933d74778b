// Copies what the shortcuts and the guide need from the medium into the support folder.
#pragma once
#include "frame/FileOperation.h"
#include "wizard/ProductConfig.h"
#include <string>

// Called when a source that an installer tests is missing; the wizard's handler ends the process.
using MissingFilesHandler = void (*)();
// Called with the support folder when it cannot be made safe, or a file in it cannot be removed
// or copied; the wizard's handler ends the process.
using RefusedHandler = void (*)(const std::wstring& supportFolder);

// Without a support folder of its own the kit cannot run its programs safely:
// IDS_SUPPORT_FOLDER_UNKNOWN in a foreground box, then exit code 1.
[[noreturn]] void FatalNoSupportFolder();
// The support folder is there but cannot be made to hold only the kit's own files:
// IDS_SUPPORT_FOLDER_UNSAFE with its path in a foreground box, then exit code 1.
[[noreturn]] void FatalUnsafeSupportFolder(const std::wstring& supportFolder);

// Where the installers copy from and to.
struct SupportInstall {
    std::wstring programFolder;  // drive and folder of the program, ending in a backslash
    std::wstring supportFolder;  // ...\Ostrand\Pellgrove, no trailing backslash
    std::wstring finderName;     // "Lorrick.exe"
    MissingFilesHandler missing;
    RefusedHandler refused;  // nothing may be copied into the support folder, nor started from it
};

// A special folder of the shell (CSIDL_...), or empty when the shell cannot give it: a folder
// it reports as found but empty would turn every path below it into one on the current drive.
std::wstring ShellFolder(int csidl);
// The common application-data folder followed by \Ostrand\Pellgrove; empty when the shell
// does not know that folder.
std::wstring SupportFolderPath();
// What separates the folders of a configured path: the system's own path functions take both.
constexpr wchar_t kPathSeparators[] = L"\\/";
// The text after the last separator (the whole text when there is none).
std::wstring FilePart(const std::wstring& path);
// The text up to and including the last separator (empty when there is none).
std::wstring FolderPart(const std::wstring& path);
// Whether the text names one file in a folder: not empty, not "." or "..", and without
// separators, drive or stream colons, wildcards or other characters file names cannot hold,
// nor a final dot or blank, which the system drops (the file would get another name).
bool IsPlainFileName(const std::wstring& name);

// The first installer of a run checks that the medium holds every file it is to copy, then
// makes the support folder anew (SupportFiles.cpp says how) and holds it until the guide has
// started; later installers go on there while its name still leads to it. A support folder that
// cannot be made anew is refused before anything in it changes, and so is every copy that fails.
// The product icon with the finder program and library beside it (only when the icon is
// configured), then the web-setting and remote-access icons. Gives the installed finder's
// path, or empty when the product icon is not configured.
std::wstring InstallFinderFilesTo(const SupportInstall& in, const ProductConfig& config);
// The other files into the support folder, the other folder into "Other", and the guide
// folder as a fresh "Guide".
void InstallGuideFilesTo(const SupportInstall& in, const ProductConfig& config, CFileOperation& op);
// Whether an installer of this run made the support folder and its name still leads there: the
// guide starts from nowhere else.
bool SupportFolderStillHeld(const std::wstring& supportFolder);
// Lets go of the folder once the guide has started; the next installer makes it anew.
void ReleaseSupportFolder(const std::wstring& supportFolder);
