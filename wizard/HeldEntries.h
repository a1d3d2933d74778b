// Entries below a folder the wizard holds open, each acted on through a handle of its own that
// was checked to be the entry itself: never a link, never what a link leads to. Windows shows its
// links by their reparse attribute; Wine shows a Unix link as a plain file or folder, whose
// handle is the target's, so each handle is also asked where it leads.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// "\\?\C:\..." of what the handle is open on, in its long names; empty when the system cannot say.
std::wstring FinalPath(HANDLE entry);

// Opens what stands at `name` in the held folder for `access`, sharing read and write only (held,
// it is neither moved nor removed by anyone else). INVALID_HANDLE_VALUE when nothing is there
// (last error ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND), when it is a link or leads anywhere
// but to the folder's final path and the name (ERROR_CANT_ACCESS_FILE), or cannot be opened.
HANDLE OpenEntry(HANDLE folder, const std::wstring& name, DWORD access);

struct HeldEntry {
    std::wstring name;
    DWORD attributes;
};
// Every entry of the held folder besides "." and "..", read on its handle. False when the
// listing fails before its end: a cut listing is no listing.
bool ListEntries(HANDLE folder, std::vector<HeldEntry>& entries);

// Removes the entry at `name` in the held folder through its checked handle, a folder with what
// it holds. An entry that fails the check stays, and so do the folders above it. False when
// anything of it stays.
bool RemoveEntry(HANDLE folder, const std::wstring& name);
// The same for an entry already open and checked (with DELETE, FILE_LIST_DIRECTORY and
// FILE_WRITE_ATTRIBUTES).
bool RemoveOpenEntry(HANDLE entry);

// Renames the open entry to `newName` in the held folder it stands in; never replaces anything.
bool RenameWithin(HANDLE entry, HANDLE folder, const std::wstring& newName);

// Makes the folder `name` in the held folder with the given security, failing when anything
// stands at that name, and gives its handle for listing and adding, sharing read and write only;
// INVALID_HANDLE_VALUE when it could not be made.
HANDLE MakeFolderIn(HANDLE folder, const std::wstring& name, PSECURITY_DESCRIPTOR security);

// Whether two handles are open on the same file or folder.
bool SameEntry(HANDLE a, HANDLE b);
