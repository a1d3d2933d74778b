// Reading version strings from program files.
#include "frame/IniFile.h"
#include "frame/VersionInfoReader.h"

#include <gtest/gtest.h>

namespace {
std::wstring Beside(const wchar_t* name)
{
    std::wstring module = ModulePath();
    return module.substr(0, module.rfind(L'\\') + 1) + name;
}
}  // namespace

TEST(VersionInfoReader, ReadsAllTwelveStringsInTheirFields)
{
    CVersionInfoReader v;
    ASSERT_EQ(v.Read(Beside(L"version_one.dll").c_str()), 1);
    std::wstring got[] = {v.Comments, v.InternalName, v.ProductName, v.CompanyName,
                          v.LegalCopyright, v.ProductVersion, v.FileDescription,
                          v.LegalTradeMarks, v.PrivateBuild, v.FileVersion,
                          v.OriginalFilename, v.SpecialBuild};
    const wchar_t* want[] = {L"comments", L"internal", L"product", L"company", L"copyright",
                             L"1.2.3.4", L"description", L"trademarks", L"private", L"1.2",
                             L"version_one.dll", L"special"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(got[i], want[i]);
}

TEST(VersionInfoReader, UsesOnlyTheFirstTranslationAndKeepsMissingKeys)
{
    CVersionInfoReader v;
    v.CompanyName = L"kept";
    ASSERT_EQ(v.Read(Beside(L"version_two.dll").c_str()), 1);
    EXPECT_EQ(v.FileDescription, L"first translation");
    EXPECT_EQ(v.ProductName, L"first product");
    EXPECT_EQ(v.CompanyName, L"kept");
}

TEST(VersionInfoReader, FileWithoutVersionInfoLeavesAllEmpty)
{
    CVersionInfoReader v;
    EXPECT_EQ(v.Read(ModulePath().c_str()), 0);
    EXPECT_EQ(v.Read(Beside(L"no_such_file.dll").c_str()), 0);
    EXPECT_EQ(v.Read(nullptr), 0);
    for (const std::wstring* s : {&v.Comments, &v.InternalName, &v.ProductName, &v.CompanyName,
                                  &v.LegalCopyright, &v.ProductVersion, &v.FileDescription,
                                  &v.LegalTradeMarks, &v.PrivateBuild, &v.FileVersion,
                                  &v.OriginalFilename, &v.SpecialBuild})
        EXPECT_TRUE(s->empty());
}
