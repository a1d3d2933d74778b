// The real Pellgrove.exe started from the root of the drive the sample medium is mapped to.
#include "tests/support/ProgramRun.h"
#include "afx/ResourceLanguage.h"
#include "frame/UiLanguage.h"
#include "resources/pellgrove/resource.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <memory>

namespace {

// The root of the medium drive ("P:\\"), empty when not mapped.
std::wstring MediumRoot()
{
    const wchar_t* drive = _wgetenv(L"KIT_MEDIUM_DRIVE");
    return drive && *drive ? std::wstring(drive) + L"\\" : std::wstring();
}

// Empties the medium root and copies the wizard onto it under `exeName`.
bool PrepareMedium(const std::wstring& exeName)
{
    std::wstring root = MediumRoot();
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((root + L"*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name != L"." && name != L"..") {
                ::SetFileAttributesW((root + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                RemoveTree(root + name);
            }
        } while (::FindNextFileW(find, &fd));
        ::FindClose(find);
    }
    return ::CopyFileW((OwnFolder() + L"Pellgrove.exe").c_str(), (root + exeName).c_str(), FALSE) != FALSE;
}

// Copies a file of the repository's sample medium (seen through Wine's Z: drive) onto the medium.
bool CopySampleFile(const std::wstring& name)
{
    const wchar_t* src = _wgetenv(L"KIT_SOURCE_DIR");
    if (!src)
        return false;
    std::wstring from = std::wstring(L"Z:") + src + L"/samples/medium/" + name;
    for (wchar_t& c : from)
        if (c == L'/')
            c = L'\\';
    return ::CopyFileW(from.c_str(), (MediumRoot() + name).c_str(), FALSE) != FALSE;
}

bool WriteMediumFile(const std::wstring& name, const std::wstring& text)
{
    return WriteBytes(MediumRoot() + name, Utf16Bytes(text, true));
}

// The wizard started from the medium root, with the root as working folder.
class WizardProcess {
public:
    bool Start(const std::wstring& exe)
    {
        m_run.reset(new ProgramRun(MediumRoot() + exe, L"", MediumRoot()));
        return m_run->Started();
    }
    HWND WaitForWindow() const { return m_run->WaitWindow(); }
    bool EndsWithoutWindow() const { return m_run->EndsWithoutWindow(); }
    DWORD WaitExit(DWORD ms = 15000) const { return m_run->WaitExit(ms); }

private:
    std::unique_ptr<ProgramRun> m_run;
};

const wchar_t kConfigWithModel[] =
    L"[Pellgrove]\r\nModel=DV-N210\r\nDorvane=base section\r\n"
    L"[EnglishUS]\r\nDorvane=English section\r\n"
    L"[TraditionalChinese]\r\nDorvane=Traditional Chinese section\r\n"
    L"[SimplifiedChinese]\r\nDorvane=Simplified Chinese section\r\n";

// The language this process runs in; the wizard it starts inherits the same environment.
LANGID ExpectedLanguage() { return FoldUILanguage(::GetUserDefaultUILanguage()); }

std::wstring SupportFolder()
{
    wchar_t appData[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, appData, CSIDL_COMMON_APPDATA, FALSE);
    return std::wstring(appData) + L"\\Ostrand\\Pellgrove";
}

class Wizard : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (MediumRoot().empty())
            GTEST_SKIP() << "KIT_MEDIUM_DRIVE is not set (tools/test.sh maps the medium)";
        // The locale runs say which language they must end up in, so a locale that Wine
        // ignored cannot pass as English.
        if (const wchar_t* lang = _wgetenv(L"KIT_EXPECT_LANGUAGE")) {
            ASSERT_EQ(ExpectedLanguage(), LANGID(_wtoi(lang)));
        }
    }
    // The wizard's main window after a start with `config` as "<base name>.dat".
    HWND StartWithConfig(WizardProcess& p, const std::wstring& exe, const std::wstring& dat,
                         const std::wstring& config)
    {
        EXPECT_TRUE(PrepareMedium(exe));
        if (!config.empty()) {
            EXPECT_TRUE(WriteMediumFile(dat, config));
        }
        EXPECT_TRUE(p.Start(exe));
        return p.WaitForWindow();
    }
    static void Close(WizardProcess& p, HWND window)
    {
        Press(window, IDOK);
        EXPECT_EQ(p.WaitExit(), 0u);
    }
    // Checks the foreground message box of a failed start, presses OK and sees the process end.
    static void ExpectStartFailure(WizardProcess& p, UINT textId)
    {
        HWND box = p.WaitForWindow();
        ASSERT_NE(box, nullptr);
        LANGID lang = ExpectedLanguage();
        EXPECT_EQ(WindowText(box), afx::LoadStrLang(IDS_ERROR, lang));
        EXPECT_EQ(ItemText(box, 0xFFFF), afx::LoadStrLang(textId, lang));
        if (lang == 1033) {
            EXPECT_EQ(ItemText(box, 0xFFFF),
                      textId == IDS_DAT_MISSING ? L"Pellgrove.dat does not exist." : L"PellgroveUSB.dat does not exist.");
        }
        Press(box, IDOK);
        EXPECT_EQ(p.WaitExit(), 0u);
    }
};

using Startup = Wizard;
using SingleInstance = Wizard;
using MissingModel = Wizard;
using Language = Wizard;

}  // namespace

TEST_F(Startup, TheSampleMediumStartsTheWizardAndCreatesTheSupportFolder)
{
    ASSERT_TRUE(RemoveTree(SupportFolder()));
    ASSERT_TRUE(PrepareMedium(L"Pellgrove.exe"));
    ASSERT_TRUE(CopySampleFile(L"Pellgrove.dat"));
    ASSERT_TRUE(CopySampleFile(L"Pellgrove.ini"));
    WizardProcess p;
    ASSERT_TRUE(p.Start(L"Pellgrove.exe"));
    HWND main = p.WaitForWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Pellgrove");
    EXPECT_NE(ItemText(main, IDC_MAIN_PRODUCT).find(L"DV-N210"), std::wstring::npos);
    EXPECT_TRUE(FolderExists(SupportFolder()));
    Close(p, main);
}

TEST_F(Startup, OnlyTheExactUsbNameSwitchesToUsbMode)
{
    WizardProcess usb;
    HWND main = StartWithConfig(usb, L"PellgroveUSB.exe", L"PellgroveUSB.dat",
                                L"[PellgroveUSB]\r\nModel=DV-N210\r\n");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Pellgrove on USB");
    Close(usb, main);

    // Another letter case is normal mode; its configuration file is still found by name.
    WizardProcess lower;
    main = StartWithConfig(lower, L"pellgroveUSB.exe", L"pellgroveUSB.dat",
                           L"[pellgroveUSB]\r\nModel=DV-N210\r\n");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Pellgrove");
    Close(lower, main);
}

TEST_F(SingleInstance, ASecondCopyEndsSilentlyWhileTheFirstShowsItsWindow)
{
    WizardProcess first;
    HWND main = StartWithConfig(first, L"Pellgrove.exe", L"Pellgrove.dat", kConfigWithModel);
    ASSERT_NE(main, nullptr);
    WizardProcess second;
    ASSERT_TRUE(second.Start(L"Pellgrove.exe"));
    EXPECT_TRUE(second.EndsWithoutWindow());
    EXPECT_EQ(second.WaitExit(0), 0u);
    EXPECT_EQ(first.WaitExit(0), STILL_ACTIVE);
    EXPECT_TRUE(::IsWindowVisible(main));
    Close(first, main);
}

TEST_F(SingleInstance, TheGuideNameBlocksButTheGuidesOwnMutexDoesNot)
{
    HANDLE guide = ::CreateMutexW(nullptr, TRUE, L"Marrowick");
    ASSERT_NE(guide, nullptr);
    {
        WizardProcess p;
        ASSERT_TRUE(PrepareMedium(L"Pellgrove.exe"));
        ASSERT_TRUE(WriteMediumFile(L"Pellgrove.dat", kConfigWithModel));
        ASSERT_TRUE(p.Start(L"Pellgrove.exe"));
        EXPECT_TRUE(p.EndsWithoutWindow());
    }
    ::CloseHandle(guide);

    HANDLE guideExe = ::CreateMutexW(nullptr, TRUE, L"Marrowick.exe");
    WizardProcess p;
    ASSERT_TRUE(p.Start(L"Pellgrove.exe"));
    HWND main = p.WaitForWindow();
    EXPECT_NE(main, nullptr);
    if (main)
        Close(p, main);
    ::CloseHandle(guideExe);
}

TEST_F(MissingModel, NormalModeShowsItsMessageAndEnds)
{
    ASSERT_TRUE(RemoveTree(SupportFolder()));
    WizardProcess p;
    ASSERT_TRUE(PrepareMedium(L"Pellgrove.exe"));
    ASSERT_TRUE(WriteMediumFile(L"Pellgrove.dat", L"[Pellgrove]\r\nDorvane=no model\r\n[EnglishUS]\r\nModel=DV-N210\r\n"));
    ASSERT_TRUE(p.Start(L"Pellgrove.exe"));
    ExpectStartFailure(p, IDS_DAT_MISSING);
    EXPECT_TRUE(FolderExists(SupportFolder())) << "made before the configuration is checked";
}

TEST_F(MissingModel, AMissingFileCountsAsMissingModelInBothModes)
{
    {
        WizardProcess p;
        ASSERT_TRUE(PrepareMedium(L"PellgroveUSB.exe"));
        ASSERT_TRUE(CopySampleFile(L"Pellgrove.dat"));  // not the USB file
        ASSERT_TRUE(p.Start(L"PellgroveUSB.exe"));
        ExpectStartFailure(p, IDS_USB_DAT_MISSING);
    }
    WizardProcess p;
    ASSERT_TRUE(PrepareMedium(L"pellgroveUSB.exe"));
    ASSERT_TRUE(p.Start(L"pellgroveUSB.exe"));
    ExpectStartFailure(p, IDS_DAT_MISSING);
}

// An empty language value keeping the base one is a rule of the product configuration, tested there.
TEST_F(Language, TheLanguageSectionFollowsTheUiLanguage)
{
    WizardProcess p;
    HWND main = StartWithConfig(p, L"Pellgrove.exe", L"Pellgrove.dat", kConfigWithModel);
    ASSERT_NE(main, nullptr);
    const wchar_t* expected = L"English section";
    switch (ExpectedLanguage()) {
    case 1028: expected = L"Traditional Chinese section"; break;
    case 2052: expected = L"Simplified Chinese section"; break;
    case 1041: expected = L"base section"; break;  // "pellgrove" is the base section itself
    }
    EXPECT_EQ(ItemText(main, IDC_MAIN_PRODUCT).rfind(expected, 0), 0u)
        << "language " << ExpectedLanguage();
    Close(p, main);
}
