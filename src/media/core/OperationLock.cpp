#include "media/core/OperationLock.h"

#include <chrono>
#include <thread>

namespace media {

namespace detail {
constinit OperationLock theLock;
}  // namespace detail

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

void OperationLock::Release() {
    owner_.store(0, std::memory_order_relaxed);
    // Sequentially consistent on both sides: either a newly queued thread sees
    // the new ticket being served, or this thread sees it queued and wakes it.
    const uint32_t next = serving_.fetch_add(1) + 1;
    if (nextTicket_.load() != next) serving_.notify_all();
}

bool OperationLock::TryLock() {
    const uintptr_t self = detail::CallerToken();
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

}  // namespace media
