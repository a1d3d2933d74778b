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
    EXPECT_EQ(v.Comments, L"comments");
    EXPECT_EQ(v.InternalName, L"internal");
    EXPECT_EQ(v.ProductName, L"product");
    EXPECT_EQ(v.CompanyName, L"company");
    EXPECT_EQ(v.LegalCopyright, L"copyright");
    EXPECT_EQ(v.ProductVersion, L"1.2.3.4");
    EXPECT_EQ(v.FileDescription, L"description");
    EXPECT_EQ(v.LegalTradeMarks, L"trademarks");
    EXPECT_EQ(v.PrivateBuild, L"private");
    EXPECT_EQ(v.FileVersion, L"1.2");
    EXPECT_EQ(v.OriginalFilename, L"version_one.dll");
    EXPECT_EQ(v.SpecialBuild, L"special");
}

TEST(VersionInfoReader, UsesOnlyTheFirstTranslationAndKeepsMissingKeys)
{
    CVersionInfoReader v;
    v.CompanyName = L"kept";
    ASSERT_EQ(v.Read(Beside(L"version_two.dll").c_str()), 1);
    EXPECT_EQ(v.FileDescription, L"first translation");
    EXPECT_EQ(v.ProductName, L"first product");
    EXPECT_EQ(v.CompanyName, L"kept");
    EXPECT_EQ(v.Comments, L"");
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
