#include "media/OperationLock.h"

#include <chrono>

namespace media {

void OperationLock::Lock() {
    std::unique_lock<std::mutex> lock(mutex_);
    const std::thread::id self = std::this_thread::get_id();
    if (holds_ > 0 && owner_ == self) {
        ++holds_;
        return;
    }
    while (nextTicket_ - serving_ >= kMaxWaiters) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        lock.lock();
    }
    const uint64_t ticket = nextTicket_++;
    turn_.wait(lock, [&] { return holds_ == 0 && serving_ == ticket; });
    owner_ = self;
    holds_ = 1;
}

void OperationLock::Unlock() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (holds_ == 0 || owner_ != std::this_thread::get_id()) return;
    if (--holds_ > 0) return;
    owner_ = std::thread::id{};
    ++serving_;
    turn_.notify_all();
}

bool OperationLock::TryLock() {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::thread::id self = std::this_thread::get_id();
    if (holds_ > 0 && owner_ == self) {
        ++holds_;
        return true;
    }
    if (holds_ > 0 || nextTicket_ != serving_) return false;
    ++nextTicket_;
    owner_ = self;
    holds_ = 1;
    return true;
}

int OperationLock::HoldCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return holds_;
}

int OperationLock::WaiterCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    const uint64_t queued = nextTicket_ - serving_;
    return static_cast<int>(holds_ > 0 ? queued - 1 : queued);
}

OperationLock& TheOperationLock() {
    static OperationLock* lock = new OperationLock();  // lives until process exit
    return *lock;
}

OperationGuard::OperationGuard() { TheOperationLock().Lock(); }
OperationGuard::~OperationGuard() { TheOperationLock().Unlock(); }

}  // namespace media
