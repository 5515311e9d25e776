#include "media/OperationLock.h"

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

}  // namespace
