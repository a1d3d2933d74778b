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

// Gives that security to the company folder above the support folder and then to the support
// folder, making each that is missing with it from the start; existing content below them takes
// the new entries. The company folder goes first: whoever may change it could move the support
// folder away and put another in its place. False when either folder cannot be given it (it
// belongs to another account that keeps us from changing it, say).
bool SecureSupportFolder(const std::wstring& folder);
