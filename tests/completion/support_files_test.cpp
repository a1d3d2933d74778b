// The support-file installers on a scratch medium and support folder; the fatal exit of the
// real installer through the runner program.
#include "tests/completion/OwnShare.h"
#include "tests/completion/ShellFolderStandIn.h"
#include "tests/support/ProgramRun.h"
#include "resources/pellgrove/resource.h"
#include "afx/ResourceLanguage.h"
#include "frame/Directory.h"
#include "wizard/SupportFiles.h"
#include "wizard/SupportFolderSecurity.h"
#include <aclapi.h>
#include <sddl.h>
#include <gtest/gtest.h>
#include <map>

namespace {

struct Missing {};
void ThrowMissing() { throw Missing(); }

// A medium with the product icon and the finder in Support\Finder, a guide, other files.
struct Medium {
    TempDir dir;
    ProductConfig config{};
    SupportInstall in;
    Medium()
    {
        in = {dir.Path() + L"\\medium\\", dir / L"pd\\Ostrand\\Pellgrove", L"Lorrick.exe", &ThrowMissing, &ThrowMissing};
        for (const wchar_t* folder : {L"medium", L"medium\\Support", L"medium\\Support\\Finder", L"medium\\Guide",
                                      L"medium\\Guide\\pic", L"medium\\Files", L"medium\\Other", L"medium\\Empty"})
            ::CreateDirectoryW((dir / folder).c_str(), nullptr);
        for (const wchar_t* file : {L"Support\\Finder\\Dorvane.ico", L"Support\\Finder\\Lorrick.exe",
                                    L"Support\\Finder\\Tavik.dll", L"Web.ico", L"Vantry2.ico", L"Guide\\Marrowick.exe",
                                    L"Guide\\pic\\1.gif", L"Files\\readme.txt", L"Other\\tool.exe"})
            WriteBytes(in.programFolder + file, std::string("new ") + std::to_string(wcslen(file)));
        Set(config.ProductIcon, config.ProductIconFlag, L"Support\\Finder\\Dorvane.ico");
        Set(config.WebSetupIcon, config.WebSetupIconFlag, L"Web.ico");
        Set(config.Vantry2Icon, config.Vantry2IconFlag, L"Vantry2.ico");
        CopyConfigText(config.GuideFolderPath, L"Guide");
        CopyConfigText(config.OtherFilePath, L"Files");
        CopyConfigText(config.OtherFolderPath, L"Other");
    }
    static void Set(wchar_t (&field)[kConfigTextSize], int& flag, const wchar_t* value)
    {
        CopyConfigText(field, value);
        flag = *value ? 1 : 0;
    }
    bool Installed(const std::wstring& name) const { return !ReadBytes(in.supportFolder + L"\\" + name).empty(); }
};

using Sid = std::wstring;  // "S-1-5-32-545"
Sid SidAt(PSID sid)
{
    LPWSTR text = nullptr;
    Sid at = ::ConvertSidToStringSidW(sid, &text) ? text : L"?";
    return ::LocalFree(text), at;
}
Sid WellKnown(WELL_KNOWN_SID_TYPE type)
{
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    return ::CreateWellKnownSid(type, nullptr, sid, &size) ? SidAt(sid) : Sid();
}
Sid OwnAccount()
{
    HANDLE token = nullptr;
    alignas(TOKEN_USER) BYTE user[512];
    DWORD size = 0;
    bool got = ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) &&
               ::GetTokenInformation(token, TokenUser, user, sizeof(user), &size);
    ::CloseHandle(token);
    return got ? SidAt(reinterpret_cast<TOKEN_USER*>(user)->User.Sid) : Sid();
}
// Stands in for SetNamedSecurityInfoW and checks what an installer hands over: these accounts only
// (so Users, Authenticated Users, Everyone and CREATOR OWNER may not write, append, delete or change
// entries), each inherited by everything below, nothing from above; and the first copy not made yet.
std::vector<std::wstring> g_closed;
std::wstring g_firstCopy;
DWORD WINAPI CheckClosing(LPWSTR path, SE_OBJECT_TYPE, SECURITY_INFORMATION info, PSID owner, PSID, PACL dacl, PACL)
{
    const std::map<Sid, DWORD> rows = {
        {WellKnown(WinLocalSystemSid), FILE_ALL_ACCESS}, {WellKnown(WinBuiltinAdministratorsSid), FILE_ALL_ACCESS},
        {OwnAccount(), FILE_ALL_ACCESS}, {WellKnown(WinBuiltinUsersSid), FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}};
    std::map<Sid, DWORD> granted;
    ACCESS_ALLOWED_ACE* ace = nullptr;
    for (DWORD i = 0; dacl && ::GetAce(dacl, i, reinterpret_cast<void**>(&ace)); ++i) {
        EXPECT_EQ(std::make_pair(ace->Header.AceType, ace->Header.AceFlags),
                  std::make_pair(BYTE(ACCESS_ALLOWED_ACE_TYPE), BYTE(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)));
        granted[SidAt(&ace->SidStart)] |= ace->Mask;
    }
    EXPECT_EQ(granted, rows) << path;  // SYSTEM, Administrators, Users, own account
    EXPECT_EQ(owner ? SidAt(owner) : Sid(), OwnAccount());
    EXPECT_EQ(info, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION);
    EXPECT_EQ(ReadBytes(g_firstCopy), "") << "copied before closing " << path;
    g_closed.push_back(path);
    return ERROR_SUCCESS;
}

}  // namespace

// Each installer closes the company folder, then the support folder, before its first copy,
// whether it makes them now (with nothing inherited from the start) or an earlier run left them.
TEST(SupportFiles, EachInstallerClosesTheSupportFolderBeforeItsFirstCopy)
{
    ImportStandIn closing(L"advapi32.dll", "SetNamedSecurityInfoW", &CheckClosing);
    CSupportFolderSecurity made;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(closing.Patched() && ::GetSecurityDescriptorControl(made.Descriptor(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    for (int run = 0; run < 4; ++run) {
        Medium m;
        if (run >= 2 && (MakeDirectory((m.in.supportFolder + L"\\Guide").c_str()) || !WriteBytes(m.in.supportFolder + L"\\Guide\\old.gif", "old")))
            FAIL() << "no support folder as an earlier run leaves it";
        g_firstCopy = m.in.supportFolder + (run % 2 ? L"\\readme.txt" : L"\\Dorvane.ico");
        g_closed.clear();
        CFileOperation op;
        run % 2 ? InstallGuideFilesTo(m.in, m.config, op) : (void)InstallFinderFilesTo(m.in, m.config);
        EXPECT_EQ(g_closed, (std::vector<std::wstring>{m.dir / L"pd\\Ostrand", m.in.supportFolder})) << "run " << run;
        EXPECT_NE(ReadBytes(g_firstCopy), "") << "run " << run;
    }
}

// The finder travels with the product icon: from beside it (slashes separate a configured
// path's folders as backslashes do), and not at all without it. A subfolder named with
// backslashes is the end-to-end test's (pellgrove_e2e).
TEST(SupportFiles, TheFinderTravelsWithTheProductIcon)
{
    for (const wchar_t* icon : {L"", L"Support/Finder/Dorvane.ico"}) {
        Medium m;
        Medium::Set(m.config.ProductIcon, m.config.ProductIconFlag, icon);
        Medium::Set(m.config.Vantry2Icon, m.config.Vantry2IconFlag, L"");
        EXPECT_EQ(InstallFinderFilesTo(m.in, m.config), *icon ? m.in.supportFolder + L"\\Lorrick.exe" : L"");
        EXPECT_TRUE(m.Installed(L"Web.ico") && !m.Installed(L"Vantry2.ico"));
        for (const wchar_t* name : {L"Dorvane.ico", L"Lorrick.exe", L"Tavik.dll"})
            EXPECT_EQ(m.Installed(name), *icon != 0) << name;
    }
}

TEST(SupportFiles, GuideIsReplacedWholeAndAnEmptyOtherFolderIsNoError)
{
    Medium m;
    ASSERT_EQ(MakeDirectory((m.in.supportFolder + L"\\Guide\\old").c_str()), 0);
    ASSERT_TRUE(WriteBytes(m.in.supportFolder + L"\\Guide\\old\\stale.gif", "old"));
    CFileOperation op;
    InstallGuideFilesTo(m.in, m.config, op);
    EXPECT_FALSE(FolderExists(m.in.supportFolder + L"\\Guide\\old"));
    for (const wchar_t* name : {L"Guide\\Marrowick.exe", L"Guide\\pic\\1.gif", L"readme.txt", L"Other\\tool.exe"})
        EXPECT_TRUE(m.Installed(name)) << name;
    CopyConfigText(m.config.OtherFilePath, L"Empty");
    CopyConfigText(m.config.OtherFolderPath, L"Empty\\");
    EXPECT_NO_THROW(InstallGuideFilesTo(m.in, m.config, op));
}

TEST(SupportFiles, EveryMissingTestedSourceIsFatal)
{
    const wchar_t* removed[] = {L"Support\\Finder\\Dorvane.ico", L"Support\\Finder\\Lorrick.exe",
                                L"Support\\Finder\\Tavik.dll", L"Web.ico", L"Vantry2.ico", L"Files", L"Other"};
    for (const wchar_t* name : removed) {
        Medium m;
        ASSERT_TRUE(RemoveTree(m.in.programFolder + name));
        CFileOperation op;
        EXPECT_THROW((InstallFinderFilesTo(m.in, m.config), InstallGuideFilesTo(m.in, m.config, op)), Missing) << name;
    }
}

// A missing source leaves the copies made before it; a shell that gives no common
// application-data folder, or an empty one, touches nothing and starts nothing on the drive the
// wizard works on: not its \Guide, nor a guide planted where the support folder would be; nor
// does one that cannot be closed to other accounts.
TEST(SupportFiles, TheRealInstallersEndWithExitCodeOneAfterTheirMessage)
{
    Medium m;
    ASSERT_TRUE(RemoveTree(m.in.programFolder + L"Support\\Finder\\Tavik.dll"));
    OwnShare share;
    const std::wstring root = share.Root(), planted = root + L"Ostrand\\Pellgrove\\Guide\\Marrowick.exe";
    ASSERT_FALSE(root.empty()) << "no share of the test's own";
    ASSERT_EQ(MakeDirectory((root + L"Guide").c_str()) + MakeDirectory(FolderPart(planted).c_str()), 0);
    ASSERT_TRUE(WriteBytes(root + L"Guide\\keep.gif", "medium"));
    ASSERT_TRUE(::CopyFileW((OwnFolder() + L"install_runner.exe").c_str(), planted.c_str(), TRUE));
    const std::pair<std::wstring, UINT> runs[] = {
        {L"finder \"" + m.dir.Path() + L"\\medium\" \"" + m.in.supportFolder + L"\" Support\\Finder\\Dorvane.ico",
         IDS_INTERNAL_ERROR},
        {L"finder none " + root, IDS_SUPPORT_FOLDER_UNKNOWN}, {L"guide none " + root, IDS_SUPPORT_FOLDER_UNKNOWN},
        {L"guide empty " + root, IDS_SUPPORT_FOLDER_UNKNOWN}, {L"launch none " + root, IDS_INTERNAL_ERROR},
        {L"launch empty " + root, IDS_INTERNAL_ERROR}, {L"finder refused \"" + m.dir.Path() + L"\"", IDS_SUPPORT_FOLDER_UNKNOWN},
        {L"guide refused \"" + m.dir.Path() + L"\"", IDS_SUPPORT_FOLDER_UNKNOWN}};
    for (const auto& [args, message] : runs) {
        ProgramRun run(OwnFolder() + L"install_runner.exe", args, m.dir.Path());
        HWND box = run.WaitWindow();
        EXPECT_EQ(box ? MessageText(box) : L"", afx::LoadStrLang(message, 1033)) << args;
        Press(box, IDOK);
        EXPECT_EQ(run.WaitExit(), 1u) << args;
    }
    EXPECT_TRUE(m.Installed(L"Dorvane.ico")) << "copies made before the missing file stay";
    EXPECT_EQ(ReadBytes(root + L"Guide\\keep.gif"), "medium");
    EXPECT_FALSE(ReadBytes(planted).empty());
    EXPECT_EQ(share.Names(), (std::set<std::wstring>{L"Guide", L"Ostrand"}));
}

// Names a link or a downloaded file may take: one file in the folder, under the name given.
TEST(SupportFiles, IsPlainFileName)
{
    const std::pair<std::wstring, bool> names[] = {
        {L"", false},     {L".", false},  {L"..", false}, {L"a:b", false},      {L"a/b", false},   {L"a\\b", false},
        {L"a\tb", false}, {L"a.", false}, {L"a ", false},  {L"fw 2.bin", true}, {L"STORE1", true}};
    for (const auto& [name, plain] : names) EXPECT_EQ(IsPlainFileName(name), plain) << name.c_str();
}
