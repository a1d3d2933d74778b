// The real Pellgrove.exe started from the root of the drive the sample medium is mapped to.
#include "tests/completion/OwnShare.h"
#include "tests/completion/ShellFolderStandIn.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/Screenshot.h"
#include "afx/ResourceLanguage.h"
#include "frame/UiLanguage.h"
#include "resources/pellgrove/resource.h"
#include "wizard/DeviceSettings.h"
#include "wizard/PageControls.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

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
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(MediumRoot(), error)) {
        ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveTree(entry.path().wstring());
    }
    return ::CopyFileW((OwnFolder() + L"Pellgrove.exe").c_str(), (MediumRoot() + exeName).c_str(), FALSE) != FALSE;
}

// Copies a file of the repository's sample medium (seen through Wine's Z: drive) onto the medium.
bool CopySampleFile(const std::wstring& name)
{
    const wchar_t* src = _wgetenv(L"KIT_SOURCE_DIR");
    std::wstring from = std::wstring(L"Z:") + (src ? src : L"") + L"/samples/medium/" + name;
    std::replace(from.begin(), from.end(), L'/', L'\\');
    return src && ::CopyFileW(from.c_str(), (MediumRoot() + name).c_str(), FALSE) != FALSE;
}

// The wizard started from the medium root (or a folder on it), with that folder as working folder.
struct WizardProcess : std::unique_ptr<ProgramRun> {
    bool Start(const std::wstring& exe, const EnvVars& env = {})
    {
        std::wstring path = MediumRoot() + exe;
        reset(new ProgramRun(path, L"", path.substr(0, path.find_last_of(L'\\') + 1), env));
        return get()->Started();
    }
    // Presses `button` on a window and waits for the first visible dialog of the wizard that has
    // the control `id`.
    HWND PressFor(HWND window, int button, int id) const
    {
        Press(window, button);
        return get()->WaitWindow([id](HWND w) { return ::IsWindowVisible(w) && ::GetDlgItem(w, id); });
    }
};

const wchar_t kConfigWithModel[] =
    L"[Pellgrove]\r\nModel=DV-N210\r\nDorvane=base section\r\n"
    L"[EnglishUS]\r\nDorvane=English section\r\n"
    L"[TraditionalChinese]\r\nDorvane=Traditional Chinese section\r\n"
    L"[SimplifiedChinese]\r\nDorvane=Simplified Chinese section\r\n";

// The language this process runs in; the wizard it starts inherits the same environment.
LANGID ExpectedLanguage() { return FoldUILanguage(::GetUserDefaultUILanguage()); }

// A special folder of the shell; empty when the shell cannot say where it is.
std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE))
        return std::wstring();
    return path;
}

// The wizard's support folder; empty when the common application-data folder is not known, for
// its bare tail would be a folder in the root of the current drive.
std::wstring SupportFolder()
{
    const std::wstring common = ShellFolder(CSIDL_COMMON_APPDATA);
    return common.empty() ? common : common + L"\\Ostrand\\Pellgrove";
}

// Removes the support folder before a run; a failed lookup fails the test and removes nothing.
::testing::AssertionResult RemoveSupportFolder()
{
    const std::wstring folder = SupportFolder();
    if (folder.empty())
        return ::testing::AssertionFailure() << "the shell names no common application-data folder";
    if (!RemoveTree(folder))
        return ::testing::AssertionFailure() << "cannot remove the support folder";
    return ::testing::AssertionSuccess();
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
    // The wizard's main window after a start with the sample medium's `samples` and `config` as
    // "<base name>.dat".
    HWND StartWithConfig(WizardProcess& p, const std::wstring& exe, const std::wstring& dat,
                         const std::wstring& config, std::initializer_list<const wchar_t*> samples = {})
    {
        EXPECT_TRUE(PrepareMedium(exe));
        for (const wchar_t* f : samples) EXPECT_TRUE(CopySampleFile(f)) << f;
        EXPECT_TRUE(config.empty() || WriteBytes(MediumRoot() + dat, Utf16Bytes(config, true)));
        EXPECT_TRUE(p.Start(exe));
        return p->WaitWindow();
    }
    static void Close(WizardProcess& p, HWND window)
    {
        Press(window, IDOK);
        EXPECT_EQ(p->WaitExit(), 0u);
    }
    // Checks the foreground message box of a failed start, presses OK and sees the process end.
    static void ExpectStartFailure(WizardProcess& p, HWND box, UINT textId)
    {
        ASSERT_NE(box, nullptr);
        LANGID lang = ExpectedLanguage();
        EXPECT_EQ(WindowText(box), afx::LoadStrLang(IDS_ERROR, lang));
        EXPECT_EQ(ItemText(box, 0xFFFF), afx::LoadStrLang(textId, lang));
        EXPECT_TRUE(lang != 1033 || ItemText(box, 0xFFFF) == (textId == IDS_DAT_MISSING ? L"Pellgrove.dat does not exist."
                                                                                        : L"PellgroveUSB.dat does not exist."));
        Press(box, IDOK);
        EXPECT_EQ(p->WaitExit(), 0u);
    }
};

using Startup = Wizard;
using SingleInstance = Wizard;
using MissingModel = Wizard;
using Language = Wizard;

}  // namespace

// Where the shell cannot name the common application-data folder, the removal before a run fails
// and leaves the same names in the root of the current drive (here a share of the test's own).
TEST(SupportFolderRemoval, FailsWithoutTheShellsFolderAndRemovesNothing)
{
    OwnShare share;
    ASSERT_TRUE(share.MakeCurrent());
    const std::wstring planted = share.Root() + L"Ostrand\\Pellgrove\\keep.txt";
    ASSERT_TRUE(::CreateDirectoryW((share.Root() + L"Ostrand").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((share.Root() + L"Ostrand\\Pellgrove").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(planted, "kept"));
    for (ShellFolderFn shell : {NoShellFolder, EmptyShellFolder}) {
        ShellFolderStandIn standIn(shell);
        ASSERT_TRUE(standIn.Active());
        EXPECT_FALSE(RemoveSupportFolder());
        EXPECT_EQ(ReadBytes(planted), "kept");
    }
}

TEST_F(Startup, TheSampleMediumStartsTheWizardAndCreatesTheSupportFolder)
{
    ASSERT_TRUE(RemoveSupportFolder());
    WizardProcess p;
    HWND main = StartWithConfig(p, L"Pellgrove.exe", L"", L"", {L"Pellgrove.dat", L"Pellgrove.ini"});
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Pellgrove");
    EXPECT_EQ(ItemText(main, IDC_MAIN_INTRO), afx::LoadStrLang(IDS_MAIN_INTRO, ExpectedLanguage()));
    EXPECT_TRUE(FolderExists(SupportFolder()));
    Close(p, main);
}

TEST_F(Startup, OnlyTheExactUsbNameSwitchesToUsbMode)
{
    // Another letter case is normal mode; its configuration file is still found by name.
    for (const auto& [base, title] : {std::pair{L"PellgroveUSB", L"Pellgrove on USB"}, std::pair{L"pellgroveUSB", L"Pellgrove"}}) {
        WizardProcess p;
        const std::wstring name = base;
        HWND main = StartWithConfig(p, name + L".exe", name + L".dat", L"[" + name + L"]\r\nModel=DV-N210\r\n");
        ASSERT_NE(main, nullptr) << base;
        EXPECT_EQ(WindowText(main), title);
        Close(p, main);
    }
}

// A program folder without a drive letter (a network share) has no drive root for the settings
// file and the autorun file: the start refuses it and writes nothing, not even the support folder.
TEST_F(Startup, AProgramFolderWithoutADriveLetterIsRefused)
{
    OwnShare share;
    const std::wstring exe = share.Root() + L"PellgroveUSB.exe";
    ASSERT_TRUE(!share.Root().empty() && ::CopyFileW((OwnFolder() + L"Pellgrove.exe").c_str(), exe.c_str(), TRUE));
    ASSERT_TRUE(RemoveSupportFolder());
    ProgramRun p(exe);
    HWND box = p.WaitWindow();
    EXPECT_EQ(box ? MessageText(box) : L"", afx::LoadStrLang(IDS_NO_DRIVE_LETTER, ExpectedLanguage()));
    Press(box, IDOK);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_FALSE(FolderExists(SupportFolder()));
}

TEST_F(SingleInstance, ASecondCopyEndsSilentlyWhileTheFirstShowsItsWindow)
{
    WizardProcess first;
    HWND main = StartWithConfig(first, L"Pellgrove.exe", L"Pellgrove.dat", kConfigWithModel);
    ASSERT_NE(main, nullptr);
    WizardProcess second;
    ASSERT_TRUE(second.Start(L"Pellgrove.exe"));
    EXPECT_TRUE(second->EndsWithoutWindow());
    EXPECT_EQ(second->WaitExit(0), 0u);
    EXPECT_EQ(first->WaitExit(0), STILL_ACTIVE);
    EXPECT_TRUE(::IsWindowVisible(main));
    Close(first, main);
}

TEST_F(SingleInstance, TheGuideNameBlocksButTheGuidesOwnMutexDoesNot)
{
    HANDLE guide = ::CreateMutexW(nullptr, TRUE, L"Marrowick");
    ASSERT_NE(guide, nullptr);
    {
        WizardProcess p;
        EXPECT_EQ(StartWithConfig(p, L"Pellgrove.exe", L"Pellgrove.dat", kConfigWithModel), nullptr);
        EXPECT_EQ(p->WaitExit(0), 0u) << "ended without a window";
    }
    ::CloseHandle(guide);

    HANDLE guideExe = ::CreateMutexW(nullptr, TRUE, L"Marrowick.exe");
    WizardProcess p;
    ASSERT_TRUE(p.Start(L"Pellgrove.exe"));
    HWND main = p->WaitWindow();
    EXPECT_NE(main, nullptr);
    if (main)
        Close(p, main);
    ::CloseHandle(guideExe);
}

TEST_F(MissingModel, NormalModeShowsItsMessageAndEnds)
{
    ASSERT_TRUE(RemoveSupportFolder());
    WizardProcess p;
    ExpectStartFailure(p, StartWithConfig(p, L"Pellgrove.exe", L"Pellgrove.dat",
                                          L"[Pellgrove]\r\nDorvane=no model\r\n[EnglishUS]\r\nModel=DV-N210\r\n"),
                       IDS_DAT_MISSING);
    EXPECT_TRUE(FolderExists(SupportFolder())) << "made before the configuration is checked";
}

TEST_F(MissingModel, AMissingFileCountsAsMissingModelInBothModes)
{
    WizardProcess usb, lower;  // the sample's Pellgrove.dat is not the USB file
    ExpectStartFailure(usb, StartWithConfig(usb, L"PellgroveUSB.exe", L"", L"", {L"Pellgrove.dat"}), IDS_USB_DAT_MISSING);
    ExpectStartFailure(lower, StartWithConfig(lower, L"pellgroveUSB.exe", L"", L""), IDS_DAT_MISSING);
}

// An empty language value keeping the base one is a rule of the product configuration, tested there.
// The USB-stick menu names the product by its display name, so it shows the section read.
TEST_F(Language, TheLanguageSectionFollowsTheUiLanguage)
{
    std::wstring config = kConfigWithModel;
    config.replace(config.find(L"[Pellgrove]"), 11, L"[PellgroveUSB]");
    WizardProcess p;
    HWND main = StartWithConfig(p, L"PellgroveUSB.exe", L"PellgroveUSB.dat", config);
    ASSERT_NE(main, nullptr);
    const LANGID lang = ExpectedLanguage();  // for 1041 "pellgrove" is the base section itself
    const wchar_t* expected = lang == 1028 ? L"Traditional Chinese section" : lang == 2052 ? L"Simplified Chinese section"
                              : lang == 1041 ? L"base section" : L"English section";
    EXPECT_EQ(ItemText(main, IDC_MAIN_USB_TEXT),
              FormatArg(afx::LoadStrLang(IDS_USB_MENU_TEXT, ExpectedLanguage()), expected))
        << "language " << ExpectedLanguage();
    Close(p, main);
}

namespace {

using MainMenu = Wizard;
using QuickSetup = Wizard;

std::wstring LanguageTag() { return std::to_wstring(ExpectedLanguage()); }

void Click(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::wstring Str(UINT id) { return afx::LoadStrLang(id, ExpectedLanguage()); }

// Whether a process of that name runs.
bool Running(const wchar_t* name)
{
    HANDLE all = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = ::Process32FirstW(all, &entry); more && !found; more = ::Process32NextW(all, &entry))
        found = !_wcsicmp(entry.szExeFile, name);
    ::CloseHandle(all);
    return found;
}

// What the recorder standing in for the guide wrote, once it has and has ended, within 5 s each:
// while it runs, its current folder is the support folder, which the next wizard then cannot
// make anew.
std::string GuideRecord(const std::wstring& record)
{
    std::string guide;
    for (DWORD waited = 0; (guide = ReadBytes(record)).empty() && waited < 5000; waited += 100)
        ::Sleep(100);
    for (DWORD waited = 0; Running(L"Marrowick.exe") && waited < 5000; waited += 50)
        ::Sleep(50);
    return guide;
}

}  // namespace

// The autorun key as the close button leaves it, for a wizard started in a sub-folder.
TEST_F(MainMenu, TheCloseButtonWritesOrRemovesTheAutorunKeyAndEscLeavesItAlone)
{
    ASSERT_TRUE(PrepareMedium(L"Pellgrove.exe"));
    ASSERT_TRUE(CopySampleFile(L"Autorun.inf"));
    ASSERT_TRUE(::CreateDirectoryW((MediumRoot() + L"setup").c_str(), nullptr));
    ASSERT_TRUE(::MoveFileW((MediumRoot() + L"Pellgrove.exe").c_str(), (MediumRoot() + L"setup\\Pellgrove.exe").c_str()));
    ASSERT_TRUE(WriteBytes(MediumRoot() + L"setup\\Pellgrove.dat", Utf16Bytes(kConfigWithModel, true)));
    const std::wstring autorun = MediumRoot() + L"Autorun.inf";
    struct Step { bool clickCheck; int button; const wchar_t* expected; };
    const Step steps[] = {
        {false, IDOK, L"setup\\Pellgrove.exe"},  // the sample's key makes the check start ticked
        {true, IDOK, L"<none>"},                 // cleared: the key goes
        {true, IDCANCEL, L"<none>"},             // ticked, then Esc: nothing is written
    };
    for (const Step& step : steps) {
        WizardProcess p;
        ASSERT_TRUE(p.Start(L"setup\\Pellgrove.exe"));
        HWND main = p->WaitWindow();
        ASSERT_NE(main, nullptr);
        HWND check = ::GetDlgItem(main, IDC_MAIN_AUTORUN);
        EXPECT_TRUE(::IsWindowVisible(check));
        EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED,
                  ProfileValue(autorun, L"Autorun", L"open") != L"<none>");
        if (step.clickCheck)
            Click(main, IDC_MAIN_AUTORUN);
        Press(main, step.button);
        EXPECT_EQ(p->WaitExit(), 0u);
        EXPECT_EQ(ProfileValue(autorun, L"Autorun", L"open"), step.expected);
        EXPECT_EQ(ProfileValue(autorun, L"Autorun", L"icon"), L"Pellgrove.exe");
    }
}

TEST_F(MainMenu, UsbModeHidesTheAutorunCheckAndNamesTheProduct)
{
    WizardProcess p;
    HWND main = StartWithConfig(p, L"PellgroveUSB.exe", L"", L"", {L"PellgroveUSB.dat"});
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(main, IDC_MAIN_AUTORUN)));
    std::wstring name = ExpectedLanguage() == 1041 ? L"HOLLIN ネットワークストレージ"
                        : ExpectedLanguage() == 1028 ? L"HOLLIN 網路儲存裝置"
                        : ExpectedLanguage() == 2052 ? L"HOLLIN 网络存储设备" : L"HOLLIN";
    EXPECT_EQ(ItemText(main, IDC_MAIN_USB_TEXT), FormatArg(Str(IDS_USB_MENU_TEXT), name));
    EXPECT_TRUE(SaveWindowShot(main, L"main_usb_" + LanguageTag()));
    Close(p, main);
}

// The whole road on the sample medium: quick button, confirmation page, settings page with a
// refused and then an accepted edit, back, completion, end page; then the file and the guide.
TEST_F(QuickSetup, FromTheQuickButtonToTheWrittenFileAndTheGuide)
{
    ASSERT_TRUE(PrepareMedium(L"Pellgrove.exe"));
    for (const wchar_t* f : {L"Pellgrove.dat", L"Pellgrove.ini", L"Autorun.inf"}) ASSERT_TRUE(CopySampleFile(f));
    // What the completion installs from the medium, with a recorder standing in for the guide.
    const std::wstring recorder = OwnFolder() + L"shell_recorder.exe";
    ASSERT_FALSE(SupportFolder().empty()) << "the shell names no common application-data folder";
    for (const std::wstring& folder : {MediumRoot() + L"Support", MediumRoot() + L"Support\\Files",
                                      MediumRoot() + L"Support\\Other", MediumRoot() + L"Support\\Guide",
                                      SupportFolder(), SupportFolder() + L"\\Guide"})
        ::CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(MediumRoot() + L"Support\\Files\\readme.txt", "files"));
    ASSERT_TRUE(WriteBytes(MediumRoot() + L"Support\\Other\\note.txt", "other"));
    ASSERT_TRUE(::CopyFileW(recorder.c_str(), (MediumRoot() + L"Support\\Guide\\Marrowick.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(recorder.c_str(), (SupportFolder() + L"\\Guide\\Marrowick.exe").c_str(), FALSE));
    // The finder as the disk carries it: an earlier install's copy of it comes anew from here.
    ASSERT_TRUE(::CreateDirectoryW((MediumRoot() + L"Support\\Finder").c_str(), nullptr));
    for (const wchar_t* f : {L"Dorvane.ico", L"WebSetup.ico", L"Vantry2.ico"})
        ASSERT_TRUE(CopySampleFile(std::wstring(L"Support\\Finder\\") + f)) << f;
    for (const wchar_t* f : {L"Lorrick.exe", L"Tavik.dll"})
        ASSERT_TRUE(::CopyFileW((OwnFolder() + f).c_str(), (MediumRoot() + L"Support\\Finder\\" + f).c_str(), FALSE)) << f;
    TempDir scratch;
    const std::wstring record = scratch / L"guide.txt";

    WizardProcess p;
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(p.Start(L"Pellgrove.exe", {{L"LORRICK_RECORD", record}}));
    HWND main = p->WaitWindow();
    ASSERT_NE(main, nullptr);
    printf("[ measure ] process start to visible main menu: %lu ms\n", ::GetTickCount() - start);
    EXPECT_TRUE(SaveWindowShot(main, L"main_" + LanguageTag()));

    start = ::GetTickCount();
    HWND confirm, settings, end;
    ASSERT_TRUE(confirm = p.PressFor(main, IDC_MAIN_QUICK, IDC_CONFIRM_BACK_TO_TOP));
    printf("[ measure ] quick button to visible confirmation page (DHCP): %lu ms\n", ::GetTickCount() - start);
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_EQ(ItemText(confirm, IDC_NAME), L"HOLLIN-DV");
    EXPECT_EQ(ItemText(confirm, IDC_DHCP_VALUE), Str(IDS_DHCP_USE));
    EXPECT_TRUE(SaveWindowShot(confirm, L"confirm_" + LanguageTag()));

    ASSERT_TRUE(settings = p.PressFor(confirm, IDC_CONFIRM_SETTING, IDC_QUICK_CANCEL));
    EXPECT_TRUE(SaveWindowShot(settings, L"settings_" + LanguageTag()));
    ::SetDlgItemTextW(settings, IDC_NAME, L"-STORE7");
    Press(settings, IDOK);
    EXPECT_EQ(AnswerMessageBoxes(settings, 1500),
              (std::vector<std::wstring>{Str(IDS_NAME_ILLEGAL), Str(IDS_HEADING_HYPHEN)}));
    ::SetDlgItemTextW(settings, IDC_NAME, L"STORE7");
    ::SetDlgItemTextW(settings, IDC_COMMENT, L"Shelf in the hall");
    ::SetDlgItemTextW(settings, IDC_WORKGROUP, L"HOME");
    Click(settings, IDC_NTP_INVALID);
    Click(settings, IDC_DHCP_STATIC);
    const std::wstring prefix = Widen(getenv("KIT_NET_PREFIX") ? getenv("KIT_NET_PREFIX") : "10.231.20");
    uint32_t net = ParseDottedQuad((prefix + L".0").c_str());
    ::SendDlgItemMessageW(settings, IDC_IP_ADDRESS, IPM_SETADDRESS, 0, LPARAM(net | 50));
    ::SendDlgItemMessageW(settings, IDC_IP_MASK, IPM_SETADDRESS, 0, LPARAM(0xFFFFFF00u));
    ASSERT_TRUE(confirm = p.PressFor(settings, IDOK, IDC_CONFIRM_BACK_TO_TOP));
    EXPECT_EQ(ItemText(confirm, IDC_NAME), L"STORE7");
    EXPECT_EQ(ItemText(confirm, IDC_DHCP_VALUE), Str(IDS_DHCP_DO_NOT_USE));
    EXPECT_EQ(ItemText(confirm, IDC_IP_VALUE), prefix + L".50");
    EXPECT_EQ(ItemText(confirm, IDC_CONFIRM_NTP), L"off");

    // There and back again without OK: the stored values stay.
    ASSERT_TRUE(settings = p.PressFor(confirm, IDC_CONFIRM_SETTING, IDC_QUICK_CANCEL));
    ::SetDlgItemTextW(settings, IDC_NAME, L"DISCARDED");
    ASSERT_TRUE(confirm = p.PressFor(settings, IDC_QUICK_CANCEL, IDC_CONFIRM_BACK_TO_TOP));
    EXPECT_EQ(ItemText(confirm, IDC_NAME), L"STORE7");
    EXPECT_EQ(ReadBytes(MediumRoot() + L"Pellgrove.ini").find(Utf16Bytes(L"STORE7", false)), std::string::npos)
        << "nothing is written before the completion";

    for (int id : {IDC_SHARE_SHORTCUT, IDC_SETTING_SHORTCUT, IDC_MANUAL_COPY})
        ::SendDlgItemMessageW(confirm, id, BM_SETCHECK, BST_UNCHECKED, 0);
    ASSERT_TRUE(end = p.PressFor(confirm, IDOK, IDC_END_SECOND_TEXT));
    EXPECT_EQ(ItemText(end, IDC_END_FIRST_TEXT), Str(IDS_FINISHED));
    EXPECT_TRUE(SaveWindowShot(end, L"end_" + LanguageTag()));
    Press(end, IDCANCEL);
    EXPECT_EQ(p->WaitExit(), 0u);

    const std::wstring ini = MediumRoot() + L"Pellgrove.ini";
    std::wstring stamp = ProfileValue(ini, L"pellgrove", L"timestamp");
    ASSERT_EQ(stamp.size(), 14u);
    EXPECT_EQ(ReadBytes(ini), Utf16Bytes(L"[pellgrove]\r\ntimestamp=" + stamp +
                                             L"\r\nname=STORE7\r\ncomment=Shelf in the hall\r\nworkgroup=HOME\r\n"
                                             L"dhcp=off\r\nntp=off\r\nntpserver=pool.ntp.org\r\nntpboot=on\r\n"
                                             L"ntpdaily=off\r\nip=" + prefix + L".50\r\nnetmask=255.255.255.0\r\n",
                                         true));
    EXPECT_NE(GuideRecord(record).find(" DV-N210 0"), std::string::npos) << ReadBytes(record);
}

// The checks before the pages: a missing or unmarked settings file stops at its message and
// the menu stays for another try.
TEST_F(QuickSetup, ASettingsFileThatIsMissingOrUnmarkedStopsBeforeThePages)
{
    WizardProcess p;
    HWND main = StartWithConfig(p, L"Pellgrove.exe", L"Pellgrove.dat", kConfigWithModel);
    ASSERT_NE(main, nullptr);
    Press(main, IDC_MAIN_QUICK);
    EXPECT_EQ(AnswerMessageBox(main), Str(IDS_SETTINGS_FILE_MISSING));
    ASSERT_TRUE(WriteBytes(MediumRoot() + L"Pellgrove.ini", "[pellgrove]\r\nname=STORE1\r\nworkgroup=W\r\n"));
    Press(main, IDC_MAIN_QUICK);
    EXPECT_EQ(AnswerMessageBox(main), Str(IDS_SETTINGS_FILE_ILLEGAL));
    EXPECT_TRUE(::IsWindowVisible(main));
    Close(p, main);
}

// Show_Guide on: no end page; the file is written, then a missing guide program ends the wizard
// with code 1 after string 42.
TEST_F(QuickSetup, AMissingGuideProgramEndsWithCodeOneAfterTheFileIsWritten)
{
    WizardProcess p;
    HWND main = StartWithConfig(p, L"Pellgrove.exe", L"Pellgrove.dat",
                                L"[Pellgrove]\r\nModel=DV-N210\r\nShow_Guide=on\r\nGuide_File=Guide\\NoSuchGuide.exe\r\n",
                                {L"Pellgrove.ini"});
    HWND confirm;
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(confirm = p.PressFor(main, IDC_MAIN_QUICK, IDC_CONFIRM_BACK_TO_TOP));
    Press(confirm, IDOK);
    EXPECT_EQ(AnswerMessageBox(main), Str(IDS_INTERNAL_ERROR));
    EXPECT_EQ(p->WaitExit(), 1u);
    EXPECT_NE(ReadBytes(MediumRoot() + L"Pellgrove.ini").find(Utf16Bytes(L"timestamp=2", false)), std::string::npos);
    EXPECT_EQ(ReadBytes(MediumRoot() + L"Pellgrove.ini").find(Utf16Bytes(L"timestamp=20260101090000", false)),
              std::string::npos);
}

// The completion with every option on the full sample medium: the support folder filled (the
// finder taken from beside the product icon), the three desktop links that start the installed
// finder, the manual on the desktop, and the guide started in mode 1.
TEST_F(QuickSetup, CompletionInstallsTheFinderMakesTheShortcutsAndCopiesTheManual)
{
    // The link names carry the language's suffix; the test locales exist for Wine but not for
    // the Linux side here, so Wine can only name files in ASCII when they are set.
    if (ExpectedLanguage() != 1033)
        GTEST_SKIP() << "link names outside ASCII need the locale on the Linux side";
    ASSERT_TRUE(PrepareMedium(L"Pellgrove.exe"));
    for (const wchar_t* folder : {L"Support", L"Support\\Finder", L"Support\\Files", L"Support\\Other", L"Support\\Guide"})
        ASSERT_TRUE(::CreateDirectoryW((MediumRoot() + folder).c_str(), nullptr));
    for (const wchar_t* f : {L"Pellgrove.dat", L"Pellgrove.ini", L"Manual.pdf", L"Support\\Finder\\Dorvane.ico",
                             L"Support\\Finder\\WebSetup.ico", L"Support\\Finder\\Vantry2.ico",
                             L"Support\\Files\\Dorvane.txt", L"Support\\Other\\Support.url", L"Support\\Guide\\ReadMe.txt"})
        ASSERT_TRUE(CopySampleFile(f)) << f;
    for (const auto& [f, to] : {std::pair{L"Lorrick.exe", L"Support\\Finder\\Lorrick.exe"},
                                std::pair{L"Tavik.dll", L"Support\\Finder\\Tavik.dll"}, std::pair{L"shell_recorder.exe", L"Support\\Guide\\Marrowick.exe"}})
        ASSERT_TRUE(::CopyFileW((OwnFolder() + f).c_str(), (MediumRoot() + to).c_str(), FALSE)) << f;
    ASSERT_TRUE(RemoveSupportFolder());
    const std::wstring desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\";
    ASSERT_NE(desktop, L"\\") << "the shell names no desktop folder";
    const std::wstring links[] = {L"HOLLIN-DV " + Str(IDS_SHARE_LINK_SUFFIX) + L".lnk",
                                  L"HOLLIN-DV " + Str(IDS_SETTING_LINK_SUFFIX) + L".lnk", L"Vantry 2.lnk"};
    for (const auto& f : links) ::DeleteFileW((desktop + f).c_str());
    TempDir scratch;

    WizardProcess p;
    HWND main, confirm, end;
    ASSERT_TRUE(p.Start(L"Pellgrove.exe", {{L"LORRICK_RECORD", scratch / L"guide.txt"}}));
    ASSERT_TRUE(main = p->WaitWindow());
    ASSERT_TRUE(confirm = p.PressFor(main, IDC_MAIN_QUICK, IDC_CONFIRM_BACK_TO_TOP));
    ASSERT_TRUE(end = p.PressFor(confirm, IDOK, IDC_END_SECOND_TEXT));  // shortcuts and manual are ticked on arrival
    Press(end, IDCANCEL);
    EXPECT_EQ(p->WaitExit(), 0u);

    for (const wchar_t* f : {L"Lorrick.exe", L"Tavik.dll", L"Dorvane.ico", L"WebSetup.ico", L"Vantry2.ico",
                             L"Dorvane.txt", L"Other\\Support.url", L"Guide\\ReadMe.txt", L"Guide\\Marrowick.exe"})
        EXPECT_FALSE(ReadBytes(SupportFolder() + L"\\" + f).empty()) << f;
    const std::pair<std::wstring, std::wstring> expected[] = {
        {links[0], L"share HOLLIN-DV"}, {links[1], L"setting HOLLIN-DV"}, {links[2], L"setting Vantry_2"}};
    for (const auto& [link, arguments] : expected) {
        EXPECT_NE(ReadBytes(desktop + link).find(Utf16Bytes(arguments, false)), std::string::npos) << link.c_str();
        ::DeleteFileW((desktop + link).c_str());
    }
    EXPECT_EQ(ReadBytes(desktop + L"Manual.pdf"), ReadBytes(MediumRoot() + L"Manual.pdf"));
    ::DeleteFileW((desktop + L"Manual.pdf").c_str());
    EXPECT_NE(GuideRecord(scratch / L"guide.txt").find(" DV-N210 1"), std::string::npos) << ReadBytes(scratch / L"guide.txt");
}
