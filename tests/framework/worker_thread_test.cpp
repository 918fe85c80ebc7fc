// The worker thread's rules: one job at a time, only the newest waiting job
// runs, and Stop ends a long job through its stop event and joins.
#include <gtest/gtest.h>

#include "framework/WorkerThread.h"

#include <vector>

TEST(WorkerThread, OnlyTheNewestWaitingJobRunsAndStopEndsALongOne)
{
    UniqueHandle running(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle finished(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    CriticalSection lock;
    std::vector<int> ran;
    auto record = [&](int n) {
        ScopedLock hold(lock);
        ran.push_back(n);
    };

    WorkerThread worker;
    ASSERT_TRUE(worker.Start());
    worker.Submit([&](HANDLE) {
        ::SetEvent(running);
        ::WaitForSingleObject(release, INFINITE);
        record(1);
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(running, 10000));
    for (int n = 2; n <= 4; ++n) worker.Submit([&, n](HANDLE) { record(n); });
    worker.Submit([&](HANDLE) {
        record(5);
        ::SetEvent(finished);
    });
    ::SetEvent(release);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(finished, 10000));
    {
        ScopedLock hold(lock);
        EXPECT_EQ((std::vector<int>{1, 5}), ran);
    }

    // A job that waits on its stop event ends when the worker stops; a job
    // handed over afterwards is dropped.
    ::ResetEvent(running);
    worker.Submit([&](HANDLE stop) {
        ::SetEvent(running);
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(stop, 30000));
        record(6);
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(running, 10000));
    worker.Stop();
    worker.Submit([&](HANDLE) { record(7); });
    EXPECT_EQ((std::vector<int>{1, 5, 6}), ran);
}
