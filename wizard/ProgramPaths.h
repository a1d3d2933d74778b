// The paths the wizard derives from its own file name: settings file, drive root, product folder.
#pragma once
#include <string>

class ProgramPaths {
public:
    // Fills every field from GetModuleFileNameW; 0 when the common application-data folder is
    // unknown (commonProductFolder stays empty), else 1.
    int Init();
    // The fields of a program started as programPath (X:\setup\Pellgrove.exe).
    void SetFromProgramPath(const std::wstring& programPath);

    std::wstring fullPath;          // X:\setup\Pellgrove.exe
    std::wstring pathBelowRoot;     // setup\Pellgrove.exe
    std::wstring folder;            // X:\setup\  .
    std::wstring fileName;          // Pellgrove.exe
    std::wstring driveRoot;         // X:\  .
    std::wstring settingsFilePath;  // X:\Pellgrove.ini
    std::wstring settingsFileName;  // Pellgrove.ini
    std::wstring baseName;          // Pellgrove
    std::wstring commonProductFolder;  // (common application data)\Ostrand\Pellgrove\  .
};
