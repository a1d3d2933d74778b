// The profile-file class: paths beside the program, values and whole sections.
#include "frame/IniFile.h"

#include <vector>

namespace {

std::wstring g_programFolder;
std::wstring g_programBaseName;

struct PathParts {
    std::wstring drive, dir, fname, ext;
};

// Splits like the runtime's path splitter, without its fixed-size limits.
PathParts SplitPath(const std::wstring& path)
{
    PathParts p;
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == L':') {
        p.drive = path.substr(0, 2);
        pos = 2;
    }
    size_t lastSep = path.find_last_of(L"\\/");
    if (lastSep != std::wstring::npos && lastSep >= pos) {
        p.dir = path.substr(pos, lastSep + 1 - pos);
        pos = lastSep + 1;
    }
    std::wstring name = path.substr(pos);
    size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos) {
        p.fname = name;
    } else {
        p.fname = name.substr(0, dot);
        p.ext = name.substr(dot);
    }
    return p;
}

std::wstring FullPath(const std::wstring& path)
{
    DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0)
        return path;
    std::vector<wchar_t> buf(need + 1);
    DWORD got = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (got == 0 || got >= buf.size())
        return path;
    return std::wstring(buf.data(), got);
}

}  // namespace

bool IsExistingFile(const wchar_t* path)
{
    if (!path)
        return false;
    DWORD attr = GetFileAttributesW(path);
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

const std::wstring& ProgramFolder() { return g_programFolder; }
const std::wstring& ProgramBaseName() { return g_programBaseName; }

std::wstring ModulePath()
{
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return std::wstring();
        if (n < buf.size() - 1)
            return std::wstring(buf.data(), n);
        if (buf.size() >= 32768)
            return std::wstring();
        buf.resize(buf.size() * 2);
    }
}

CIniFile::CIniFile(const wchar_t* name)
{
    if (g_programFolder.empty()) {
        PathParts p = SplitPath(ModulePath());
        g_programFolder = p.drive + p.dir;
        g_programBaseName = p.fname;
    }
    BuildPath(m_path, name);
}

CIniFile::~CIniFile() = default;

DWORD CIniFile::GetString(const wchar_t* section, const wchar_t* key, const wchar_t* def,
                          wchar_t* buffer, DWORD size, const wchar_t* path) const
{
    return GetPrivateProfileStringW(section, key, def, buffer, size, PathOr(path));
}

BOOL CIniFile::WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                           const wchar_t* path) const
{
    return WritePrivateProfileStringW(section, key, value, PathOr(path));
}

bool CIniFile::Exists(const wchar_t* path) const
{
    return IsExistingFile(PathOr(path));
}

void CIniFile::BuildPath(std::wstring& out, const wchar_t* name) const
{
    out = BuildPathFrom(ModulePath(), name);
}

std::wstring CIniFile::BuildPathFrom(const std::wstring& modulePath, const wchar_t* name)
{
    PathParts prog = SplitPath(modulePath);
    if (!name)
        return FullPath(prog.drive + prog.dir + prog.fname + L".ini");
    PathParts given = SplitPath(name);
    std::wstring drive = prog.drive;
    std::wstring dir = prog.dir + L"\\";
    if (!given.drive.empty()) {
        drive = given.drive;
        dir.clear();
    }
    dir += given.dir;
    return FullPath(drive + dir + given.fname + given.ext);
}

int CIniFile::ReadSection(std::map<std::wstring, std::wstring>& map, const wchar_t* section,
                          const wchar_t* path) const
{
    map.clear();
    const DWORD kSize = 1024;
    std::vector<wchar_t> names(kSize, L'\0');
    DWORD len = GetString(section, nullptr, L"", names.data(), kSize, path);
    if (len > kSize - 1)
        len = kSize - 1;
    // A list that filled the buffer ends in a name that may have been cut: leave it out.
    const bool cut = len >= kSize - 2;
    for (DWORD i = 0; i < len && names[i] != L'\0';) {
        std::wstring key(&names[i]);
        i += static_cast<DWORD>(key.size()) + 1;
        if (cut && i >= len)
            break;
        map.emplace(key, std::wstring());
    }
    std::vector<wchar_t> value(kSize);
    for (auto& entry : map) {
        value[0] = L'\0';
        DWORD n = GetString(section, entry.first.c_str(), L"", value.data(), kSize, path);
        entry.second.assign(value.data(), n < kSize ? n : kSize - 1);
    }
    return 0;
}
