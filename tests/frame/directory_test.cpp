// Recursive folder creation.
#include "frame/Directory.h"
#include "tests/support/ProgramRun.h"

#include <gtest/gtest.h>

namespace {
bool IsFolder(const std::wstring& path)
{
    DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

TEST(MakeDirectory, CreatesEveryMissingParent)
{
    TempDir dir;
    std::wstring deep = dir / L"a\\b\\c\\d";
    EXPECT_EQ(MakeDirectory(deep.c_str()), 0);
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_EQ(MakeDirectory(deep.c_str()), 0);  // existing folder
    std::wstring trailing = dir / L"t\\u\\";
    EXPECT_EQ(MakeDirectory(trailing.c_str()), 0);
    EXPECT_TRUE(IsFolder(dir / L"t\\u"));
}

TEST(MakeDirectory, ExistingFileSucceedsWithoutCreating)
{
    TempDir dir;
    std::wstring file = dir / L"plain";
    ASSERT_TRUE(WriteBytes(file, "x"));
    EXPECT_EQ(MakeDirectory(file.c_str()), 0);
    EXPECT_FALSE(IsFolder(file));
    EXPECT_EQ(MakeDirectory((file + L"\\below").c_str()), -1);  // a file cannot be a parent
}

TEST(MakeDirectory, RefusesNamesWithoutBackslashAndOverlongPaths)
{
    EXPECT_EQ(MakeDirectory(L"kit_no_backslash_here"), -1);
    EXPECT_EQ(GetFileAttributesW(L"kit_no_backslash_here"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(MakeDirectory(L""), -1);
    EXPECT_EQ(MakeDirectory(nullptr), -1);
    TempDir dir;
    std::wstring longPath = dir.Path();
    while (longPath.size() < 300)
        longPath += L"\\abcdefghij";
    EXPECT_EQ(MakeDirectory(longPath.c_str()), -1);
    EXPECT_FALSE(IsFolder(dir / L"abcdefghij"));  // no parent made either
    std::wstring fits = dir / std::wstring(240 - dir.Path().size(), L'f');
    EXPECT_EQ(MakeDirectory(fits.c_str()), 0);
}
