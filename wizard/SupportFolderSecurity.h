// The support folder's security: the finder, its library and the guide run from there, and the
// loader takes a library from a program's own folder first, so no other account may add a file.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Owner: this process's account. DACL, protected (nothing inherited from above), each entry
// inherited by subfolders and files: full control for SYSTEM, the Administrators group and this
// process's account, read and execute for Users, nothing for anyone else.
class CSupportFolderSecurity {
public:
    CSupportFolderSecurity();
    CSupportFolderSecurity(const CSupportFolderSecurity&) = delete;
    CSupportFolderSecurity& operator=(const CSupportFolderSecurity&) = delete;

    // False when the account or an entry could not be had; the rest is then unusable.
    bool IsValid() const { return m_valid; }
    PSECURITY_DESCRIPTOR Descriptor() { return &m_descriptor; }
    PSID Owner() { return m_owner.data(); }
    PACL Dacl() { return reinterpret_cast<PACL>(m_dacl.data()); }

private:
    std::vector<BYTE> m_owner;
    std::vector<BYTE> m_dacl;
    SECURITY_DESCRIPTOR m_descriptor = {};
    bool m_valid = false;
};

// Opens the folder itself, never what a link in its place points at: INVALID_HANDLE_VALUE
// when the name is a link, a file, or cannot be opened for the rights asked. While the handle
// is held the folder cannot be renamed or removed, so its name stays on what was checked.
HANDLE OpenFolderItself(const std::wstring& path, DWORD access);

// The company folder is shared with the maker's other products and keeps its own entries; it
// is safe when its owner is SYSTEM, the Administrators group, TrustedInstaller or this
// account, and no entry that applies to the folder itself lets anyone else delete, move or
// re-secure it or what is in it. account: this process's account.
bool IsSafeCompanyFolder(PSID owner, PACL dacl, PSID account);

// Makes the company folder above the support folder when it is missing (with the entries it
// inherits) and checks that it is safe; then makes the support folder with that security from
// the start, or gives it to an existing one on the handle that checked it. Gives that handle,
// for the caller to hold while it works there, or INVALID_HANDLE_VALUE when the support folder
// cannot be made safe: the company folder is unsafe, either name is a link or a file, or the
// folder belongs to another account that keeps us from changing it.
HANDLE SecureSupportFolder(const std::wstring& folder);
