// The picture control in a real window: still pictures, frame timing, disposal, stopping, refusals.
#include "guide/PictureDecoder.h"
#include "guide/PictureEx.h"
#include "tests/guide/GifBuilder.h"
#include "tests/support/ProgramRun.h"
#include <gtest/gtest.h>
#include <chrono>
#include <functional>
#include <new>

namespace {
const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

// A visible window holding one picture control.
struct Host {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 320, 320, nullptr, nullptr,
                                    nullptr, nullptr);
    HWND control = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 8, 8, window, HMENU(1),
                                     nullptr, nullptr);
    CPictureEx picture;
    Host() { ::OleInitialize(nullptr); picture.SubclassDlgItem(1, window); }
    ~Host() { ::DestroyWindow(window); }

    BOOL LoadBytes(const Bytes& b)
    {
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, b.size() ? b.size() : 1);
        memcpy(::GlobalLock(block), b.data(), b.size());
        ::GlobalUnlock(block);
        BOOL ok = picture.Load(block, DWORD(b.size()));
        ::GlobalFree(block);
        return ok;
    }
    // Serves messages until `done` holds or ms pass.
    bool WaitFor(const std::function<bool()>& done, DWORD ms = 4000)
    {
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms; ::Sleep(5)) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
            if (done())
                return true;
        }
        return false;
    }
    bool Shows(int x, int y, COLORREF c) { return picture.GetCanvasPixel(x, y) == c; }
};
}  // namespace

TEST(PictureEx, OneImageIsAStillPictureOfTheScreenSize)
{
    Host h;
    ASSERT_TRUE(h.LoadBytes(Header(6, 5) + Image(1, 1, 2, 2, 1) + ";"));
    EXPECT_FALSE(h.picture.IsAnimation());
    EXPECT_EQ(h.picture.GetCanvasSize().cx, 6);
    RECT r = h.picture.GetClientRect();
    EXPECT_EQ(r.right, 6);  // the control takes the canvas size
    EXPECT_EQ(r.bottom, 5);
    EXPECT_TRUE(h.picture.Draw());
    EXPECT_TRUE(h.Shows(1, 1, kRed));
}

// Frame 0 (top left, red) stays, frame 1 (top right, green) is cleared, frame 2 (the left half,
// blue) gives back what it covered, frame 3 (reaching past the bottom right corner, green) is
// drawn clipped and stays until the loop clears the canvas. The delays are ten minutes long and
// every frame is stepped to, so that no state can pass unseen on a slow machine.
TEST(PictureEx, DisposalMethodsInOrder)
{
    Host h;
    ASSERT_TRUE(h.LoadBytes(Header(4, 4) + LoopExtension() + Gce(60000, 1) + Image(0, 0, 2, 2, 1) + Gce(60000, 2) +
                            Image(2, 0, 2, 2, 2) + Gce(60000, 3) + Image(0, 0, 2, 4, 3) + Gce(60000, 1) +
                            Image(2, 2, 3, 3, 2) + ";"));
    ASSERT_TRUE(h.picture.IsAnimation());
    const COLORREF first = h.picture.GetCanvasPixel(0, 0), back = ::GetSysColor(COLOR_BTNFACE);
    // Steps the animation on, then gives the test for the corners it should show.
    auto is = [&h](COLORREF topLeft, COLORREF topRight, COLORREF bottomLeft, COLORREF bottomRight, LONG steps = 1) {
        h.picture.StepFrames(steps);
        return [=, &h] {
            return h.Shows(0, 0, topLeft) && h.Shows(3, 0, topRight) && h.Shows(0, 3, bottomLeft) &&
                   h.Shows(3, 3, bottomRight);
        };
    };
    h.picture.Draw();
    EXPECT_TRUE(h.WaitFor(is(kRed, kGreen, first, first)));
    EXPECT_TRUE(h.WaitFor(is(kBlue, back, kBlue, first)));
    EXPECT_TRUE(h.WaitFor(is(kRed, back, first, kGreen)));
    EXPECT_TRUE(h.WaitFor(is(kRed, back, back, back)));  // the second round starts on a cleared canvas
    // Stopped under frame 2 and started again, frame 2 gives back what that round left under it.
    ASSERT_TRUE(h.WaitFor(is(kBlue, back, kBlue, back, 2)));
    EXPECT_TRUE(h.picture.IsPlaying());
    h.picture.Stop();
    EXPECT_FALSE(h.picture.IsPlaying());
    h.picture.Draw();
    EXPECT_TRUE(h.WaitFor(is(kRed, back, kBlue, kGreen, 3)));
}

TEST(PictureEx, ShortDelaysRunAtATenthOfASecond)
{
    const std::pair<unsigned, DWORD> waits[] = {{0, 100}, {2, 100}, {4, 100}, {5, 50}, {100, 1000}};
    for (const auto& [delay, ms] : waits)
        EXPECT_EQ(CPictureEx::FrameWaitMs(delay), ms) << delay;
    // A file of such delays shows its two frames in turn, 100 ms each: red is still up when first
    // seen, so the third blue comes 400 ms or more after that look, however busy the machine.
    Host h;
    ASSERT_TRUE(h.LoadBytes(Header(2, 2) + Gce(2, 1) + Image(0, 0, 2, 2, 1) + Gce(4, 1) + Image(0, 0, 2, 2, 3) + ";"));
    h.picture.Draw();
    DWORD firstRed = 0, look = 0;
    for (COLORREF c : {kRed, kBlue, kRed, kBlue, kRed, kBlue}) {
        ASSERT_TRUE(h.WaitFor([&] { look = ::GetTickCount(); return h.Shows(0, 0, c); }, 10000));
        firstRed = firstRed ? firstRed : look;
    }
    EXPECT_GE(::GetTickCount() - firstRed, 400u - 16u);  // less one tick of the clock
}

TEST(PictureEx, StopCutsALongDelayShort)
{
    Host h;
    ASSERT_TRUE(h.LoadBytes(Header(2, 2) + Gce(6000, 0) + Image(0, 0, 2, 2, 1) + Gce(6000, 0) + Image(0, 0, 2, 2, 2) + ";"));
    h.picture.Draw();
    ASSERT_TRUE(h.WaitFor([&] { return h.picture.IsPlaying() && h.Shows(0, 0, kRed); }));
    DWORD start = ::GetTickCount();
    h.picture.UnLoad();
    EXPECT_LT(::GetTickCount() - start, 1000u);
    EXPECT_FALSE(h.picture.IsPlaying());
    EXPECT_FALSE(h.picture.Draw());
}

TEST(PictureEx, BrokenPicturesAreRefused)
{
    Bytes good = Header(4, 4) + Gce(5, 0) + Image(0, 0, 4, 4, 1) + Gce(5, 0) + Image(0, 0, 4, 4, 2) + ";";
    const Bytes bad[] = {
        "", "BM" + Bytes(60, '\x7F'), "not a picture at all", good.substr(0, 20),
        Header(4, 4) + Image(0, 0, 5000, 1, 1) + ";",  // wider than any screen
    };
    Host h;
    for (const Bytes& b : bad) {
        EXPECT_FALSE(h.LoadBytes(b)) << b.size();
        EXPECT_FALSE(h.picture.Draw());
        EXPECT_EQ(h.picture.GetCanvasPixel(0, 0), CLR_INVALID);
    }
    EXPECT_FALSE(h.picture.Load(L"Z:\\no\\such\\picture.gif"));
}

// Files decoded on two workers: each is announced once by message, and Wait hands the results
// out in list order, as a Load of the file would have found them, for this thread to show. A
// decoding that throws counts as a file that did not load; a frame wider than any screen is left
// out, and a file left with one frame shows it as a still, whichever frame was dropped.
TEST(PictureDecoder, AnnouncesEveryFileAndHandsOutTheResultsInOrder)
{
    TempDir dir;
    const Bytes two = Header(4, 4) + Gce(5, 0) + Image(0, 0, 4, 4, 1) + Image(0, 0, 4097, 1, 2) + Gce(5, 0) + Image(0, 0, 4, 4, 2) + ";";
    WriteBytes(dir / L"two.gif", two);
    WriteBytes(dir / L"cut.gif", two.substr(0, 20));
    WriteBytes(dir / L"one.gif", Header(6, 5) + Image(1, 1, 2, 2, 3) + ";");
    const Bytes wide = Gce(5, 0) + Image(0, 0, 4097, 1, 2);
    WriteBytes(dir / L"blue-wide.gif", Header(100, 100) + Gce(5, 0) + Image(0, 0, 100, 100, 3) + wide + ";");
    WriteBytes(dir / L"wide-blue.gif", Header(120, 110) + wide + Gce(5, 0) + Image(20, 10, 100, 100, 3) + ";");
    // A frame whose code size no decoder takes, then a blue one.
    WriteBytes(dir / L"bad-blue.gif", Header(4, 4) + Bytes("\x2C\0\0\0\0\4\0\4\0\0\x0C\x01\xFF\0", 14) + Image(2, 2, 2, 2, 3) + ";");
    const std::vector<std::wstring> files = {dir / L"two.gif", dir / L"none.gif", dir / L"cut.gif", L"throws",
                                             dir / L"one.gif", dir / L"blue-wide.gif", dir / L"wide-blue.gif",
                                             dir / L"bad-blue.gif"};
    Host h;
    const UINT kDecoded = 0x37F;
    CPictureDecoder decoder(files, h.window, kDecoded, 2, [](const std::wstring& file, TDecodedPicture& out) {
        return file == L"throws" ? throw std::bad_alloc() : CPictureEx::Decode(file.c_str(), out); });
    std::vector<int> announced(files.size());
    const DWORD start = ::GetTickCount();
    for (size_t seen = 0; seen < files.size() && ::GetTickCount() - start < 5000;) {
        MSG msg;
        if (::PeekMessageW(&msg, h.window, kDecoded, kDecoded, PM_REMOVE))
            seen += ++announced.at(msg.wParam) == 1;
        else
            ::Sleep(5);
    }
    ASSERT_EQ(announced, std::vector<int>(files.size(), 1));  // else a Wait below would never end
    const bool decodes[] = {true, false, false, false, true, true, true, true};
    // A still, once drawn, shows blue at the corners of its image and not beside it.
    const std::pair<RECT, POINT> stills[] = {{}, {}, {}, {}, {{1, 1, 3, 3}, {-1, -1}}, {{0, 0, 100, 100}, {-1, -1}},
                                             {{20, 10, 120, 110}, {19, 9}}, {{2, 2, 4, 4}, {1, 1}}};
    for (size_t i = 0; i < files.size(); ++i) {
        TDecodedPicture picture;
        EXPECT_EQ(decoder.Wait(i, picture), decodes[i]) << i;
        EXPECT_EQ(h.picture.Load(std::move(picture)), BOOL(decodes[i])) << i;
        EXPECT_EQ(h.picture.IsAnimation(), i == 0) << i;
        const auto& [r, beside] = stills[i];
        EXPECT_TRUE(::IsRectEmpty(&r) || (h.picture.Draw() && h.Shows(r.left, r.top, kBlue) &&
                                          h.Shows(r.right - 1, r.bottom - 1, kBlue) && !h.Shows(beside.x, beside.y, kBlue))) << i;
    }
}

// The sample guide's 60 pictures, as the guide loads them behind its wait dialog.
TEST(PictureEx, SampleGuideLoadsQuickly)
{
    std::wstring folder = OwnFolder() + L"..\\guide-art\\Marrowick\\";
    static Host hosts[3];
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    int loaded = 0;
    size_t frames = 0;
    double kindMs[3] = {};
    for (int n = 1; n <= 20; ++n) {
        const std::wstring names[] = {L"GUIDE_C" + std::to_wstring(n) + L".gif", L"GUIDE" + std::to_wstring(n) + L".bmp",
                                      L"STEP" + std::to_wstring(n) + L".bmp"};
        for (int k = 0; k < 3; ++k) {
            const Clock::time_point before = Clock::now();
            loaded += hosts[k].picture.Load((folder + names[k]).c_str());
            kindMs[k] += std::chrono::duration<double, std::milli>(Clock::now() - before).count();
            frames += k == 0 ? hosts[k].picture.GetFrameCount() : 0;
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("[ measure  ] 60 guide pictures (%u animation frames) loaded in %.0f ms (GIF %.0f, GUIDE %.0f, STEP %.0f)\n",
                unsigned(frames), ms, kindMs[0], kindMs[1], kindMs[2]);
    EXPECT_EQ(loaded, 60);
    EXPECT_GE(frames, 20u * 4);
    EXPECT_LT(ms, 3000.0);
    EXPECT_EQ(hosts[0].picture.GetCanvasSize().cx, 294);
    EXPECT_EQ(hosts[2].picture.GetCanvasSize().cx, 598);
}
