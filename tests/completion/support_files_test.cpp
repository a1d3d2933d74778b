// The support-file installers on a scratch medium and support folder; the fatal exit of the
// real installer through the runner program.
#include "tests/completion/OwnShare.h"
#include "tests/completion/ShellFolderStandIn.h"
#include "tests/support/ProgramRun.h"
#include "resources/pellgrove/resource.h"
#include "afx/Handle.h"
#include "afx/ResourceLanguage.h"
#include "frame/Directory.h"
#include "wizard/SupportFiles.h"
#include "wizard/SupportFolderSecurity.h"
#include <aclapi.h>
#include <sddl.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <map>
#include <memory>

namespace {

struct Missing {};
void ThrowMissing() { throw Missing(); }
struct Refused {};
void ThrowRefused(const std::wstring&) { throw Refused(); }

// A medium with the product icon and the finder in Support\Finder, a guide, other files.
struct Medium {
    TempDir dir;
    ProductConfig config{};
    SupportInstall in;
    Medium()
    {
        in = {dir.Path() + L"\\medium\\", dir / L"pd\\Ostrand\\Pellgrove", L"Lorrick.exe", &ThrowMissing, &ThrowRefused};
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
// Stands in for CreateFileW: what each open asked for, by the handle it gave.
struct Open { std::wstring path; DWORD access, flags; };
std::map<HANDLE, Open> g_opened;
HANDLE WINAPI RecordOpen(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD how, DWORD flags, HANDLE model)
{
    static auto real = reinterpret_cast<decltype(&RecordOpen)>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CreateFileW"));
    HANDLE opened = real(path, access, share, sa, how, flags, model);
    g_opened[opened] = {path, access, flags};
    return opened;
}
// Stands in for SetSecurityInfo and checks what an installer hands over: the handle of the folder
// itself, opened for its entries and owner; these accounts only (so Users, Authenticated Users,
// Everyone and CREATOR OWNER may not write, append, delete or change entries), each inherited by
// everything below, nothing from above; and the first copy not made yet.
std::vector<std::wstring> g_closed;
std::wstring g_firstCopy;
DWORD WINAPI CheckClosing(HANDLE folder, SE_OBJECT_TYPE, SECURITY_INFORMATION info, PSID owner, PSID, PACL dacl, PACL)
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
    const Open opened = g_opened[folder];
    EXPECT_EQ(granted, rows) << opened.path;  // SYSTEM, Administrators, Users, own account
    EXPECT_EQ(owner ? SidAt(owner) : Sid(), OwnAccount());
    EXPECT_EQ(info, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION);
    // The link itself, never its target; and what was checked is what is changed.
    BY_HANDLE_FILE_INFORMATION is = {};
    EXPECT_TRUE(::GetFileInformationByHandle(folder, &is) && (is.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(opened.flags & (FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT), DWORD(FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT));
    EXPECT_EQ(opened.access & (READ_CONTROL | WRITE_DAC | WRITE_OWNER), DWORD(READ_CONTROL | WRITE_DAC | WRITE_OWNER));
    EXPECT_EQ(ReadBytes(g_firstCopy), "") << "copied before closing " << opened.path;
    g_closed.push_back(opened.path);
    return ERROR_SUCCESS;
}

}  // namespace

// Each installer closes the support folder before its first copy, on the handle it opened for
// the folder itself, whether it makes the folder now (with nothing inherited from the start) or
// an earlier run left it; the company folder above keeps its own entries.
TEST(SupportFiles, EachInstallerClosesTheSupportFolderBeforeItsFirstCopy)
{
    ImportStandIn closing(L"advapi32.dll", "SetSecurityInfo", &CheckClosing);
    ImportStandIn opening(L"kernel32.dll", "CreateFileW", &RecordOpen);
    CSupportFolderSecurity made;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(closing.Patched() && opening.Patched() && ::GetSecurityDescriptorControl(made.Descriptor(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    for (int run = 0; run < 4; ++run) {
        Medium m;
        if (run >= 2 && (MakeDirectory((m.in.supportFolder + L"\\Guide").c_str()) || !WriteBytes(m.in.supportFolder + L"\\Guide\\old.gif", "old")))
            FAIL() << "no support folder as an earlier run leaves it";
        g_firstCopy = m.in.supportFolder + (run % 2 ? L"\\readme.txt" : L"\\Dorvane.ico");
        g_closed.clear();
        CFileOperation op;
        run % 2 ? InstallGuideFilesTo(m.in, m.config, op) : (void)InstallFinderFilesTo(m.in, m.config);
        EXPECT_EQ(g_closed, std::vector<std::wstring>{m.in.supportFolder}) << "run " << run;
        EXPECT_NE(ReadBytes(g_firstCopy), "") << "run " << run;
    }
}

// The company folder is the maker's, shared with its other products: kept as it is while its
// owner is trusted and nobody else may delete, move or re-secure it; refused otherwise.
TEST(SupportFiles, TheCompanyFolderIsKeptOnlyWhenSafe)
{
    const std::wstring other = L"S-1-5-21-1-2-3-1001", installer = L"S-1-5-80-956008885-3425870976-2149541937-1525355285-4047580946";
    const std::wstring shared = L"(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;GA;;;CO)(A;OICI;0x1200a9;;;BU)(A;CI;0x116;;;BU)";
    const std::pair<std::wstring, bool> rows[] = {
        {L"O:SYD:PAI" + shared, true}, {L"O:BAD:" + shared, true}, {L"O:" + installer + L"D:" + shared, true},
        {L"O:" + OwnAccount() + L"D:(A;;FA;;;" + OwnAccount() + L")(A;;FA;;;CO)(D;;FA;;;WD)(A;OICIIO;FA;;;BU)", true},
        {L"O:" + other + L"D:" + shared, false}, {L"O:SYD:" + shared + L"(A;;0x10000;;;BU)", false},
        {L"O:SYD:" + shared + L"(A;;0x40;;;AU)", false}, {L"O:SYD:" + shared + L"(A;;0x40000;;;WD)", false},
        {L"O:SYD:" + shared + L"(A;;0x80000;;;" + other + L")", false}, {L"O:SYD:" + shared + L"(A;;GA;;;BU)", false},
        {L"O:SY", false}};
    BYTE account[SECURITY_MAX_SID_SIZE];
    PSID own = nullptr;
    ASSERT_TRUE(::ConvertStringSidToSidW(OwnAccount().c_str(), &own));
    ::CopySid(sizeof(account), account, own), ::LocalFree(own);
    for (const auto& [sddl, safe] : rows) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        PSID owner = nullptr;
        PACL dacl = nullptr;
        BOOL present = FALSE, defaulted = FALSE;
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr)) << sddl;
        ::GetSecurityDescriptorOwner(sd, &owner, &defaulted), ::GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted);
        EXPECT_EQ(IsSafeCompanyFolder(owner, present ? dacl : nullptr, account), safe) << sddl;
        ::LocalFree(sd);
    }
}

// What stays below the support folder must be the kit's own: planted libraries beside the
// finder, a subfolder, an older finder (read-only) go; the finder files an earlier install left
// come anew from the medium, with no shortcut made. A file in use, a copy that fails, a company
// folder another account owns, a file in place of either folder: refused, nothing copied.
BOOL WINAPI FailCopy(LPCWSTR, LPCWSTR, BOOL) { return ::SetLastError(ERROR_ACCESS_DENIED), FALSE; }
DWORD WINAPI OtherOwner(HANDLE, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID* owner, PSID*, PACL* dacl, PACL*, PSECURITY_DESCRIPTOR* sd)
{
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:S-1-5-21-1-2-3-1001D:(A;;FA;;;WD)", SDDL_REVISION_1, sd, nullptr);
    BOOL present, defaulted;
    return ::GetSecurityDescriptorOwner(*sd, owner, &defaulted), ::GetSecurityDescriptorDacl(*sd, &present, dacl, &defaulted), 0;
}
TEST(SupportFiles, TheSupportFolderEndsWithOnlyTheKitsFiles)
{
    const char* rows[] = {"planted", "in use", "copy fails", "company owned by another", "file for the company folder",
                          "file for the support folder"};
    for (int row = 0; row < 6; ++row) {
        Medium m;
        const std::wstring s = m.in.supportFolder + L"\\", file = m.dir / (row == 4 ? L"pd\\Ostrand" : L"pd\\Ostrand\\Pellgrove");
        if (row >= 4 ? MakeDirectory(file.substr(0, file.rfind(L'\\')).c_str()) != 0 || !WriteBytes(file, "file")
                     : MakeDirectory((s + L"sub\\deep").c_str()) != 0)
            FAIL() << rows[row];
        for (const wchar_t* planted : {L"COMCTL32.dll", L"IPHLPAPI.DLL", L"UxTheme.dll", L"sub\\deep\\x.dll", L"Lorrick.exe", L"Tavik.dll", L"Dorvane.ico"})
            ASSERT_TRUE(row >= 4 || WriteBytes(s + planted, "planted"));
        if (row == 0)
            ::SetFileAttributesW((s + L"Tavik.dll").c_str(), FILE_ATTRIBUTE_READONLY);
        afx::CHandle inUse(row == 1 ? ::CreateFileW((s + L"UxTheme.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) : INVALID_HANDLE_VALUE);
        std::unique_ptr<ImportStandIn> standIn(row == 2 ? new ImportStandIn(L"kernel32.dll", "CopyFileW", &FailCopy)
                                               : row == 3 ? new ImportStandIn(L"advapi32.dll", "GetSecurityInfo", &OtherOwner) : nullptr);
        CFileOperation op;
        bool refused = false;
        try {
            InstallGuideFilesTo(m.in, m.config, op);
        } catch (const Refused&) {
            refused = true;
        }
        EXPECT_EQ(refused, row >= 1) << rows[row];
        EXPECT_EQ(m.Installed(L"readme.txt"), row == 0) << rows[row];
        if (row)
            continue;
        auto names = [&s] {
            std::set<std::wstring> found;
            for (const auto& entry : std::filesystem::directory_iterator(s)) found.insert(entry.path().filename());
            return found;
        };
        std::set<std::wstring> kit = {L"Dorvane.ico", L"Guide", L"Lorrick.exe", L"Other", L"Tavik.dll", L"readme.txt"};
        EXPECT_EQ(names(), kit);
        for (const wchar_t* name : {L"Dorvane.ico", L"Lorrick.exe", L"Tavik.dll"})
            EXPECT_EQ(ReadBytes(s + name).substr(0, 4), "new ") << name;
        // The finder installer after it keeps what this run copied, and copies its own anew.
        ASSERT_TRUE(WriteBytes(s + L"Lorrick.exe", "this run"));
        EXPECT_EQ(InstallFinderFilesTo(m.in, m.config), s + L"Lorrick.exe");
        kit.insert({L"Web.ico", L"Vantry2.ico"});
        EXPECT_EQ(names(), kit);
        EXPECT_EQ(ReadBytes(s + L"Lorrick.exe").substr(0, 4), "new ");
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
    std::wstring unsafe = afx::LoadStrLang(IDS_SUPPORT_FOLDER_UNSAFE, 1033);
    unsafe.replace(unsafe.find(L"%1"), 2, m.dir / L"Ostrand\\Pellgrove");
    const std::wstring internal = afx::LoadStrLang(IDS_INTERNAL_ERROR, 1033), unknown = afx::LoadStrLang(IDS_SUPPORT_FOLDER_UNKNOWN, 1033);
    const std::pair<std::wstring, std::wstring> runs[] = {
        {L"finder \"" + m.dir.Path() + L"\\medium\" \"" + m.in.supportFolder + L"\" Support\\Finder\\Dorvane.ico", internal},
        {L"finder none " + root, unknown}, {L"guide none " + root, unknown}, {L"guide empty " + root, unknown},
        {L"launch none " + root, internal}, {L"launch empty " + root, internal},
        {L"finder refused \"" + m.dir.Path() + L"\"", unsafe}, {L"guide refused \"" + m.dir.Path() + L"\"", unsafe}};
    for (const auto& [args, message] : runs) {
        ProgramRun run(OwnFolder() + L"install_runner.exe", args, m.dir.Path());
        HWND box = run.WaitWindow();
        EXPECT_EQ(box ? MessageText(box) : L"", message) << args;
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
