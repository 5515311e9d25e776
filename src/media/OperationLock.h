// The media layer's one process-wide lock. The holding thread may take it again
// (a hold count); other threads queue in arrival order and the releasing thread
// hands the lock to the first waiter. At most kMaxWaiters queue at once; a thread
// that finds the queue full sleeps 1 ms and tries again.
//
// It is a ticket lock: taking and releasing it without contention costs one
// atomic operation each; waiters sleep on the "now serving" counter.
#pragma once

#include <atomic>
#include <cstdint>

namespace media {

class OperationLock {
public:
    static constexpr uint32_t kMaxWaiters = 4096;

    void Lock();
    void Unlock();
    // Takes the lock only when nobody holds it and nobody waits. True when taken.
    bool TryLock();
    int HoldCount() const;
    // Threads queued behind the holder.
    int WaiterCount() const;

private:
    bool HeldByCaller(uintptr_t self) const;
    // One more hold when the caller holds the lock already; false otherwise.
    bool Reenter(uintptr_t self);
    // The first hold and the last release; waiting is kept apart from the
    // re-entry path, which is by far the most frequent.
    [[gnu::noinline]] void Acquire(uintptr_t self);
    [[gnu::noinline]] void WaitForTurn(uint32_t ticket);
    [[gnu::noinline]] void Release();

    // Tickets count modulo 2^32; only their differences matter.
    std::atomic<uint32_t> nextTicket_{0};  // ticket handed to the next arriving thread
    std::atomic<uint32_t> serving_{0};     // ticket allowed to hold the lock
    std::atomic<uintptr_t> owner_{0};      // the holding thread's token, 0 when free
    std::atomic<int> holds_{0};            // written by the holder only
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
