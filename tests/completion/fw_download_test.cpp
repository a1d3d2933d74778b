// The firmware download dialog against the test server: good files, refused and broken
// transfers, the overwrite question (also one asked before the dialog has shown), Cancel of a
// stalled transfer; its texts whole in the four languages; screenshots; timings.
#include "tests/completion/OwnShare.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextFit.h"
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"
#include "wizard/FwDownload.h"
#include "wizard/PellgroveApp.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <memory>

namespace {

std::wstring Url(const std::wstring& kind, size_t size, const std::wstring& name)
{
    const wchar_t* port = _wgetenv(L"FW_SERVER_PORT");
    return L"http://127.0.0.1:" + std::wstring(port ? port : L"1") + L"/" + kind + L"/" + std::to_wstring(size) +
           L"/" + name;
}

// What the test server sends for a file.
std::string Body(const std::wstring& name, size_t size)
{
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) s[i] = char((i + name.size()) & 255);
    return s;
}

struct Outcome {
    INT_PTR result = 0;
    std::wstring status;
    int position = 0;
    bool asked = false, animating = true;
    DWORD cancelMs = 0, totalMs = 0;
    std::vector<std::string> unfit;  // texts not shown whole, while downloading or once ended
};

// Its first idle moment, when a dialog shows itself, comes only after the worker has asked its
// question: the slow start of a busy machine, made certain.
class LateDialog : public CFwDownload {
public:
    using CFwDownload::CFwDownload;

protected:
    bool OnInitDialog() override
    {
        bool r = CFwDownload::OnInitDialog();
        MSG m;
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 10000; ::Sleep(10))
            if (::PeekMessageW(&m, m_hWnd, WM_APP, 0xBFFF, PM_NOREMOVE))
                break;
        return r;
    }
};

// Runs the dialog as a user would: answers the overwrite question with `answer` (No when none
// is expected), and either cancels once data arrived or waits for the end and presses OK.
Outcome RunDialog(CFwDownload& dlg, int answer, bool cancel, const std::wstring& shot)
{
    Outcome out;
    DWORD start = ::GetTickCount(), cancelledAt = 0;
    out.result = RunDriven(dlg, [&](HWND h) {
        for (DriveStep(L"waiting for the download to end"); !DriveExpired(); ::Sleep(20)) {
            if (HWND box = FindMessageBox(h, 0)) {
                DriveStep(L"answering the overwrite question");
                out.asked = true;
                Press(box, answer ? answer : IDNO);
            }
            if (cancel && dlg.m_dwReceived > 0) {
                DriveStep(L"cancelling");
                ::Sleep(300);  // a few frames of the animation and a partly filled bar
                out.unfit = UnfitTexts(h);
                if (!shot.empty())
                    SaveWindowShot(h, shot);
                cancelledAt = ::GetTickCount();
                return Press(h, IDCANCEL);
            }
            if (::IsWindowEnabled(::GetDlgItem(h, IDOK))) {
                DriveStep(L"reading the ended dialog");
                out.totalMs = ::GetTickCount() - start;
                ::SendMessageW(h, WM_NULL, 0, 0);  // returns once the handler that enabled OK has finished
                out.animating = ::IsWindowVisible(::GetDlgItem(h, IDC_FW_ANIMATE)) != FALSE;
                out.status = ItemText(h, IDC_FW_STATUS);
                out.position = int(::SendDlgItemMessageW(h, IDC_FW_PROGRESS, PBM_GETPOS, 0, 0));
                out.unfit = UnfitTexts(h);
                if (!shot.empty())
                    SaveWindowShot(h, shot);
                return Press(h, IDOK);
            }
        }
    });
    if (cancelledAt)
        out.cancelMs = ::GetTickCount() - cancelledAt;
    return out;
}

}  // namespace

TEST(FwDownload, AFailedRefusedOrCancelledDownloadNeverTouchesTheFileOnTheStick)
{
    struct Case {
        const wchar_t* name;
        std::wstring file;  // always fw.bin
        bool existing;
        int answer;
        bool asks, cancel, replaced;
        bool unc = false, big = false;  // a program folder without a drive; timed, in English only
        bool late = false;              // the question comes before the dialog has ever shown
    } cases[] = {
        {L"good", Url(L"good", 300000, L"fw.bin"), false, 0, false, false, true},
        {L"overwrite-yes", Url(L"good", 3000, L"fw.bin"), true, IDYES, true, false, true},
        {L"overwrite-no", Url(L"good", 3000, L"fw.bin"), true, IDNO, true, false, false},
        {L"not-found", Url(L"missing", 3000, L"fw.bin"), true, IDYES, false, false, false},
        {L"no-length", Url(L"nolength", 3000, L"fw.bin"), true, IDYES, false, false, false},
        {L"closed-midway", Url(L"cut", 300000, L"fw.bin"), true, IDYES, true, false, false},
        {L"stalled", Url(L"stall", 400000, L"fw.bin"), true, IDYES, true, true, false},
        {L"20 MiB", Url(L"good", 20 << 20, L"fw.bin"), false, 0, false, false, true, false, true},
        {L"UNC program folder", Url(L"good", 3000, L"fw.bin"), true, IDYES, false, false, false, true},
        {L"asked before shown", Url(L"good", 3000, L"fw.bin"), true, IDYES, true, false, true, false, false, true},
    };
    // The root of the current drive, where a download without a drive would land.
    OwnShare share;
    ASSERT_TRUE(share.MakeCurrent());
    for (LANGID lang : {LANGID(1033), LANGID(1041), LANGID(1028), LANGID(2052)}) {
        afx::SetResourceLanguage(lang);
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << " in " << lang);
            TempDir stick;
            const std::string old = "the firmware that was on the stick";
            if (c.existing) {
                ASSERT_TRUE(WriteBytes(stick / L"fw.bin", old));
            }
            wcscpy(g_productConfig.ProgramFolder, c.unc ? L"\\\\nas\\share\\setup\\" : L"");
            std::unique_ptr<CFwDownload> made(c.late ? new LateDialog(nullptr) : new CFwDownload(nullptr));
            CFwDownload& dlg = *made;
            if (!c.unc)
                dlg.m_drive = stick.Path();
            dlg.m_list.assign(20, L"");
            dlg.m_list[0] = c.file;
            dlg.m_list[1] = Url(L"good", 700, L"fw.xml");
            bool shoot = std::wstring(c.name) == L"good" || c.cancel;
            if (c.big && lang != 1033)
                continue;
            Outcome out = RunDialog(dlg, c.answer, c.cancel,
                                    shoot ? std::wstring(L"fw_download_") + c.name + L"_" + std::to_wstring(lang) : L"");
            std::string now = ReadBytes(stick / L"fw.bin");
            EXPECT_EQ(now == Body(L"fw.bin", now.size()) && !now.empty(), c.replaced);
            if (!c.replaced) {
                EXPECT_EQ(now, c.existing ? old : "");
            }
            EXPECT_EQ(out.asked, c.asks);
            EXPECT_TRUE(out.unfit.empty()) << Lines(out.unfit);
            // Nothing but the two files: no temporary file stays behind.
            for (const auto& entry : std::filesystem::directory_iterator(stick.Path()))
                EXPECT_TRUE(entry.path().filename() == L"fw.bin" || entry.path().filename() == L"fw.xml");
            if (c.cancel) {
                EXPECT_EQ(out.result, IDCANCEL);
                EXPECT_LT(out.cancelMs, 1000u);
                std::printf("cancel of a stalled transfer: dialog gone after %lu ms\n", out.cancelMs);
                continue;
            }
            EXPECT_EQ(out.result, IDOK);
            EXPECT_FALSE(out.animating);
            if (c.unc) {
                EXPECT_EQ(out.status, afx::LoadStr(IDS_FIRMWARE_PART_FAILED));
                EXPECT_TRUE(share.Names().empty()) << "a file in the root of the current drive";
            }
            EXPECT_TRUE(ReadBytes(stick / L"fw.xml") == (c.replaced ? Body(L"fw.xml", 700) : "")) << "manifest";
            EXPECT_EQ(out.status == L"完了", c.replaced) << std::string(out.status.begin(), out.status.end());
            EXPECT_EQ(out.position == 10000, c.replaced);
            if (c.big)
                std::printf("20 MiB from the local server in %lu ms (%.1f MB/s)\n", out.totalMs,
                            (20 << 20) / 1e6 / (out.totalMs ? out.totalMs / 1000.0 : 1));
        }
    }
    afx::SetResourceLanguage(1033);
}

