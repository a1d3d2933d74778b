// The setup wizard's application object: language, single instance, configuration, main menu.
#pragma once
#include "afx/NamedMutex.h"
#include "afx/WinApp.h"
#include "frame/FileOperation.h"
#include "frame/IniFile.h"
#include "wizard/ProductConfig.h"
#include "frame/VersionInfoReader.h"
#include <memory>
#include <string>

// The product configuration of this run, filled by the start-up and read-only afterwards.
extern ProductConfig g_productConfig;

class CPellgroveApp : public afx::CWinApp {
public:
    CPellgroveApp();

    bool InitInstance() override;

    // Thread locale and language-section string for a UI language (already folded).
    static void LanguageFor(LANGID uiLanguage, LANGID& locale, UINT& sectionStringId);

    static int MakeDirectory(const wchar_t* path);
    // String 42 in a foreground box, then exit code 1.
    [[noreturn]] static void FatalMissingFiles();
    static int IsOn(const std::wstring& value) { return ::IsOn(value); }
    void LoadFirmwareList() { ::LoadFirmwareList(g_productConfig, m_mapBase); }
    // The support-file installers (SupportFiles.h); each fills the caller's MAX_PATH buffers:
    // the support folder, and the installed finder's path when the product icon is configured.
    // When the shell does not know the support folder, or it cannot be made anew for this run,
    // they copy nothing and end the process with exit code 1 after their message.
    void InstallFinderFiles(wchar_t* folder, wchar_t* finderPath);
    void InstallGuideFiles(wchar_t* folder);

    CFileOperation m_fileOperation;
    CVersionInfoReader m_versionInfo;
    std::wstring m_strTitle;
    ConfigMap m_mapBase;
    ConfigMap m_mapLang;
    std::wstring m_strBaseName;
    std::unique_ptr<CIniFile> m_pIniFile;
    // Ostrand\Pellgrove under the common application-data folder.
    std::wstring m_strSupportFolder;

private:
    // Held until the program ends; a copy that finds either one already made ends silently.
    std::unique_ptr<afx::CNamedMutex> m_wizardMutex;
    std::unique_ptr<afx::CNamedMutex> m_guideMutex;
};

// The one application object of Pellgrove.exe.
CPellgroveApp& GetPellgroveApp();
