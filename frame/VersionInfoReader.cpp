// Reads the version strings of a program file.
#include "frame/VersionInfoReader.h"

#include <windows.h>
#include <cwchar>
#include <vector>

int CVersionInfoReader::Read(const wchar_t* path)
{
    if (!path)
        return 0;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0)
        return 0;
    std::vector<BYTE> block;
    try {
        block.assign(size, 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (!GetFileVersionInfoW(path, 0, size, block.data()))
        return 0;
    WORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        !translation || length < 2 * sizeof(WORD))
        return 0;

    struct Field {
        const wchar_t* key;
        std::wstring* value;
    } fields[] = {
        {L"Comments", &Comments},         {L"InternalName", &InternalName},
        {L"ProductName", &ProductName},   {L"CompanyName", &CompanyName},
        {L"LegalCopyright", &LegalCopyright}, {L"ProductVersion", &ProductVersion},
        {L"FileDescription", &FileDescription}, {L"LegalTradeMarks", &LegalTradeMarks},
        {L"PrivateBuild", &PrivateBuild}, {L"FileVersion", &FileVersion},
        {L"OriginalFilename", &OriginalFilename}, {L"SpecialBuild", &SpecialBuild},
    };
    for (const Field& f : fields) {
        wchar_t query[64];
        swprintf(query, 64, L"\\StringFileInfo\\%04X%04X\\%ls", translation[0], translation[1], f.key);
        wchar_t* text = nullptr;
        UINT chars = 0;
        if (VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &chars) && text)
            f.value->assign(text, wcsnlen(text, chars));
    }
    return 1;
}
