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

namespace detail {
// A token naming the calling thread among the living ones: the address of a
// thread-local byte (cheaper to get than the thread's id, and never 0).
inline thread_local char threadTag;
inline uintptr_t CallerToken() { return reinterpret_cast<uintptr_t>(&threadTag); }
}  // namespace detail

class OperationLock {
public:
    static constexpr uint32_t kMaxWaiters = 4096;

    // Taking the lock again and giving back a hold that is not the last are
    // inline: every media operation does both, mostly inside a batch.
    void Lock() {
        const uintptr_t self = detail::CallerToken();
        if (!Reenter(self)) Acquire(self);
    }
    void Unlock() {
        if (!HeldByCaller(detail::CallerToken())) return;
        const int holds = m_holds.load(std::memory_order_relaxed) - 1;
        m_holds.store(holds, std::memory_order_relaxed);
        if (holds == 0) Release();
    }
    // True while the calling thread holds the lock (inside a batch of operations).
    bool HeldHere() const { return HeldByCaller(detail::CallerToken()); }
    // Takes the lock only when nobody holds it and nobody waits. True when taken.
    bool TryLock();
    int HoldCount() const;
    // Threads queued behind the holder.
    int WaiterCount() const;

private:
    // The owner field equals the caller's id only while the caller holds the lock:
    // the caller itself wrote it on taking the lock and clears it before releasing.
    bool HeldByCaller(uintptr_t self) const {
        return m_owner.load(std::memory_order_relaxed) == self && m_holds.load(std::memory_order_relaxed) > 0;
    }
    // One more hold when the caller holds the lock already; false otherwise.
    bool Reenter(uintptr_t self) {
        if (!HeldByCaller(self)) return false;
        m_holds.store(m_holds.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        return true;
    }
    // The first hold and the last release; waiting is kept apart from the
    // re-entry path, which is by far the most frequent.
    [[gnu::noinline]] void Acquire(uintptr_t self);
    [[gnu::noinline]] void WaitForTurn(uint32_t ticket);
    [[gnu::noinline]] void Release();

    // Tickets count modulo 2^32; only their differences matter.
    std::atomic<uint32_t> m_nextTicket{0};  // ticket handed to the next arriving thread
    std::atomic<uint32_t> m_serving{0};     // ticket allowed to hold the lock
    std::atomic<uintptr_t> m_owner{0};      // the holding thread's token, 0 when free
    std::atomic<int> m_holds{0};            // written by the holder only
};

namespace detail {
extern constinit OperationLock theLock;  // constant-initialised, never destroyed: usable at any time
}  // namespace detail

// The process-wide instance.
inline OperationLock& TheOperationLock() { return detail::theLock; }

// Holds the operation lock for a scope.
class OperationGuard {
public:
    OperationGuard() { TheOperationLock().Lock(); }
    ~OperationGuard() { TheOperationLock().Unlock(); }
    OperationGuard(const OperationGuard&) = delete;
    OperationGuard& operator=(const OperationGuard&) = delete;
};

}  // namespace media
