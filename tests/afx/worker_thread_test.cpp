#include "afx/WorkerThread.h"
#include "tests/afx/TestDialog.h"
#include <gtest/gtest.h>
#include <atomic>
#include <stdexcept>

TEST(WorkerThread, RunsOnceAtATimeAndHandsBackItsResult)
{
    afx::CWorkerThread worker;
    HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(worker.Start([go] { ::WaitForSingleObject(go, 5000); return 7u; }));
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(worker.Start([] { return 1u; })) << "a second start while running";
    EXPECT_FALSE(worker.Join(10));
    ::SetEvent(go);
    EXPECT_TRUE(worker.Join());
    EXPECT_EQ(worker.ExitCode(), 7u);
    EXPECT_TRUE(worker.Start([] { return 8u; }));
    EXPECT_TRUE(worker.Join());
    EXPECT_EQ(worker.ExitCode(), 8u);
    ::CloseHandle(go);
}

TEST(WorkerThread, AThrowingWorkEndsItsThreadOnly)
{
    afx::CWorkerThread worker;
    ASSERT_TRUE(worker.Start([]() -> unsigned { throw std::runtime_error("work failed"); }));
    EXPECT_TRUE(worker.Join());
    EXPECT_EQ(worker.ExitCode(), unsigned(-1));
}

TEST(WorkerThread, TheOwnerWaitsForItsWorkBeforeItGoes)
{
    std::atomic<bool> done{false};
    {
        afx::CWorkerThread worker;
        worker.Start([&done] { ::Sleep(100); done = true; return 0u; });
    }
    EXPECT_TRUE(done);
}

namespace {
// The window a worker reports to: answers WM_APP + 1 with 42 and counts it.
struct Receiver : TestDialog {
    std::atomic<int> received{0};
    bool ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) override
    {
        if (msg != WM_APP + 1)
            return TestDialog::ProcessWindowMessage(msg, wp, lp, r);
        ++received;
        r = 42;
        return true;
    }
};
}  // namespace

TEST(WorkerThread, JoinServesWhatTheWorkerSendsInsteadOfDeadlocking)
{
    Receiver dlg;
    ASSERT_TRUE(dlg.Create());
    HWND h = dlg.m_hWnd;
    afx::CWorkerThread worker;
    ASSERT_TRUE(worker.Start([h] { return unsigned(::SendMessageW(h, WM_APP + 1, 0, 0)); }));
    EXPECT_FALSE(worker.Join(200)) << "a plain join leaves the worker blocked in SendMessage";
    EXPECT_TRUE(worker.JoinServingSentMessages(5000));
    EXPECT_EQ(worker.ExitCode(), 42u);
    EXPECT_EQ(dlg.received, 1);

    ASSERT_TRUE(worker.Start([&worker, h] {
        while (!worker.StopRequested())
            ::SendMessageW(h, WM_APP + 1, 0, 0);
        return 5u;
    }));
    EXPECT_TRUE(worker.Stop(5000));
    EXPECT_EQ(worker.ExitCode(), 5u);
    dlg.DestroyWindow();
}

TEST(WorkerThread, TimeOutsHoldAndStopTerminatesWorkThatNeverEnds)
{
    Receiver dlg;
    ASSERT_TRUE(dlg.Create());
    HWND h = dlg.m_hWnd;
    HANDLE never = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    afx::CWorkerThread worker;
    // Work that keeps sending: the stream of messages must not stretch the wait.
    ASSERT_TRUE(worker.Start([&worker, h] {
        while (!worker.StopRequested())
            ::SendMessageW(h, WM_APP + 1, 0, 0);
        return 0u;
    }));
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(worker.JoinServingSentMessages(300));
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_GT(dlg.received, 0);
    EXPECT_TRUE(worker.Stop(5000));

    ASSERT_TRUE(worker.Start([never] { return ::WaitForSingleObject(never, INFINITE) == WAIT_OBJECT_0 ? 1u : 2u; }));
    EXPECT_FALSE(worker.StopRequested()) << "each Start clears the last request";
    start = ::GetTickCount();
    EXPECT_FALSE(worker.Stop(300));
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.Handle(), nullptr);
    EXPECT_EQ(worker.ExitCode(), unsigned(-1));
    ::CloseHandle(never);
    dlg.DestroyWindow();
}
