#include "media/sound/StreamFeeder.h"

#include <chrono>

namespace media {

namespace {
// While the game thread holds the operation lock, the next try comes after this.
constexpr std::chrono::milliseconds kBusyRetry{1};
}  // namespace

StreamFeeder::StreamFeeder(RoundFn round) : m_round(round), m_thread([this] { Run(); }) {}

StreamFeeder::~StreamFeeder() {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void StreamFeeder::Wake() {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_woken = true;
    }
    m_wake.notify_one();
}

void StreamFeeder::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        m_wake.wait(lock, [this] { return m_woken || m_stop; });
        m_woken = false;
        FeedUntilFull(lock);
    }
}

void StreamFeeder::FeedUntilFull(std::unique_lock<std::mutex>& lock) {
    while (!m_stop) {
        lock.unlock();
        const Round round = m_round();
        lock.lock();
        if (round == Round::Done) return;
        if (round == Round::Busy) m_wake.wait_for(lock, kBusyRetry, [this] { return m_stop; });
    }
}

}  // namespace media
