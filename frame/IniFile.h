// Profile (ini) file access and the program-wide program folder and base name.
#pragma once
#include <windows.h>
#include <map>
#include <string>

// True when the path exists and is not a folder.
bool IsExistingFile(const wchar_t* path);

// Drive and folder of the running program, ending in a backslash; empty until the first
// CIniFile has been constructed.
const std::wstring& ProgramFolder();
// The running program's file name without extension; empty until the first CIniFile.
const std::wstring& ProgramBaseName();

// Full path of the running program (any length); empty when it cannot be read.
std::wstring ModulePath();

class CIniFile {
public:
    // The first construction in the process fills ProgramFolder and ProgramBaseName.
    explicit CIniFile(const wchar_t* name = nullptr);
    virtual ~CIniFile();

    // GetPrivateProfileStringW on path, or on the own path when path is null.
    virtual DWORD GetString(const wchar_t* section, const wchar_t* key, const wchar_t* def,
                            wchar_t* buffer, DWORD size, const wchar_t* path = nullptr) const;
    // WritePrivateProfileStringW, same path rule; a null value removes the key.
    virtual BOOL WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                             const wchar_t* path = nullptr) const;
    virtual bool Exists(const wchar_t* path = nullptr) const;
    // A full path for name relative to the running program (see BuildPathFrom).
    virtual void BuildPath(std::wstring& out, const wchar_t* name) const;
    // Every key of the section with its value (values beyond 1023 characters arrive cut);
    // the map is emptied first. Returns 0.
    virtual int ReadSection(std::map<std::wstring, std::wstring>& map, const wchar_t* section,
                            const wchar_t* path = nullptr) const;

    // The path rule of BuildPath for a given program path: no name gives the program's own
    // path with ".ini"; a plain name lies in the program folder; a name's folder is taken
    // below the program folder; a name with a drive keeps its own drive and folder.
    static std::wstring BuildPathFrom(const std::wstring& modulePath, const wchar_t* name);

    const std::wstring& Path() const { return m_path; }
    void SetPath(const std::wstring& path) { m_path = path; }

private:
    const wchar_t* PathOr(const wchar_t* path) const { return path ? path : m_path.c_str(); }

    std::wstring m_path;
};
