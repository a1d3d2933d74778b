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

bool SecureSupportFolder(const std::wstring& folder)
{
    const size_t cut = folder.find_last_of(L'\\');
    const std::wstring company = cut == std::wstring::npos ? std::wstring() : folder.substr(0, cut);
    const size_t above = company.find_last_of(L'\\');
    CSupportFolderSecurity security;
    if (above == std::wstring::npos || !security.IsValid())
        return false;
    // The common application-data folder itself is the system's; it normally exists.
    MakeDirectory(company.substr(0, above).c_str());
    for (const std::wstring& path : {company, folder}) {
        SECURITY_ATTRIBUTES made = {sizeof(made), security.Descriptor(), FALSE};
        ::CreateDirectoryW(path.c_str(), &made);
        // A link put in its place would take the entries to a folder elsewhere, and whoever made
        // it could point it anew.
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return false;
        // Taking the ownership too: an owner may always change the entries again.
        if (::SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                                    OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                        PROTECTED_DACL_SECURITY_INFORMATION,
                                    security.Owner(), nullptr, security.Dacl(), nullptr) != ERROR_SUCCESS)
            return false;
    }
    return true;
}
