// The support folder's security: the finder, its library and the guide run from there, and the
// loader takes a library from a program's own folder first, so no other account may add a file.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// What the folder's owner is taken from: the token's account, and whether it is elevated.
struct TokenFacts {
    std::vector<BYTE> user;  // TokenUser's SID; empty when it could not be read
    bool elevated = false;
};
TokenFacts ProcessTokenFacts();

// Owner: the Administrators group for an elevated token (the user's unelevated programs must
// not change what the elevated wizard starts), the token's account otherwise. DACL, protected
// (nothing inherited from above), each entry inherited by subfolders and files: full control for
// SYSTEM, the Administrators group and the owner, read and execute for Users, nothing for anyone
// else.
class CSupportFolderSecurity {
public:
    CSupportFolderSecurity() : CSupportFolderSecurity(ProcessTokenFacts()) {}
    explicit CSupportFolderSecurity(const TokenFacts& token);
    CSupportFolderSecurity(const CSupportFolderSecurity&) = delete;
    CSupportFolderSecurity& operator=(const CSupportFolderSecurity&) = delete;

    // False when the account or an entry could not be had; the rest is then unusable.
    bool IsValid() const { return m_valid; }
    PSECURITY_DESCRIPTOR Descriptor() { return &m_descriptor; }
    PSID Owner() { return m_owner.data(); }
    // The token's own account, elevated or not.
    PSID Account() { return m_account.data(); }
    PACL Dacl() { return reinterpret_cast<PACL>(m_dacl.data()); }

private:
    std::vector<BYTE> m_account;
    std::vector<BYTE> m_owner;
    std::vector<BYTE> m_dacl;
    SECURITY_DESCRIPTOR m_descriptor = {};
    bool m_valid = false;
};

// The company folder is shared with the maker's other products and keeps its own entries; it
// is safe when its owner is SYSTEM, the Administrators group, TrustedInstaller, this account or
// the owner of the common application-data folder above it (appDataOwner, may be null), and no
// entry that applies to the folder itself lets anyone else delete, move or re-secure it or what
// is in it. account: this process's account.
bool IsSafeCompanyFolder(PSID owner, PACL dacl, PSID account, PSID appDataOwner = nullptr);

// Makes the company folder when it is missing (with the entries it inherits), then the support
// folder with the kit's security from the first instant when it is missing; an existing support
// folder is left as it is (the first installer of a run makes it anew).
void MakeSupportFolderIfMissing(const std::wstring& folder);

// Makes the company folder above the support folder when it is missing and opens it while it is
// safe, for listing and adding folders, without sharing delete: held, it cannot be moved away.
// INVALID_HANDLE_VALUE when it is unsafe, a link or a file, or cannot be opened.
HANDLE OpenSafeCompanyFolder(const std::wstring& company, CSupportFolderSecurity& security);
