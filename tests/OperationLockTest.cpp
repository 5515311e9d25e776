#include "media/core/OperationLock.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

namespace {

TEST(OperationLock, IsRecursiveForTheHoldingThread) {
    media::OperationLock lock;
    lock.Lock();
    lock.Lock();
    EXPECT_EQ(lock.HoldCount(), 2);
    lock.Unlock();
    EXPECT_EQ(lock.HoldCount(), 1);
    lock.Unlock();
    EXPECT_EQ(lock.HoldCount(), 0);
}

TEST(OperationLock, HandsOverInArrivalOrder) {
    media::OperationLock lock;
    lock.Lock();
    std::mutex orderMutex;
    std::vector<int> order;
    std::vector<std::thread> threads;
    for (int i = 0; i < 5; ++i) {
        threads.emplace_back([&, i] {
            lock.Lock();
            {
                std::lock_guard<std::mutex> g(orderMutex);
                order.push_back(i);
            }
            lock.Unlock();
        });
        // The next thread starts only once this one stands in the queue.
        while (lock.WaiterCount() != i + 1) std::this_thread::yield();
    }
    lock.Unlock();
    for (auto& t : threads) t.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(OperationLock, TryLockFailsWhileAnotherThreadHolds) {
    media::OperationLock lock;
    lock.Lock();
    bool taken = true;
    std::thread other([&] { taken = lock.TryLock(); });
    other.join();
    EXPECT_FALSE(taken);
    lock.Unlock();
}

// Threads taking turns many times: never two inside at once, no turn lost, and
// nobody left asleep (the test would hang).
TEST(OperationLock, ExcludesAndWakesUnderHeavyContention) {
    media::OperationLock lock;
    constexpr int kThreads = 4, kTurns = 20000;
    long counter = 0;  // guarded by the lock alone
    int inside = 0;
    bool overlapped = false;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kTurns; ++i) {
                lock.Lock();
                if (++inside != 1) overlapped = true;
                lock.Lock();  // recursive turn inside
                ++counter;
                lock.Unlock();
                --inside;
                lock.Unlock();
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(counter, long{kThreads} * kTurns);
    EXPECT_EQ(lock.HoldCount(), 0);
    EXPECT_EQ(lock.WaiterCount(), 0);
    EXPECT_TRUE(lock.TryLock());
    lock.Unlock();
}

}  // namespace
