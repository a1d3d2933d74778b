// Shell copy and delete through the file-operation class.
#include "frame/FileOperation.h"
#include "tests/support/ImportStandIn.h"
#include "tests/support/ProgramRun.h"

#include <gtest/gtest.h>

namespace {
bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

TEST(FileOperation, CopiesAFolderIntoAMissingTargetAndDeletesIt)
{
    TempDir dir;
    std::wstring src = dir / L"Guide";
    ASSERT_TRUE(CreateDirectoryW(src.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((src + L"\\pic").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(src + L"\\Marrowick.exe", "exe"));
    ASSERT_TRUE(WriteBytes(src + L"\\pic\\1.gif", "gif"));

    CFileOperation op;
    std::wstring target = dir / L"Ostrand\\Pellgrove\\Guide";
    EXPECT_EQ(op.Copy(src.c_str(), target.c_str(), 0), 1);
    EXPECT_EQ(ReadBytes(target + L"\\Marrowick.exe"), "exe");
    EXPECT_EQ(ReadBytes(target + L"\\pic\\1.gif"), "gif");

    EXPECT_EQ(op.Delete(target.c_str()), 1);
    EXPECT_FALSE(Exists(target));
    EXPECT_TRUE(Exists(src + L"\\pic\\1.gif"));
}

TEST(FileOperation, CopiesFolderContentsByWildcard)
{
    TempDir dir;
    std::wstring src = dir / L"Other";
    ASSERT_TRUE(CreateDirectoryW(src.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(src + L"\\a.txt", "a"));
    ASSERT_TRUE(WriteBytes(src + L"\\b.txt", "b"));
    CFileOperation op;
    std::wstring target = dir / L"support";
    EXPECT_EQ(op.Copy((src + L"\\*").c_str(), target.c_str()), 1);
    EXPECT_EQ(ReadBytes(target + L"\\a.txt"), "a");
    EXPECT_EQ(ReadBytes(target + L"\\b.txt"), "b");
    EXPECT_FALSE(Exists(target + L"\\Other"));
}

// The shell reports success when the user skipped or cancelled a part in its own error box.
int WINAPI AbortedPart(LPSHFILEOPSTRUCTW op) { return op->fAnyOperationsAborted = TRUE, 0; }

TEST(FileOperation, BadInputOrAnAbortedPartFailsWithoutTouchingAnything)
{
    TempDir dir;
    CFileOperation op;
    EXPECT_EQ(op.Copy(nullptr, dir.Path().c_str()), 0);
    EXPECT_EQ(op.Copy(L"", dir.Path().c_str()), 0);
    EXPECT_EQ(op.Copy(dir.Path().c_str(), L""), 0);
    EXPECT_EQ(op.Delete(nullptr), 0);
    EXPECT_EQ(op.Delete(L""), 0);
    EXPECT_TRUE(Exists(dir.Path()));
    ImportStandIn aborted(L"shell32.dll", "SHFileOperationW", &AbortedPart);
    ASSERT_TRUE(aborted.Patched());
    EXPECT_EQ(op.Copy(dir.Path().c_str(), (dir / L"copy").c_str()), 0);
    EXPECT_EQ(op.Delete((dir / L"copy").c_str()), 0);
}
