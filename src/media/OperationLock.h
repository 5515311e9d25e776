// The media layer's one process-wide lock. The holding thread may take it again
// (a hold count); other threads queue in arrival order and the releasing thread
// hands the lock to the first waiter. At most kMaxWaiters queue at once; a thread
// that finds the queue full sleeps 1 ms and tries again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace media {

class OperationLock {
public:
    static constexpr uint64_t kMaxWaiters = 4096;

    void Lock();
    void Unlock();
    // Takes the lock only when nobody holds it and nobody waits. True when taken.
    bool TryLock();
    int HoldCount() const;
    // Threads queued behind the holder.
    int WaiterCount() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable turn_;
    std::thread::id owner_{};
    int holds_ = 0;
    uint64_t nextTicket_ = 0;   // ticket handed to the next arriving thread
    uint64_t serving_ = 0;      // ticket allowed to take the lock
};

// The process-wide instance.
OperationLock& TheOperationLock();

// Holds the operation lock for a scope.
class OperationGuard {
public:
    OperationGuard();
    ~OperationGuard();
    OperationGuard(const OperationGuard&) = delete;
    OperationGuard& operator=(const OperationGuard&) = delete;
};

}  // namespace media
