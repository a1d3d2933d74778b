// Quentari.exe seen from outside: the hand-over to a running copy, its main window and version box.
#include "afx/NamedMutex.h"
#include "tests/support/ProgramRun.h"
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

const wchar_t kMutex1[] = L"{Zev719967F0-DCC6-49b5-9C61-DE91175C3187}";
const wchar_t kMutex2[] = L"{Zev2nd719967F0-DCC6-49b5-9C61-DE91175C3187}";

std::wstring Exe() { return OwnFolder() + L"Quentari.exe"; }

LANGID Language()
{
    const char* expected = std::getenv("KIT_EXPECT_LANGUAGE");
    return expected ? LANGID(std::atoi(expected)) : 1033;
}

std::wstring StringOf(UINT id)
{
    HMODULE m = LoadLibraryExW(Exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC r = m ? FindResourceExW(m, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), Language()) : nullptr;
    const WORD* p = r ? static_cast<const WORD*>(LockResource(LoadResource(m, r))) : nullptr;
    std::wstring s;
    if (p) {
        for (UINT i = 0; i < id % 16; ++i)
            p += 1 + *p;
        s.assign(reinterpret_cast<const wchar_t*>(p + 1), *p);
    }
    if (m)
        FreeLibrary(m);
    return s;
}

HWND MainWindow(const ProgramRun& run)
{
    std::wstring title = StringOf(1);
    return run.WaitWindow([&](HWND h) { return IsDialogWindow(h) && IsWindowVisible(h) && WindowText(h) == title; });
}

void CloseAndWait(ProgramRun& run, HWND main)
{
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitExit(15000), 0u);
}


// Writes what the window shows to build/screenshots/<name>.bmp (KIT_BUILD_DIR), for people to look at.
bool SaveScreenshot(HWND window, const std::wstring& name)
{
    const char* build = std::getenv("KIT_BUILD_DIR");
    if (!build)
        return false;
    std::wstring dir = L"Z:";
    for (const char* c = build; *c; ++c)
        dir += *c == '/' ? L'\\' : wchar_t(*c);
    dir += L"\\screenshots";
    CreateDirectoryW(dir.c_str(), nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(300);
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof(bi);
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    DWORD size = DWORD(((w * 3 + 3) & ~3) * h);
    BITMAPFILEHEADER fh = {0x4D42, DWORD(sizeof(fh) + sizeof(bi) + size), 0, 0, DWORD(sizeof(fh) + sizeof(bi))};
    HANDLE f = CreateFileW((dir + L"\\" + name + L".bmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    bool ok = f != INVALID_HANDLE_VALUE && WriteFile(f, &fh, sizeof(fh), &n, nullptr) &&
              WriteFile(f, &bi, sizeof(bi), &n, nullptr) && WriteFile(f, bits, size, &n, nullptr);
    if (f != INVALID_HANDLE_VALUE)
        CloseHandle(f);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace

TEST(QuentariHandOver, SecondStartBringsTheHiddenOrMinimisedCopyForward)
{
    ProgramRun first(Exe());
    HWND main = MainWindow(first);
    ASSERT_TRUE(main);
    for (int how : {SW_HIDE, SW_MINIMIZE}) {
        ShowWindow(main, how);
        ProgramRun second(Exe());
        EXPECT_TRUE(second.EndsWithoutWindow(15000)) << how;
        EXPECT_TRUE(IsWindowVisible(main)) << how;
        EXPECT_FALSE(IsIconic(main)) << how;
    }
    CloseAndWait(first, main);
}

TEST(QuentariHandOver, StartsThatFindNoWindowToHandOverTo)
{
    afx::CNamedMutex one(kMutex1);
    {
        // Another copy holds the name but shows no window with the title.
        ProgramRun run(Exe());
        HWND box = run.WaitWindow([](HWND h) { return IsDialogWindow(h) && IsWindowVisible(h) && GetDlgItem(h, 0xFFFF); });
        ASSERT_TRUE(box);
        EXPECT_EQ(MessageText(box), StringOf(68));
        Press(box, IDOK);
        EXPECT_EQ(run.WaitExit(15000), 0u);
    }
    // A second copy is handing over already: a third one ends silently.
    afx::CNamedMutex two(kMutex2);
    ProgramRun run(Exe());
    EXPECT_TRUE(run.EndsWithoutWindow(15000));
}

TEST(QuentariLanguage, MainWindowAndVersionBox)
{
    ProgramRun run(Exe());
    HWND main = MainWindow(run);
    ASSERT_TRUE(main) << "no window titled " << std::string(StringOf(1).begin(), StringOf(1).end());
    EXPECT_EQ(ItemText(main, 1013), StringOf(5));
    EXPECT_EQ(ItemText(main, 1015), StringOf(17));
    for (int id : {1011, 1012}) {
        RECT r = {};
        GetWindowRect(GetDlgItem(main, id), &r);
        EXPECT_EQ(r.right - r.left, 93) << id;
    }
    std::wstring lang = std::to_wstring(Language());
    SaveScreenshot(main, L"quentari_main_" + lang);

    // Alt+V, as the keyboard would deliver it.
    PostMessageW(main, WM_SYSKEYDOWN, 'V', 0x20000001);
    HWND box = run.WaitWindow([&](HWND h) { return IsDialogWindow(h) && h != main && IsWindowVisible(h); });
    ASSERT_TRUE(box);
    EXPECT_EQ(ItemText(box, 1029), StringOf(1006));
    SaveScreenshot(box, L"quentari_version_" + lang);
    Press(box, IDOK);

    // Also over a message box, whose loop is the system's: once the first search is done, a setup
    // result without an answer says "no response".
    for (int i = 0; i < 300 && ItemText(main, 1028) != StringOf(102); ++i)
        Sleep(100);
    Sleep(700);  // a timer tick of the idle dialog
    PostMessageW(main, 0x380, 0, 0);
    HWND caution = run.WaitWindow([&](HWND h) { return IsDialogWindow(h) && IsWindowVisible(h) && GetDlgItem(h, 0xFFFF); });
    ASSERT_TRUE(caution);
    PostMessageW(caution, WM_SYSKEYDOWN, 'V', 0x20000001);
    box = run.WaitWindow([&](HWND h) { return IsDialogWindow(h) && IsWindowVisible(h) && GetDlgItem(h, 1029); }, 5000);
    ASSERT_TRUE(box) << "no version box over the message box";
    Press(box, IDOK);
    Press(caution, IDOK);
    Press(main, 1012);
    EXPECT_EQ(run.WaitExit(15000), 0u);
}
