// Worker threads: start, join, stop while they send messages, and the time-out.
#include "afx/WorkerThread.h"
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

TEST(WorkerThread, JoiningServesWhatTheWorkerSendsAndKeepsItsTimeOut)
{
    // A window of this thread stands for the dialog a worker reports to.
    HWND h = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    afx::CWorkerThread worker;
    ASSERT_TRUE(worker.Start([h] { ::SendMessageW(h, WM_NULL, 0, 0); return 1u; }));
    EXPECT_FALSE(worker.Join(200)) << "a plain join leaves the worker blocked in SendMessage";
    EXPECT_TRUE(worker.JoinServingSentMessages(5000));

    // Work that sends until asked to stop: its stream of messages must not stretch the wait.
    ASSERT_TRUE(worker.Start([&worker, h] {
        while (!worker.StopRequested())
            ::SendMessageW(h, WM_NULL, 0, 0);
        return 5u;
    }));
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(worker.JoinServingSentMessages(300));
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_TRUE(worker.Stop(5000));
    EXPECT_EQ(worker.ExitCode(), 5u);
    ::DestroyWindow(h);
}

TEST(WorkerThread, StopTerminatesWorkThatNeverEnds)
{
    HANDLE never = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    afx::CWorkerThread worker;
    worker.RequestStop();
    ASSERT_TRUE(worker.Start([never] { ::WaitForSingleObject(never, INFINITE); return 0u; }));
    EXPECT_FALSE(worker.StopRequested()) << "each Start clears the last request";
    EXPECT_FALSE(worker.Stop(300));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.ExitCode(), unsigned(-1));
    ::CloseHandle(never);
}
