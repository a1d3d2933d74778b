// The support folder's security: only SYSTEM, the administrators and the account that set the
// device up may change what is there.
#include "wizard/SupportFolderSecurity.h"
#include "afx/Handle.h"
#include "frame/Directory.h"
#include "wizard/SizedQuery.h"
#include <aclapi.h>

namespace {

std::vector<BYTE> WellKnownSid(WELL_KNOWN_SID_TYPE type)
{
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = DWORD(sid.size());
    if (!::CreateWellKnownSid(type, nullptr, sid.data(), &size))
        return {};
    sid.resize(size);
    return sid;
}

// The account the process runs as (not a group it may be in).
std::vector<BYTE> ProcessAccountSid()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    afx::CHandle owned(token);
    std::vector<unsigned char> user = QuerySized([&owned](void* buffer, ULONG* size) {
        DWORD got = *size;
        BOOL ok = ::GetTokenInformation(owned, TokenUser, buffer, got, &got);
        *size = got;
        return ok ? DWORD(ERROR_SUCCESS) : ::GetLastError();
    });
    if (user.empty())
        return {};
    PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    if (!::IsValidSid(sid))
        return {};
    const auto* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + ::GetLengthSid(sid));
}

}  // namespace

CSupportFolderSecurity::CSupportFolderSecurity() : m_owner(ProcessAccountSid())
{
    const DWORD full = FILE_ALL_ACCESS, readRun = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
    const std::pair<std::vector<BYTE>, DWORD> entries[] = {
        {WellKnownSid(WinLocalSystemSid), full},
        {WellKnownSid(WinBuiltinAdministratorsSid), full},
        {m_owner, full},
        {WellKnownSid(WinBuiltinUsersSid), readRun},
    };
    DWORD size = sizeof(ACL);
    for (const auto& [sid, mask] : entries) {
        if (sid.empty())
            return;
        size += DWORD(sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + sid.size());
    }
    m_dacl.resize(size);
    if (!::InitializeAcl(Dacl(), size, ACL_REVISION))
        return;
    for (const auto& [sid, mask] : entries)
        if (!::AddAccessAllowedAceEx(Dacl(), ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, mask,
                                     const_cast<BYTE*>(sid.data())))
            return;
    m_valid = ::InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) &&
              ::SetSecurityDescriptorOwner(&m_descriptor, Owner(), FALSE) &&
              ::SetSecurityDescriptorDacl(&m_descriptor, TRUE, Dacl(), FALSE) &&
              ::SetSecurityDescriptorControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
}

HANDLE OpenFolderItself(const std::wstring& path, DWORD access)
{
    HANDLE folder = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    if (folder != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(folder, &info) &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY)
        return folder;
    if (folder != INVALID_HANDLE_VALUE)
        ::CloseHandle(folder);
    return INVALID_HANDLE_VALUE;
}

bool IsSafeCompanyFolder(PSID owner, PACL dacl, PSID account)
{
    // NT SERVICE\TrustedInstaller.
    static SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    BYTE installer[SECURITY_MAX_SID_SIZE];
    const DWORD installerRids[] = {80, 956008885, 3425870976, 2149541937, 1525355285, 4047580946};
    ::InitializeSid(installer, &nt, 6);
    for (int i = 0; i < 6; ++i)
        *::GetSidSubAuthority(installer, i) = installerRids[i];
    auto trusted = [&](PSID sid) {
        return ::EqualSid(sid, account) || ::EqualSid(sid, installer) || ::IsWellKnownSid(sid, WinLocalSystemSid) ||
               ::IsWellKnownSid(sid, WinBuiltinAdministratorsSid);
    };
    // A NULL DACL lets everyone do everything.
    if (!owner || !::IsValidSid(owner) || !trusted(owner) || !dacl)
        return false;
    const DWORD takeAway = DELETE | FILE_DELETE_CHILD | WRITE_DAC | WRITE_OWNER | GENERIC_ALL;
    ACE_HEADER* ace = nullptr;
    for (DWORD i = 0; ::GetAce(dacl, i, reinterpret_cast<void**>(&ace)); ++i) {
        const DWORD mask = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->Mask;
        switch (ace->AceType) {
        case ACCESS_DENIED_ACE_TYPE:
        case ACCESS_DENIED_OBJECT_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_ACE_TYPE:
            continue;
        }
        if ((ace->AceFlags & INHERIT_ONLY_ACE) || !(mask & takeAway))
            continue;
        // Entries of other kinds name their account elsewhere: taken as granting to anyone.
        if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE)
            return false;
        PSID sid = &reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
        // CREATOR OWNER stands for whoever makes a file below and is in no account's token.
        if (!trusted(sid) && !::IsWellKnownSid(sid, WinCreatorOwnerSid))
            return false;
    }
    return true;
}

namespace {

// The company folder's handle while it is safe: held, it cannot be moved away meanwhile.
HANDLE OpenSafeCompanyFolder(const std::wstring& company, PSID account)
{
    // Missing, it is made as before, with what it inherits from the common application data.
    MakeDirectory(company.c_str());
    afx::CHandle folder(OpenFolderItself(company, READ_CONTROL));
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!folder.IsValid() || ::GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                               &owner, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return INVALID_HANDLE_VALUE;
    const bool safe = IsSafeCompanyFolder(owner, dacl, account);
    ::LocalFree(descriptor);
    return safe ? folder.Detach() : INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE SecureSupportFolder(const std::wstring& folder)
{
    const size_t cut = folder.find_last_of(L'\\');
    const std::wstring company = cut == std::wstring::npos ? std::wstring() : folder.substr(0, cut);
    const size_t above = company.find_last_of(L'\\');
    CSupportFolderSecurity security;
    if (above == std::wstring::npos || !security.IsValid())
        return INVALID_HANDLE_VALUE;
    // The common application-data folder itself is the system's; it normally exists.
    MakeDirectory(company.substr(0, above).c_str());
    afx::CHandle companyHeld(OpenSafeCompanyFolder(company, security.Owner()));
    if (!companyHeld.IsValid())
        return INVALID_HANDLE_VALUE;
    SECURITY_ATTRIBUTES made = {sizeof(made), security.Descriptor(), FALSE};
    ::CreateDirectoryW(folder.c_str(), &made);
    // Checked and changed on one handle: a name that another account turns into a link between
    // the two would otherwise take our entries, and our ownership, to the link's target.
    afx::CHandle held(OpenFolderItself(folder, READ_CONTROL | WRITE_DAC | WRITE_OWNER));
    // Taking the ownership too: an owner may always change the entries again.
    if (!held.IsValid() ||
        ::SetSecurityInfo(held, SE_FILE_OBJECT,
                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                          security.Owner(), nullptr, security.Dacl(), nullptr) != ERROR_SUCCESS)
        return INVALID_HANDLE_VALUE;
    return held.Detach();
}
