// The support-file installers on a scratch medium and support folder; the fatal exit of the
// real installer through the runner program.
#include "tests/completion/OwnShare.h"
#include "tests/completion/ShellFolderStandIn.h"
#include "tests/support/ProgramRun.h"
#include "resources/pellgrove/resource.h"
#include "afx/Handle.h"
#include "afx/ResourceLanguage.h"
#include "frame/Directory.h"
#include "wizard/HeldEntries.h"
#include "wizard/SupportFiles.h"
#include "wizard/SupportFolderSecurity.h"
#include <aclapi.h>
#include <sddl.h>
#include <winternl.h>
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
    ~Medium() { ReleaseSupportFolder(in.supportFolder); }
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
// Who owns what the kit makes: the Administrators group for an elevated token (as Wine's may be).
Sid KitOwner()
{
    HANDLE token = nullptr;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const bool elevated = ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) &&
                          ::GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) && elevation.TokenIsElevated;
    ::CloseHandle(token);
    return elevated ? WellKnown(WinBuiltinAdministratorsSid) : OwnAccount();
}
// The owner and the entries a descriptor gives, checked against the kit's: these accounts only
// (so Users, Authenticated Users, Everyone and CREATOR OWNER may not write, append, delete or
// change entries), each inherited by everything below, nothing from above.
void ExpectKitSecurity(PSECURITY_DESCRIPTOR sd, const Sid& owner)
{
    const std::map<Sid, DWORD> rows = {
        {WellKnown(WinLocalSystemSid), FILE_ALL_ACCESS}, {WellKnown(WinBuiltinAdministratorsSid), FILE_ALL_ACCESS},
        {owner, FILE_ALL_ACCESS}, {WellKnown(WinBuiltinUsersSid), FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}};
    std::map<Sid, DWORD> granted;
    PSID got = nullptr;
    PACL dacl = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(sd && ::GetSecurityDescriptorOwner(sd, &got, &defaulted) && ::GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) &&
                ::GetSecurityDescriptorControl(sd, &control, &revision));
    ACCESS_ALLOWED_ACE* ace = nullptr;
    for (DWORD i = 0; dacl && ::GetAce(dacl, i, reinterpret_cast<void**>(&ace)); ++i) {
        EXPECT_EQ(std::make_pair(ace->Header.AceType, ace->Header.AceFlags),
                  std::make_pair(BYTE(ACCESS_ALLOWED_ACE_TYPE), BYTE(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)));
        granted[SidAt(&ace->SidStart)] |= ace->Mask;
    }
    EXPECT_EQ(granted, rows);
    EXPECT_EQ(got ? SidAt(got) : Sid(), owner);
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
}
// Stands in for NtCreateFile and checks how the installers make the support folder: made now
// (never one that was there), in the held company folder, with the kit's security from the
// first instant, and before the first copy.
std::vector<std::wstring> g_made;
std::wstring g_company, g_firstCopy;
NTSTATUS NTAPI CheckMaking(PHANDLE made, ACCESS_MASK access, POBJECT_ATTRIBUTES at, PIO_STATUS_BLOCK io, PLARGE_INTEGER size,
                           ULONG attributes, ULONG share, ULONG disposition, ULONG options, PVOID ea, ULONG eaSize)
{
    static auto real = reinterpret_cast<decltype(&CheckMaking)>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtCreateFile"));
    g_made.emplace_back(at->ObjectName->Buffer, at->ObjectName->Length / sizeof(wchar_t));
    EXPECT_EQ(disposition, ULONG(FILE_CREATE));
    EXPECT_EQ(share & FILE_SHARE_DELETE, 0u);
    EXPECT_TRUE(access & FILE_LIST_DIRECTORY);
    EXPECT_EQ(FinalPath(at->RootDirectory), L"\\\\?\\" + g_company);
    ExpectKitSecurity(at->SecurityDescriptor, KitOwner());
    EXPECT_EQ(ReadBytes(g_firstCopy), "") << "copied before making the folder";
    return real(made, access, at, io, size, attributes, share, disposition, options, ea, eaSize);
}

// Runs a command of the Unix shell, which Wine shows its links as plain entries to; false when
// it did not end within 10 s.
std::string UnixPath(const std::wstring& path)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    std::string text = unix ? unix : "";
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return "'" + text + "'";
}
bool UnixShell(const TempDir& dir, const std::string& command)
{
    const std::wstring marker = dir / L"shell.done";
    ::DeleteFileW(marker.c_str());
    std::wstring line = Widen("/bin/sh -c \"" + command + " && touch " + UnixPath(marker) + "\"");
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    ::CloseHandle(pi.hThread), ::CloseHandle(pi.hProcess);
    for (int i = 0; i < 200 && ::GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(50);
    return ::DeleteFileW(marker.c_str()) != FALSE;
}

}  // namespace

// Each run makes the support folder anew, whichever installer comes first and whether an
// earlier run left one, with the kit's security from the first instant. The owner is the
// account's, or the Administrators group's when the token is elevated: the user's unelevated
// programs may not change what the elevated wizard starts.
TEST(SupportFiles, EachRunMakesTheSupportFolderAnewWithTheKitsSecurity)
{
    ImportStandIn making(L"ntdll.dll", "NtCreateFile", &CheckMaking);
    ASSERT_TRUE(making.Patched());
    for (int run = 0; run < 4; ++run) {
        Medium m;
        if (run >= 2 && (MakeDirectory((m.in.supportFolder + L"\\Guide").c_str()) || !WriteBytes(m.in.supportFolder + L"\\Guide\\old.gif", "old")))
            FAIL() << "no support folder as an earlier run leaves it";
        g_company = FolderPart(m.in.supportFolder).substr(0, FolderPart(m.in.supportFolder).size() - 1);
        g_firstCopy = m.in.supportFolder + (run % 2 ? L"\\readme.txt" : L"\\Dorvane.ico");
        g_made.clear();
        CFileOperation op;
        run % 2 ? InstallGuideFilesTo(m.in, m.config, op) : (void)InstallFinderFilesTo(m.in, m.config);
        EXPECT_EQ(g_made, std::vector<std::wstring>{L"Pellgrove"}) << "run " << run;
        EXPECT_NE(ReadBytes(g_firstCopy), "") << "run " << run;
        EXPECT_FALSE(FolderExists(m.in.supportFolder + L"\\Guide\\old.gif")) << "run " << run;
    }
    const Sid account = L"S-1-5-21-1-2-3-1001";
    for (const auto& [elevated, owner] : {std::make_pair(false, account), std::make_pair(true, WellKnown(WinBuiltinAdministratorsSid))}) {
        PSID user = nullptr;
        ASSERT_TRUE(::ConvertStringSidToSidW(account.c_str(), &user));
        CSupportFolderSecurity security({std::vector<BYTE>(static_cast<BYTE*>(user), static_cast<BYTE*>(user) + ::GetLengthSid(user)), elevated});
        ::LocalFree(user);
        ASSERT_TRUE(security.IsValid());
        ExpectKitSecurity(security.Descriptor(), owner);
    }
}

// The company folder is the maker's, shared with its other products: kept as it is while its
// owner is trusted (the system's accounts, this account, the common application data's owner) and
// nobody else may delete, move or re-secure it; refused otherwise.
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
        {L"O:SY", false}, {L"O:S-1-5-21-9-9-9-1000D:" + shared, true}};
    BYTE account[SECURITY_MAX_SID_SIZE];
    PSID own = nullptr, appDataOwner = nullptr;
    ASSERT_TRUE(::ConvertStringSidToSidW(L"S-1-5-21-9-9-9-1000", &appDataOwner));
    ASSERT_TRUE(::ConvertStringSidToSidW(OwnAccount().c_str(), &own));
    ::CopySid(sizeof(account), account, own), ::LocalFree(own);
    for (const auto& [sddl, safe] : rows) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        PSID owner = nullptr;
        PACL dacl = nullptr;
        BOOL present = FALSE, defaulted = FALSE;
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr)) << sddl;
        ::GetSecurityDescriptorOwner(sd, &owner, &defaulted), ::GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted);
        EXPECT_EQ(IsSafeCompanyFolder(owner, present ? dacl : nullptr, account, appDataOwner), safe) << sddl;
        ::LocalFree(sd);
    }
    ::LocalFree(appDataOwner);
}

// What stays below the support folder must be the kit's own. The folder is made anew: whatever
// stood at its name (planted libraries, a subfolder, an older read-only finder, a file, a folder
// another account holds open) goes aside and is removed as far as it can be, the finder files an
// earlier install left come anew from the medium. A link is never moved, emptied or removed
// through: one at the folder's name is refused, and what links inside lead to stays whole.
// Refused before anything changes: a company folder another account owns or a file in its
// place, a cut listing, a medium that lacks a finder file to copy back. A copy that fails too.
BOOL WINAPI FailCopy(LPCWSTR, LPCWSTR, BOOL) { return ::SetLastError(ERROR_ACCESS_DENIED), FALSE; }
DWORD WINAPI OtherOwner(HANDLE, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID* owner, PSID*, PACL* dacl, PACL*, PSECURITY_DESCRIPTOR* sd)
{
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:S-1-5-21-1-2-3-1001D:(A;;FA;;;WD)", SDDL_REVISION_1, sd, nullptr);
    BOOL present, defaulted;
    return ::GetSecurityDescriptorOwner(*sd, owner, &defaulted), ::GetSecurityDescriptorDacl(*sd, &present, dacl, &defaulted), 0;
}
BOOL WINAPI CutListing(HANDLE h, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size)
{
    static auto real = reinterpret_cast<decltype(&CutListing)>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetFileInformationByHandleEx"));
    return kind == FileIdBothDirectoryInfo ? (::SetLastError(ERROR_ACCESS_DENIED), FALSE) : real(h, kind, info, size);
}
TEST(SupportFiles, TheSupportFolderEndsWithOnlyTheKitsFiles)
{
    enum Outcome { kInstalled, kKept, kRefused };
    const struct { const char* name; Outcome outcome; bool oldStays; } rows[] = {
        {"planted", kInstalled, false}, {"in use", kInstalled, true}, {"copy fails", kRefused, false},
        {"company owned by another", kKept, false}, {"file for the company folder", kKept, false},
        {"file for the support folder", kInstalled, false}, {"held open by another", kInstalled, false},
        {"links inside", kInstalled, true}, {"link for the support folder", kKept, false},
        {"dangling link for the support folder", kKept, false}, {"finder missing on the medium", kKept, false},
        {"cut listing", kKept, false}};
    auto names = [](const std::wstring& folder) {
        std::set<std::wstring> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) found.insert(entry.path().filename());
        return found;
    };
    for (int row = 0; row < 12; ++row) {
        SCOPED_TRACE(rows[row].name);
        Medium m;
        const std::wstring s = m.in.supportFolder + L"\\", company = m.dir / L"pd\\Ostrand", user = m.dir / L"user";
        const bool planted = row != 4 && row != 5 && row != 8 && row != 9;
        ASSERT_EQ(MakeDirectory((planted ? s + L"sub\\deep" : company).c_str()) + MakeDirectory(user.c_str()), 0);
        ASSERT_TRUE(WriteBytes(user + L"\\keep.txt", "user") && WriteBytes(user + L".txt", "user"));
        ASSERT_TRUE(row != 4 || (RemoveTree(company) && WriteBytes(company, "file")));
        ASSERT_TRUE(row != 5 || WriteBytes(m.in.supportFolder, "file"));
        for (const wchar_t* file : {L"COMCTL32.dll", L"IPHLPAPI.DLL", L"UxTheme.dll", L"sub\\deep\\x.dll", L"Lorrick.exe", L"Tavik.dll", L"Dorvane.ico"})
            ASSERT_TRUE(!planted || WriteBytes(s + file, "planted"));
        ::SetFileAttributesW((s + L"Tavik.dll").c_str(), row == 0 ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        afx::CHandle inUse(row == 1 ? ::CreateFileW((s + L"UxTheme.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) : INVALID_HANDLE_VALUE);
        // Another account's handle on the folder, opened before the install: it must not reach the new one.
        afx::CHandle other(row == 6 ? ::CreateFileW(s.c_str(), FILE_LIST_DIRECTORY | FILE_ADD_FILE | WRITE_DAC, 7, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr) : INVALID_HANDLE_VALUE);
        const std::string u = UnixPath(user), f = UnixPath(user + L".txt"), nowhere = UnixPath(m.dir / L"nowhere");
        ASSERT_TRUE(row != 7 || (::DeleteFileW((s + L"Tavik.dll").c_str()) &&
                                 UnixShell(m.dir, "cd " + UnixPath(s) + " && ln -s " + u + " lnkdir && ln -s " + f + " lnkfile && ln -s " + f + " Tavik.dll && ln -s " + nowhere + " dangling")));
        ASSERT_TRUE((row != 8 && row != 9) || UnixShell(m.dir, "ln -s " + (row == 8 ? u : nowhere) + " " + UnixPath(m.in.supportFolder)));
        ASSERT_TRUE(row != 10 || ::DeleteFileW((m.in.programFolder + L"Support\\Finder\\Lorrick.exe").c_str()));
        std::unique_ptr<ImportStandIn> standIn(row == 2 ? new ImportStandIn(L"kernel32.dll", "CopyFileW", &FailCopy)
                                               : row == 3 ? new ImportStandIn(L"advapi32.dll", "GetSecurityInfo", &OtherOwner)
                                               : row == 11 ? new ImportStandIn(L"kernel32.dll", "GetFileInformationByHandleEx", &CutListing) : nullptr);
        CFileOperation op;
        bool refused = false, missing = false;
        try {
            InstallGuideFilesTo(m.in, m.config, op);
        } catch (const Refused&) {
            refused = true;
        } catch (const Missing&) {
            missing = true;
        }
        standIn.reset();
        EXPECT_EQ(refused, rows[row].outcome != kInstalled && row != 10);
        EXPECT_EQ(missing, row == 10);
        EXPECT_EQ(m.Installed(L"readme.txt"), rows[row].outcome == kInstalled);
        EXPECT_TRUE(rows[row].outcome != kKept || !planted || ReadBytes(s + L"Lorrick.exe") == "planted") << "changed before the refusal";
        EXPECT_EQ(ReadBytes(user + L".txt") + ReadBytes(user + L"\\keep.txt"), "useruser");
        EXPECT_EQ(names(user), std::set<std::wstring>{L"keep.txt"});
        if (row >= 7 && row <= 9) {
            EXPECT_TRUE(UnixShell(m.dir, "find " + UnixPath(m.dir.Path()) + " -type l -delete"));
        }
        if (rows[row].outcome != kInstalled)
            continue;
        // The finder's files come back only where an earlier install left them.
        std::set<std::wstring> kit = {L"Guide", L"Other", L"readme.txt"};
        for (const wchar_t* name : {L"Dorvane.ico", L"Lorrick.exe", L"Tavik.dll"})
            if (planted) {
                kit.insert(name);
                EXPECT_EQ(ReadBytes(s + name).substr(0, 4), "new ") << name;
            }
        EXPECT_EQ(names(s), kit);
        if (row == 6) {
            afx::CHandle made(::CreateFileW(s.c_str(), FILE_READ_ATTRIBUTES, 7, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
            EXPECT_FALSE(SameEntry(made, other));
            other.Reset();  // the old folder goes with its last handle
        }
        const std::set<std::wstring> inCompany = names(company);
        EXPECT_EQ(inCompany.size(), rows[row].oldStays ? 2u : 1u);
        EXPECT_TRUE(rows[row].oldStays <= (inCompany.size() == 2 && inCompany.rbegin()->rfind(L"Pellgrove.old-", 0) == 0));
        if (row)
            continue;
        // The finder installer after it keeps what this run copied, and copies its own anew.
        ASSERT_TRUE(WriteBytes(s + L"Lorrick.exe", "this run"));
        EXPECT_EQ(InstallFinderFilesTo(m.in, m.config), s + L"Lorrick.exe");
        kit.insert({L"Web.ico", L"Vantry2.ico"});
        EXPECT_EQ(names(s), kit);
        EXPECT_EQ(ReadBytes(s + L"Lorrick.exe").substr(0, 4), "new ");
        // A name that no longer leads to the held folder: nothing more goes there, nor starts from there.
        ASSERT_TRUE(UnixShell(m.dir, "mv " + UnixPath(m.in.supportFolder) + " " + UnixPath(company + L"\\moved") + " && mkdir " + UnixPath(m.in.supportFolder)));
        EXPECT_THROW(InstallGuideFilesTo(m.in, m.config, op), Refused);
        EXPECT_EQ(names(s), std::set<std::wstring>());
        EXPECT_FALSE(SupportFolderStillHeld(m.in.supportFolder));
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

// A missing source leaves nothing copied; a shell that gives no common
// application-data folder, or an empty one, touches nothing and starts nothing on the drive the
// wizard works on: not its \Guide, nor a guide planted where the support folder would be; nor
// does one where the support folder cannot be made.
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
    // A guide where the support folder would be, which no installer of this run made: never started.
    ASSERT_EQ(MakeDirectory((m.dir / L"Ostrand\\Pellgrove\\Guide").c_str()), 0);
    ASSERT_TRUE(::CopyFileW((OwnFolder() + L"install_runner.exe").c_str(), (m.dir / L"Ostrand\\Pellgrove\\Guide\\Marrowick.exe").c_str(), TRUE));
    const std::pair<std::wstring, std::wstring> runs[] = {
        {L"launch refused \"" + m.dir.Path() + L"\"", unsafe},
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
    EXPECT_FALSE(m.Installed(L"Dorvane.ico")) << "nothing is copied before every source is found";
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
