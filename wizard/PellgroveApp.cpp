// The setup wizard's application object: language, single instance, configuration, main menu.
#include "wizard/PellgroveApp.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "frame/Directory.h"
#include "wizard/PellgroveDialog_Main.h"
#include "wizard/SupportFiles.h"
#include "wizard/SupportFolderSecurity.h"
#include "frame/UiLanguage.h"
#include "resources/pellgrove/resource.h"

ProductConfig g_productConfig;

CPellgroveApp::CPellgroveApp() = default;

CPellgroveApp& GetPellgroveApp()
{
    return *static_cast<CPellgroveApp*>(afx::AfxGetApp());
}

void CPellgroveApp::LanguageFor(LANGID uiLanguage, LANGID& locale, UINT& sectionStringId)
{
    switch (uiLanguage) {
    case 1028: locale = 1028; sectionStringId = IDS_SECTION_TRADITIONAL_CHINESE; break;
    case 1041: locale = 1041; sectionStringId = IDS_SECTION_JAPANESE; break;
    case 2052: locale = 2052; sectionStringId = IDS_SECTION_SIMPLIFIED_CHINESE; break;
    default: locale = 1033; sectionStringId = IDS_SECTION_ENGLISH; break;
    }
}

int CPellgroveApp::MakeDirectory(const wchar_t* path) { return ::MakeDirectory(path); }

void CPellgroveApp::FatalMissingFiles()
{
    afx::AfxMessageBox(IDS_INTERNAL_ERROR, MB_OK | MB_SETFOREGROUND);
    ::ExitProcess(1);
}

// Drive and folder of a path, ending in its last backslash.
static std::wstring FolderOf(const std::wstring& path)
{
    size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

// "X:\..." and nothing else: not a UNC or device path.
static bool HasDriveLetter(const std::wstring& path)
{
    return path.size() > 2 && path[1] == L':' && path[2] == L'\\' && (path[0] | 0x20) >= L'a' &&
           (path[0] | 0x20) <= L'z';
}

bool CPellgroveApp::InitInstance()
{
    LANGID locale;
    UINT sectionId;
    LanguageFor(GetUILanguage(), locale, sectionId);
    ::SetThreadLocale(MAKELCID(locale, SORT_DEFAULT));
    afx::SetResourceLanguage(locale);
    std::wstring langSection = afx::LoadStr(sectionId);

    m_wizardMutex = std::make_unique<afx::CNamedMutex>(afx::LoadStr(IDS_MUTEX_WIZARD).c_str(), true);
    if (m_wizardMutex->AlreadyExisted())
        return false;
    m_guideMutex = std::make_unique<afx::CNamedMutex>(afx::LoadStr(IDS_MUTEX_GUIDE).c_str(), true);
    if (m_guideMutex->AlreadyExisted())
        return false;

    std::wstring modulePath = ModulePath();
    if (!modulePath.empty())
        m_versionInfo.Read(modulePath.c_str());

    m_pIniFile = std::make_unique<CIniFile>();
    m_strBaseName = ProgramBaseName();
    std::wstring datPath;
    m_pIniFile->BuildPath(datPath, (m_strBaseName + L".dat").c_str());
    m_pIniFile->SetPath(datPath);
    m_pIniFile->ReadSection(m_mapBase, m_strBaseName.c_str());
    m_pIniFile->ReadSection(m_mapLang, langSection.c_str());

    modulePath = ModulePath();
    if (modulePath.empty())
        afx::MessageBoxRes(IDS_MODULE_PATH_FAILURE, IDS_ERROR);
    // A folder that does not fit the field is left empty rather than cut into another path.
    std::wstring programFolder = FolderOf(modulePath);
    CopyConfigText(g_productConfig.ProgramFolder,
                   programFolder.size() < kConfigTextSize ? programFolder : std::wstring());
    // The settings file, the autorun file and the firmware go to the root of the program's
    // drive: a folder without a drive letter (\\server\share\) has none, and its first
    // backslash would name the root of the current drive instead.
    if (!modulePath.empty() && !HasDriveLetter(modulePath)) {
        afx::MessageBoxRes(IDS_NO_DRIVE_LETTER, IDS_ERROR, MB_OK | MB_SETFOREGROUND);
        return false;
    }
    // Made closed to other accounts from the start when it is missing; an existing one is left
    // as it is, since the first installer makes it anew.
    m_strSupportFolder = SupportFolderPath();
    if (!m_strSupportFolder.empty())
        MakeSupportFolderIfMissing(m_strSupportFolder);

    m_strTitle = m_versionInfo.FileDescription;
    bool usbMode = m_strBaseName == L"PellgroveUSB";
    if (usbMode)
        m_strTitle += afx::LoadStr(IDS_TITLE_USB_SUFFIX);

    if (!ReadProductConfig(g_productConfig, m_mapBase, m_mapLang, usbMode)) {
        afx::MessageBoxRes(usbMode ? IDS_USB_DAT_MISSING : IDS_DAT_MISSING, IDS_ERROR, MB_OK | MB_SETFOREGROUND);
        return false;
    }

    {
        CPellgroveDialog_Main menu(nullptr);
        m_pMainWnd = &menu;
        menu.DoModal();
        m_pMainWnd = nullptr;
    }
    m_pIniFile.reset();
    return false;
}
