#include "media/OperationLock.h"

#include <chrono>
#include <thread>

namespace media {
namespace {

// A token naming the calling thread among the living ones: the address of a
// thread-local byte (cheaper to get than the thread's id, and never 0).
thread_local char threadTag;

uintptr_t CallerToken() { return reinterpret_cast<uintptr_t>(&threadTag); }

constinit OperationLock theLock;  // constant-initialised, never destroyed: usable at any time

}  // namespace

// The owner field equals the caller's id only while the caller holds the lock:
// the caller itself wrote it on taking the lock and clears it before releasing.
bool OperationLock::HeldByCaller(uintptr_t self) const {
    return owner_.load(std::memory_order_relaxed) == self && holds_.load(std::memory_order_relaxed) > 0;
}

bool OperationLock::Reenter(uintptr_t self) {
    if (!HeldByCaller(self)) return false;
    holds_.store(holds_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    return true;
}

void OperationLock::Lock() {
    const uintptr_t self = CallerToken();
    if (!Reenter(self)) Acquire(self);
}

void OperationLock::Acquire(uintptr_t self) {
    uint32_t ticket = nextTicket_.load();
    for (;;) {
        // Signed: a stale ticket may lie behind the one served; the exchange below then fails.
        if (static_cast<int32_t>(ticket - serving_.load()) >= static_cast<int32_t>(kMaxWaiters)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ticket = nextTicket_.load();
            continue;
        }
        if (nextTicket_.compare_exchange_weak(ticket, ticket + 1)) break;
    }
    if (serving_.load() != ticket) WaitForTurn(ticket);
    owner_.store(self, std::memory_order_relaxed);
    holds_.store(1, std::memory_order_relaxed);
}

void OperationLock::WaitForTurn(uint32_t ticket) {
    for (uint32_t now = serving_.load(); now != ticket; now = serving_.load()) serving_.wait(now);
}

void OperationLock::Unlock() {
    if (!HeldByCaller(CallerToken())) return;
    const int holds = holds_.load(std::memory_order_relaxed) - 1;
    holds_.store(holds, std::memory_order_relaxed);
    if (holds == 0) Release();
}

void OperationLock::Release() {
    owner_.store(0, std::memory_order_relaxed);
    // Sequentially consistent on both sides: either a newly queued thread sees
    // the new ticket being served, or this thread sees it queued and wakes it.
    const uint32_t next = serving_.fetch_add(1) + 1;
    if (nextTicket_.load() != next) serving_.notify_all();
}

bool OperationLock::TryLock() {
    const uintptr_t self = CallerToken();
    if (Reenter(self)) return true;
    // Free with nobody waiting exactly when the next ticket is the one served.
    const uint32_t serving = serving_.load();
    uint32_t expected = serving;
    if (!nextTicket_.compare_exchange_strong(expected, serving + 1)) return false;
    owner_.store(self, std::memory_order_relaxed);
    holds_.store(1, std::memory_order_relaxed);
    return true;
}

int OperationLock::HoldCount() const { return holds_.load(std::memory_order_relaxed); }

int OperationLock::WaiterCount() const {
    const uint32_t serving = serving_.load();  // first: the next ticket never lies behind it
    const uint32_t queued = nextTicket_.load() - serving;
    return queued == 0 ? 0 : static_cast<int>(queued - 1);
}

OperationLock& TheOperationLock() { return theLock; }

OperationGuard::OperationGuard() { TheOperationLock().Lock(); }
OperationGuard::~OperationGuard() { TheOperationLock().Unlock(); }

}  // namespace media
