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
