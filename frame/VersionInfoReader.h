// The version strings of a program file.
#pragma once
#include <string>

class CVersionInfoReader {
public:
    // 1 when the version block was read (first translation only), else 0. A key missing from
    // the block, and every field on failure, keeps its previous value.
    int Read(const wchar_t* path);

    std::wstring Comments;
    std::wstring InternalName;
    std::wstring ProductName;
    std::wstring CompanyName;
    std::wstring LegalCopyright;
    std::wstring ProductVersion;
    std::wstring FileDescription;
    std::wstring LegalTradeMarks;
    std::wstring PrivateBuild;
    std::wstring FileVersion;
    std::wstring OriginalFilename;
    std::wstring SpecialBuild;
};
