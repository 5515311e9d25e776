#include "media/core/OperationLock.h"

#include <chrono>
#include <thread>

namespace media {

namespace detail {
constinit OperationLock theLock;
}  // namespace detail

void OperationLock::Acquire(uintptr_t self) {
    uint32_t ticket = m_nextTicket.load();
    for (;;) {
        // Signed: a stale ticket may lie behind the one served; the exchange below then fails.
        if (static_cast<int32_t>(ticket - m_serving.load()) >= static_cast<int32_t>(kMaxWaiters)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ticket = m_nextTicket.load();
            continue;
        }
        if (m_nextTicket.compare_exchange_weak(ticket, ticket + 1)) break;
    }
    if (m_serving.load() != ticket) WaitForTurn(ticket);
    m_owner.store(self, std::memory_order_relaxed);
    m_holds.store(1, std::memory_order_relaxed);
}

void OperationLock::WaitForTurn(uint32_t ticket) {
    for (uint32_t now = m_serving.load(); now != ticket; now = m_serving.load()) m_serving.wait(now);
}

void OperationLock::Release() {
    m_owner.store(0, std::memory_order_relaxed);
    // Sequentially consistent on both sides: either a newly queued thread sees
    // the new ticket being served, or this thread sees it queued and wakes it.
    const uint32_t next = m_serving.fetch_add(1) + 1;
    if (m_nextTicket.load() != next) m_serving.notify_all();
}

bool OperationLock::TryLock() {
    const uintptr_t self = detail::CallerToken();
    if (Reenter(self)) return true;
    // Free with nobody waiting exactly when the next ticket is the one served.
    const uint32_t serving = m_serving.load();
    uint32_t expected = serving;
    if (!m_nextTicket.compare_exchange_strong(expected, serving + 1)) return false;
    m_owner.store(self, std::memory_order_relaxed);
    m_holds.store(1, std::memory_order_relaxed);
    return true;
}

int OperationLock::HoldCount() const { return m_holds.load(std::memory_order_relaxed); }

int OperationLock::WaiterCount() const {
    const uint32_t serving = m_serving.load();  // first: the next ticket never lies behind it
    const uint32_t queued = m_nextTicket.load() - serving;
    return queued == 0 ? 0 : static_cast<int>(queued - 1);
}

}  // namespace media
