// Profile-file paths, values and sections.
#include "frame/IniFile.h"
#include "tests/support/ProgramRun.h"

#include <gtest/gtest.h>

TEST(IniFile, BuildPathRules)
{
    const std::wstring prog = L"X:\\setup\\Pellgrove.exe";
    EXPECT_EQ(CIniFile::BuildPathFrom(prog, L"Pellgrove.dat"), L"X:\\setup\\Pellgrove.dat");
    EXPECT_EQ(CIniFile::BuildPathFrom(prog, L"sub\\Other.dat"), L"X:\\setup\\sub\\Other.dat");
    EXPECT_EQ(CIniFile::BuildPathFrom(prog, L"..\\up.dat"), L"X:\\up.dat");
    EXPECT_EQ(CIniFile::BuildPathFrom(prog, L"noext"), L"X:\\setup\\noext");
    EXPECT_EQ(CIniFile::BuildPathFrom(prog, L"D:\\conf\\a.ini"), L"D:\\conf\\a.ini");
    EXPECT_EQ(CIniFile::BuildPathFrom(prog, nullptr), L"X:\\setup\\Pellgrove.ini");
    EXPECT_EQ(CIniFile::BuildPathFrom(L"X:\\PellgroveUSB.exe", nullptr), L"X:\\PellgroveUSB.ini");
}

TEST(IniFile, FirstConstructionFillsProgramFolderAndBaseName)
{
    CIniFile ini(L"frame_tests.dat");
    std::wstring module = ModulePath();
    ASSERT_FALSE(module.empty());
    size_t slash = module.rfind(L'\\');
    EXPECT_EQ(ProgramFolder(), module.substr(0, slash + 1));
    EXPECT_EQ(ProgramBaseName(), L"frame_tests");
    EXPECT_EQ(ini.Path(), ProgramFolder() + L"frame_tests.dat");
    CIniFile none;
    EXPECT_EQ(none.Path(), ProgramFolder() + L"frame_tests.ini");
}

TEST(IniFile, ReadSectionReadsEveryKeyOfARealFile)
{
    TempDir dir;
    std::wstring path = dir / L"Pellgrove.dat";
    ASSERT_TRUE(WriteBytes(path, Utf16Bytes(L"[Pellgrove]\r\nModel=DV-1\r\nShow_NTP=on\r\n"
                                            L"Empty=\r\nShow_Guide=  \r\n[EnglishUS]\r\n"
                                            L"Dorvane=Name \x65E5\x672C\r\n", true)));
    CIniFile ini;
    std::map<std::wstring, std::wstring> map{{L"stale", L"x"}};
    EXPECT_EQ(ini.ReadSection(map, L"pellgrove", path.c_str()), 0);
    std::map<std::wstring, std::wstring> want{
        {L"Model", L"DV-1"}, {L"Show_NTP", L"on"}, {L"Empty", L""}, {L"Show_Guide", L""}};
    EXPECT_EQ(map, want);
    ini.ReadSection(map, L"EnglishUS", path.c_str());
    EXPECT_EQ(map, (std::map<std::wstring, std::wstring>{{L"Dorvane", L"Name \x65E5\x672C"}}));
    ini.ReadSection(map, L"Missing", path.c_str());
    EXPECT_TRUE(map.empty());
    ini.ReadSection(map, L"Pellgrove", (dir / L"absent.dat").c_str());
    EXPECT_TRUE(map.empty());
}

TEST(IniFile, ReadSectionCutsLongValuesAndDropsACutKeyName)
{
    TempDir dir;
    std::wstring path = dir / L"long.dat";
    std::wstring text = L"[s]\r\nlong=" + std::wstring(1500, L'v') + L"\r\n";
    // 60 keys of 20 characters overflow the 1024-character key list.
    for (int i = 0; i < 60; ++i) {
        wchar_t key[32];
        swprintf(key, 32, L"key_%015d", i);
        text += std::wstring(key) + L"=1\r\n";
    }
    ASSERT_TRUE(WriteBytes(path, Utf16Bytes(text, true)));
    CIniFile ini;
    std::map<std::wstring, std::wstring> map;
    ini.ReadSection(map, L"s", path.c_str());
    ASSERT_EQ(map.count(L"long"), 1u);
    EXPECT_EQ(map[L"long"], std::wstring(1023, L'v'));
    ASSERT_GT(map.size(), 40u);
    for (const auto& entry : map) {
        if (entry.first == L"long")
            continue;
        EXPECT_EQ(entry.first.size(), 19u) << "cut key name seen";
        EXPECT_EQ(entry.second, L"1");
    }
}

TEST(IniFile, WriteStringAndExistsUseTheOwnPathByDefault)
{
    TempDir dir;
    CIniFile ini;
    ini.SetPath(dir / L"own.ini");
    EXPECT_FALSE(ini.Exists());
    EXPECT_TRUE(ini.WriteString(L"s", L"k", L"v"));
    EXPECT_TRUE(ini.Exists());
    wchar_t buf[16];
    EXPECT_EQ(ini.GetString(L"s", L"k", L"", buf, 16), 1u);
    EXPECT_STREQ(buf, L"v");
    EXPECT_FALSE(ini.Exists(dir.Path().c_str()));  // a folder is not a file
    EXPECT_FALSE(IsExistingFile(nullptr));
}
