// One job at a time, only the newest waiting one runs, Stop ends and joins.
#include <gtest/gtest.h>

#include "framework/WorkerThread.h"

#include <vector>

TEST(WorkerThread, OnlyTheNewestWaitingJobRunsAndStopEndsALongOne)
{
    UniqueHandle running(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle finished(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::vector<int> ran; // each access ordered by the events or the join

    WorkerThread worker;
    ASSERT_TRUE(worker.Start());
    worker.Submit([&](HANDLE) {
        ::SetEvent(running);
        ::WaitForSingleObject(release, INFINITE);
        ran.push_back(1);
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(running, 10000));
    for (int n = 2; n <= 4; ++n) worker.Submit([&, n](HANDLE) { ran.push_back(n); });
    worker.Submit([&](HANDLE) {
        ran.push_back(5);
        ::SetEvent(finished);
    });
    ::SetEvent(release);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(finished, 10000));
    EXPECT_EQ((std::vector<int>{1, 5}), ran);

    // Stop ends a job through its stop event; jobs handed over later are dropped.
    ::ResetEvent(running);
    worker.Submit([&](HANDLE stop) {
        ::SetEvent(running);
        ::WaitForSingleObject(stop, 30000);
        ran.push_back(6);
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(running, 10000));
    worker.Stop();
    worker.Submit([&](HANDLE) { ran.push_back(7); });
    EXPECT_EQ((std::vector<int>{1, 5, 6}), ran);
}
