// A thread of the media layer that keeps the playing streams' rings filled
// beside a sound device that pulls samples on a thread of its own, so that
// the game thread never decodes: starting a piece of music only opens it, and
// the feeder has decoded its first fifth of a second long before the device's
// next pull. It sleeps until woken (a stream starts, or one runs low) and then
// feeds round after round, one piece per stream and round, until every ring is
// full. Each round runs under the operation lock, taken only when it is free,
// so the game thread never queues behind more than one round.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace media {

class StreamFeeder {
public:
    // What one round gave: the lock was busy, every ring is full, or more is wanted.
    enum class Round { Busy, Done, More };
    using RoundFn = Round (*)();

    explicit StreamFeeder(RoundFn round);
    ~StreamFeeder();  // stops the thread and waits for it
    StreamFeeder(const StreamFeeder&) = delete;
    StreamFeeder& operator=(const StreamFeeder&) = delete;

    // Starts feeding now (or right after the round under way).
    void Wake();

private:
    void Run();
    // Rounds until every ring is full or the feeder stops.
    void FeedUntilFull(std::unique_lock<std::mutex>& lock);

    RoundFn m_round;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_woken = false;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace media
