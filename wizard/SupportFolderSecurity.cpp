// The support folder's security: only SYSTEM, the administrators and the account that set the
// device up may change what is there.
#include "wizard/SupportFolderSecurity.h"
#include "afx/Handle.h"
#include "frame/Directory.h"
#include "wizard/HeldEntries.h"
#include "wizard/SizedQuery.h"
#include <memory>
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

// The token's account (not a group it may be in).
std::vector<BYTE> TokenAccount(HANDLE token)
{
    std::vector<unsigned char> user = QuerySized([token](void* buffer, ULONG* size) {
        DWORD got = *size;
        BOOL ok = ::GetTokenInformation(token, TokenUser, buffer, got, &got);
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

TokenFacts ProcessTokenFacts()
{
    TokenFacts facts;
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return facts;
    afx::CHandle owned(token);
    facts.user = TokenAccount(owned);
    TOKEN_ELEVATION elevation = {};
    DWORD size = sizeof(elevation);
    facts.elevated = ::GetTokenInformation(owned, TokenElevation, &elevation, size, &size) && elevation.TokenIsElevated;
    return facts;
}

// Not the token's default owner: that may be a group (as under Wine) that no folder reads back.
CSupportFolderSecurity::CSupportFolderSecurity(const TokenFacts& token)
    : m_account(token.user), m_owner(token.elevated ? WellKnownSid(WinBuiltinAdministratorsSid) : token.user)
{
    const DWORD full = FILE_ALL_ACCESS, readRun = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
    std::vector<std::pair<std::vector<BYTE>, DWORD>> entries = {
        {WellKnownSid(WinLocalSystemSid), full},
        {WellKnownSid(WinBuiltinAdministratorsSid), full},
        {m_owner, full},
        {WellKnownSid(WinBuiltinUsersSid), readRun},
    };
    if (m_owner == entries[1].first)
        entries.erase(entries.begin() + 2);
    DWORD size = sizeof(ACL);
    for (const auto& [sid, mask] : entries) {
        if (sid.empty() || m_account.empty())
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

bool IsSafeCompanyFolder(PSID owner, PACL dacl, PSID account, PSID appDataOwner)
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
               ::IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
               (appDataOwner && ::IsValidSid(appDataOwner) && ::EqualSid(sid, appDataOwner));
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

// The owner and entries of what the handle is open on (with READ_CONTROL); freed with LocalFree.
PSECURITY_DESCRIPTOR ReadSecurity(HANDLE handle, PSID* owner, PACL* dacl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, owner, nullptr,
                          dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return nullptr;
    return descriptor;
}

struct LocalFreer {
    void operator()(void* p) const { ::LocalFree(p); }
};

}  // namespace

HANDLE OpenSafeCompanyFolder(const std::wstring& company, CSupportFolderSecurity& security)
{
    const size_t cut = company.find_last_of(L'\\');
    if (cut == std::wstring::npos || !security.IsValid())
        return INVALID_HANDLE_VALUE;
    // Missing, it is made as before, with what it inherits from the common application data,
    // whose owner is the system's (or, under Wine, the user's).
    MakeDirectory(company.c_str());
    afx::CHandle appData(::CreateFileW(company.substr(0, cut).c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    PSID appDataOwner = nullptr, owner = nullptr;
    PACL dacl = nullptr;
    std::unique_ptr<void, LocalFreer> above(appData.IsValid() ? ReadSecurity(appData, &appDataOwner, &dacl) : nullptr);
    afx::CHandle folder(appData.IsValid() ? OpenEntry(appData, company.substr(cut + 1),
                                                      FILE_LIST_DIRECTORY | FILE_ADD_SUBDIRECTORY | FILE_TRAVERSE | READ_CONTROL)
                                          : INVALID_HANDLE_VALUE);
    BY_HANDLE_FILE_INFORMATION info;
    if (!folder.IsValid() || !::GetFileInformationByHandle(folder, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return INVALID_HANDLE_VALUE;
    std::unique_ptr<void, LocalFreer> read(ReadSecurity(folder, &owner, &dacl));
    if (!read || !IsSafeCompanyFolder(owner, dacl, security.Account(), above ? appDataOwner : nullptr))
        return INVALID_HANDLE_VALUE;
    return folder.Detach();
}

void MakeSupportFolderIfMissing(const std::wstring& folder)
{
    const size_t cut = folder.find_last_of(L'\\');
    if (cut == std::wstring::npos || ::GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    MakeDirectory(folder.substr(0, cut).c_str());
    CSupportFolderSecurity security;
    SECURITY_ATTRIBUTES made = {sizeof(made), security.Descriptor(), FALSE};
    if (security.IsValid())
        ::CreateDirectoryW(folder.c_str(), &made);
}
