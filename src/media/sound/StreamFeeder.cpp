#include "media/sound/StreamFeeder.h"

#include <chrono>

namespace media {

namespace {
// While the game thread holds the operation lock, the next try comes after this.
constexpr std::chrono::milliseconds kBusyRetry{1};
}  // namespace

StreamFeeder::StreamFeeder(RoundFn round) : round_(round), thread_([this] { Run(); }) {}

StreamFeeder::~StreamFeeder() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void StreamFeeder::Wake() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        woken_ = true;
    }
    wake_.notify_one();
}

void StreamFeeder::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        wake_.wait(lock, [this] { return woken_ || stop_; });
        woken_ = false;
        FeedUntilFull(lock);
    }
}

void StreamFeeder::FeedUntilFull(std::unique_lock<std::mutex>& lock) {
    while (!stop_) {
        lock.unlock();
        const Round round = round_();
        lock.lock();
        if (round == Round::Done) return;
        if (round == Round::Busy) wake_.wait_for(lock, kBusyRetry, [this] { return stop_; });
    }
}

}  // namespace media
