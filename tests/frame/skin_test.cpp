// Skinned page, picture buttons and label font on real windows, checked by the pixels they paint.
#include "afx/BitmapResource.h"
#include "afx/DataExchange.h"
#include "afx/ResourceLanguage.h"
#include "frame/PellgroveButton.h"
#include "frame/PellgroveDialog.h"
#include "tests/support/ProgramRun.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <memory>

namespace {

const UINT kTemplate = 100;
const UINT kBackground = 135;                          // adapter page
const UINT kOk[] = {163, 164, 165, 166};               // normal, selected, focus, disabled
const UINT kBack[] = {167, 168, 169, 170};
const UINT kEdit[] = {171, 172, 173, 174};
const UINT kMissing = 9999;
using Longs = std::vector<LONG>;  // several sizes or places checked at once

class TestPage : public CPellgroveDialog {
public:
    TestPage(HWND parent, UINT background) : CPellgroveDialog(kTemplate, parent), m_backgroundId(background) {}
    CPellgroveButton m_one, m_two, m_missing, m_four;
    std::vector<HWND> Labels() const { return m_labels; }

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override
    {
        UINT id = 1001;
        for (CPellgroveButton* b : {&m_one, &m_two, &m_missing, &m_four})
            afx::DDX_Control(pDX, id++, *b);
    }
    bool OnInitDialog() override
    {
        CPellgroveDialog::OnInitDialog();
        SetBackground(m_backgroundId);
        ApplySkin();
        m_one.SetBitmaps(kOk[0], kOk[1], kOk[2], kOk[3]);
        m_two.SetBitmaps(kBack[0], kBack[1], kBack[2], kBack[3]);
        m_missing.SetBitmaps(kMissing, 0, 0, 0);
        m_four.SetBitmaps(kEdit[0], kEdit[1], kEdit[2], kEdit[3]);
        m_one.MoveTo(445, 315);
        m_two.MoveTo(15, 315);
        m_four.MoveTo(260, 315);
        for (int i = 0; i < 4; ++i)
            ::MoveWindow(GetDlgItem(UINT(1010 + i)), 245, 155 + 30 * i, 150, 20, TRUE);
        return true;
    }

private:
    UINT m_backgroundId;
};

void Pump(DWORD ms)
{
    MSG msg;
    for (DWORD end = ::GetTickCount() + ms; LONG(::GetTickCount() - end) < 0; ::Sleep(5))
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
}

// A mouse event at a screen point, then `pumpMs` of messages served.
void Mouse(DWORD flags, POINT screen, DWORD pumpMs = 100)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = screen.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = screen.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(in));
    Pump(pumpMs);
}

POINT ScreenOf(HWND w, int x, int y)
{
    POINT p{x, y};
    return ::ClientToScreen(w, &p), p;
}

// A memory copy of what a window or a bitmap shows.
class Pixels {
public:
    explicit Pixels(HWND w) : Pixels(w, nullptr) {}
    explicit Pixels(UINT bitmapId) : Pixels(nullptr, afx::LoadBitmapResource(bitmapId)) {}
    ~Pixels() { if (m_old) ::SelectObject(m_dc, m_old); ::DeleteObject(m_bmp); ::DeleteDC(m_dc); }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    SIZE Size() const { BITMAP bm{}; ::GetObjectW(m_bmp, sizeof(bm), &bm); return {bm.bmWidth, bm.bmHeight}; }
    void Save(const std::wstring& path) const;

private:
    Pixels(HWND w, HBITMAP bmp) : m_bmp(bmp)
    {
        HDC screen = ::GetDC(w);
        m_dc = ::CreateCompatibleDC(screen);
        if (w) {
            RECT r = {};
            ::GetClientRect(w, &r);
            m_bmp = ::CreateCompatibleBitmap(screen, r.right, r.bottom);
            m_old = ::SelectObject(m_dc, m_bmp);
            ::BitBlt(m_dc, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
        } else if (m_bmp) {
            m_old = ::SelectObject(m_dc, m_bmp);
        }
        ::ReleaseDC(w, screen);
    }
    HDC m_dc;
    HBITMAP m_bmp;
    HGDIOBJ m_old = nullptr;
};

void Pixels::Save(const std::wstring& path) const
{
    SIZE s = Size();
    BITMAPINFOHEADER h{sizeof(h), s.cx, s.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string bits(size_t((s.cx * 3 + 3) / 4 * 4) * size_t(s.cy), '\0');
    ::SelectObject(m_dc, m_old);  // GetDIBits wants the bitmap out of the DC
    ::GetDIBits(m_dc, m_bmp, 0, UINT(s.cy), &bits[0], reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS);
    ::SelectObject(m_dc, m_bmp);
    BITMAPFILEHEADER f{0x4D42, DWORD(sizeof(f) + sizeof(h) + bits.size()), 0, 0, DWORD(sizeof(f) + sizeof(h))};
    std::string bytes(reinterpret_cast<const char*>(&f), sizeof(f));
    bytes.append(reinterpret_cast<const char*>(&h), sizeof(h));
    WriteBytes(path, bytes + bits);
}

// A point inside the button pictures where all the given pictures differ.
POINT DistinctPoint(std::initializer_list<UINT> ids)
{
    std::vector<std::unique_ptr<Pixels>> pics;
    for (UINT id : ids)
        pics.emplace_back(new Pixels(id));
    SIZE s = pics[0]->Size();
    for (int y = s.cy / 2; y < s.cy; ++y)
        for (int x = s.cx / 2; x < s.cx; ++x) {
            bool distinct = true;
            for (size_t i = 0; i < pics.size(); ++i)
                for (size_t j = i + 1; j < pics.size(); ++j)
                    distinct = distinct && pics[i]->At(x, y) != pics[j]->At(x, y);
            if (distinct)
                return {x, y};
        }
    return {-1, -1};
}

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = ::CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP | WS_VISIBLE, 100, 40, 800, 600, nullptr,
                                     nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_parent);
    }
    void TearDown() override
    {
        m_page.reset();
        ::DestroyWindow(m_parent);
        afx::SetResourceLanguage(1033);
        ::SetThreadLocale(MAKELCID(1033, SORT_DEFAULT));
    }
    TestPage& Open(UINT background)
    {
        m_page.reset(new TestPage(m_parent, background));
        LARGE_INTEGER f, t0, t1;
        ::QueryPerformanceFrequency(&f);
        ::QueryPerformanceCounter(&t0);
        EXPECT_TRUE(m_page->Create());
        ::SetWindowPos(*m_page, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        ::UpdateWindow(*m_page);
        ::QueryPerformanceCounter(&t1);
        m_page->SetForegroundWindow();
        m_openMs = double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(f.QuadPart);
        Pump(100);
        return *m_page;
    }
    // Repaints a window now and reads what it shows at (x, y).
    static COLORREF Shown(HWND w, POINT p)
    {
        ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return Pixels(w).At(p.x, p.y);
    }
    HWND m_parent = nullptr;
    std::unique_ptr<TestPage> m_page;
    double m_openMs = 0;
};

TEST_F(SkinTest, PageIsItsPictureCentredOnItsParentWithLabelsDrawnOnIt)
{
    TestPage& page = Open(kBackground);
    Pixels background(kBackground);
    SIZE size = background.Size();
    RECT w = page.GetWindowRect(), c = page.GetClientRect();  // client: no caption, no border
    EXPECT_EQ((Longs{w.right - w.left, w.bottom - w.top, c.right, w.left, w.top}),
              (Longs{size.cx, size.cy, size.cx, 100 + 400 - size.cx / 2, 40 + 300 - size.cy / 2}));

    Pixels shown(page);
    for (POINT p : {POINT{5, 5}, POINT{size.cx - 3, size.cy - 3}})
        EXPECT_EQ(background.At(p.x, p.y), shown.At(p.x, p.y));
    // Texts of the collected labels are on the picture; the hidden one without SS_NOTIFY is not.
    auto inked = [&](int x0, int y0) {
        int n = 0;
        for (int y = y0; y < y0 + 20; ++y)
            for (int x = x0; x < x0 + 150; ++x)
                n += shown.At(x, y) != background.At(x, y);
        return n;
    };
    EXPECT_TRUE(inked(245, 155) > 20 && inked(245, 185) > 20);
    EXPECT_EQ(0, inked(245, 215));
    EXPECT_EQ(2u, page.Labels().size());
    EXPECT_TRUE(!::IsWindowVisible(page.GetDlgItem(1010)) && ::IsWindowVisible(page.GetDlgItem(1013)));

    // Buttons take their pictures' size; one without its normal picture keeps its template size.
    EXPECT_EQ(Pixels(kOk[0]).Size().cx, page.m_one.GetWindowRect().right - page.m_one.GetWindowRect().left);
    RECT missing = page.m_missing.GetWindowRect();
    EXPECT_NE(Pixels(kOk[0]).Size().cx, missing.right - missing.left);
    EXPECT_EQ(BS_OWNERDRAW, page.m_missing.GetStyle() & BS_TYPEMASK);
}

TEST_F(SkinTest, MissingBackgroundLeavesThePlainDialog)
{
    TestPage& page = Open(kMissing);
    EXPECT_FALSE(page.IsSkinned());
    EXPECT_TRUE(page.GetStyle() & WS_CAPTION);
    EXPECT_TRUE(::IsWindowVisible(page.GetDlgItem(1010)));
    POINT inside = ScreenOf(page, 5, 60);
    EXPECT_EQ(HTCLIENT, page.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)));
}

TEST_F(SkinTest, DraggingAnyPointMovesThePageAndRecordsIt)
{
    TestPage& page = Open(kBackground);
    RECT tracked{}, before = page.GetWindowRect();
    page.RecordMovesInto(&tracked);
    POINT from = ScreenOf(page, 120, 200), to{from.x + 60, from.y + 40};
    Mouse(0, from, 50);
    Mouse(MOUSEEVENTF_LEFTDOWN, from, 0);
    Mouse(0, {from.x + 30, from.y + 20}, 0);
    Mouse(0, to, 0);
    Mouse(MOUSEEVENTF_LEFTUP, to, 400);
    RECT after = page.GetWindowRect();
    EXPECT_EQ((Longs{after.left, after.top, tracked.left, tracked.bottom}),
              (Longs{before.left + 60, before.top + 40, after.left, after.bottom}));
}

TEST_F(SkinTest, ButtonShowsItsStatePicturesOnlyWhileTheMouseIsOverIt)
{
    TestPage& page = Open(kBackground);
    POINT p = DistinctPoint({kOk[0], kOk[1], kOk[2]});
    ASSERT_GE(p.x, 0);
    Pixels normal(kOk[0]), selected(kOk[1]), focus(kOk[2]);
    HWND one = page.m_one;
    Mouse(0, ScreenOf(page, 300, 200));
    EXPECT_EQ(normal.At(p.x, p.y), Shown(one, p));

    Mouse(0, ScreenOf(one, 20, 20));
    EXPECT_TRUE(page.m_one.IsHovering());
    EXPECT_EQ(one, ::GetFocus());
    EXPECT_EQ(focus.At(p.x, p.y), Shown(one, p));
    Mouse(MOUSEEVENTF_LEFTDOWN, ScreenOf(one, 21, 20));
    EXPECT_EQ(selected.At(p.x, p.y), Shown(one, p));
    Mouse(MOUSEEVENTF_LEFTUP, ScreenOf(one, 21, 20), 0);

    // Wine looks for the leave on a timer: wait for the normal picture to come back.
    Mouse(0, ScreenOf(page, 300, 200), 0);
    for (int i = 0; i < 100 && Shown(one, p) != normal.At(p.x, p.y); ++i)
        Pump(20);
    EXPECT_FALSE(page.m_one.IsHovering());
    EXPECT_EQ(one, ::GetFocus());  // leaving does not move the focus back
    EXPECT_EQ(normal.At(p.x, p.y), Shown(one, p));

    // A disabled button gets no cursor messages: its normal picture stays.
    page.m_two.EnableWindow(false);
    POINT q = DistinctPoint({kBack[0], kBack[3]});
    Mouse(0, ScreenOf(page.m_two, 30, 20));
    EXPECT_EQ(Pixels(kBack[0]).At(q.x, q.y), Shown(page.m_two, q));
}

// Pages whose pictures are files beside the program: the same look, pictures read at run time.
TEST_F(SkinTest, PicturesFromFiles)
{
    TempDir dir;
    Pixels(kBackground).Save(dir / L"back.bmp");
    std::wstring f[4];
    for (int i = 0; i < 4; ++i)
        Pixels(kEdit[i]).Save(f[i] = dir / (std::to_wstring(i) + L".bmp"));
    TestPage& page = Open(kMissing);
    EXPECT_FALSE(page.LoadBackground((dir / L"none.bmp").c_str()));
    EXPECT_TRUE(page.LoadBackground((dir / L"back.bmp").c_str()));
    page.ApplySkin();
    EXPECT_TRUE(page.IsSkinned());
    EXPECT_EQ(Pixels(kBackground).Size().cx, page.GetClientRect().right);

    CPellgroveButton& four = page.m_four;
    std::wstring missing = dir / L"gone.bmp";
    ::SetWindowPos(four, nullptr, 0, 0, 5, 5, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(four.LoadBitmapFiles(f[0].c_str(), f[1].c_str(), missing.c_str(), f[3].c_str()));
    EXPECT_EQ(missing, four.GetFailedFile());
    RECT sized = four.GetWindowRect();  // still sized to the first picture
    EXPECT_EQ((Longs{Pixels(kEdit[0]).Size().cx, Pixels(kEdit[0]).Size().cy}),
              (Longs{sized.right - sized.left, sized.bottom - sized.top}));
    ASSERT_TRUE(four.LoadBitmapFiles(f[0].c_str(), f[1].c_str(), f[2].c_str(), f[3].c_str()));
    four.MoveTo(260, 315);

    // Hovered and pressed with the focus: the focus picture wins over the selected one.
    POINT p = DistinctPoint({kEdit[0], kEdit[1], kEdit[2]});
    Mouse(0, ScreenOf(four, 20, 20));
    Mouse(MOUSEEVENTF_LEFTDOWN, ScreenOf(four, 21, 20));
    EXPECT_EQ(Pixels(kEdit[2]).At(p.x, p.y), Shown(four, p));
    Mouse(MOUSEEVENTF_LEFTUP, ScreenOf(four, 21, 20), 0);
}

TEST_F(SkinTest, ScreenshotsInEnglishAndJapanese)
{
    std::wstring dir = OwnFolder() + L"..\\screenshots\\";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    for (LANGID lang : {LANGID(1033), LANGID(1041)}) {
        afx::SetResourceLanguage(lang);
        ::SetThreadLocale(MAKELCID(lang, SORT_DEFAULT));
        TestPage& page = Open(kBackground);
        std::printf("skinned page with four buttons (%u): created and shown in %.1f ms\n", lang, m_openMs);
        if (lang == 1041) {
            page.SetDlgItemText(1010, L"\x88FD\x54C1\x540D");  // product name
            page.InvalidateLabels();
        }
        page.m_missing.ShowWindow(SW_HIDE);  // owner-drawn without pictures: it paints nothing
        Pump(50);
        Pixels(page).Save(dir + (lang == 1033 ? L"skin_page_en.bmp" : L"skin_page_ja.bmp"));
    }
}

}  // namespace
