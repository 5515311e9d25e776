// A single-producer, single-consumer ring of 16-bit stereo frames. The producer
// (the main thread feeding a stream) and the consumer (the mixer on the audio
// thread) never wait for each other; the counters are atomics.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>

namespace media {

class SampleRing {
public:
    // The storage is not cleared: only frames written are ever read.
    explicit SampleRing(int capacityFrames)
        : m_frames(std::make_unique_for_overwrite<int16_t[]>(static_cast<size_t>(capacityFrames) * 2)),
          m_capacity(capacityFrames) {}

    int Capacity() const { return m_capacity; }
    // Frames ready to read.
    int Available() const {
        return static_cast<int>(m_written.load(std::memory_order_acquire) - m_read.load(std::memory_order_acquire));
    }
    int Free() const { return m_capacity - Available(); }

    // Producer: appends up to `count` frames; the number appended.
    int Write(const int16_t* in, int count) {
        const uint64_t w = m_written.load(std::memory_order_relaxed);
        count = std::min(count, Free());
        CopyIn(w, in, count);
        m_written.store(w + static_cast<uint64_t>(count), std::memory_order_release);
        return count;
    }

    // Consumer: the next `count` frames (at most Available()) as up to two spans.
    // Call Consume afterwards.
    template <typename Fn>
    void Peek(int count, Fn fn) const {
        const uint64_t r = m_read.load(std::memory_order_relaxed);
        const int start = static_cast<int>(r % static_cast<uint64_t>(m_capacity));
        const int first = std::min(count, m_capacity - start);
        if (first > 0) fn(m_frames.get() + 2 * start, first);
        if (count > first) fn(m_frames.get(), count - first);
    }
    void Consume(int count) { m_read.fetch_add(static_cast<uint64_t>(count), std::memory_order_release); }

    // Empties the ring. Only while neither side is using it.
    void Clear() { m_read.store(m_written.load(std::memory_order_acquire), std::memory_order_release); }

private:
    void CopyIn(uint64_t w, const int16_t* in, int count) {
        const int start = static_cast<int>(w % static_cast<uint64_t>(m_capacity));
        const int first = std::min(count, m_capacity - start);
        if (first > 0) std::memcpy(m_frames.get() + 2 * start, in, static_cast<size_t>(first) * 4);
        if (count > first) std::memcpy(m_frames.get(), in + 2 * first, static_cast<size_t>(count - first) * 4);
    }

    std::unique_ptr<int16_t[]> m_frames;
    int m_capacity;
    std::atomic<uint64_t> m_written{0};
    std::atomic<uint64_t> m_read{0};
};

}  // namespace media
