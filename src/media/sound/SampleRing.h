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
        : frames_(std::make_unique_for_overwrite<int16_t[]>(static_cast<size_t>(capacityFrames) * 2)),
          capacity_(capacityFrames) {}

    int Capacity() const { return capacity_; }
    // Frames ready to read.
    int Available() const {
        return static_cast<int>(written_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire));
    }
    int Free() const { return capacity_ - Available(); }

    // Producer: appends up to `count` frames; the number appended.
    int Write(const int16_t* in, int count) {
        const uint64_t w = written_.load(std::memory_order_relaxed);
        count = std::min(count, Free());
        CopyIn(w, in, count);
        written_.store(w + static_cast<uint64_t>(count), std::memory_order_release);
        return count;
    }

    // Consumer: the next `count` frames (at most Available()) as up to two spans.
    // Call Consume afterwards.
    template <typename Fn>
    void Peek(int count, Fn fn) const {
        const uint64_t r = read_.load(std::memory_order_relaxed);
        const int start = static_cast<int>(r % static_cast<uint64_t>(capacity_));
        const int first = std::min(count, capacity_ - start);
        if (first > 0) fn(frames_.get() + 2 * start, first);
        if (count > first) fn(frames_.get(), count - first);
    }
    void Consume(int count) { read_.fetch_add(static_cast<uint64_t>(count), std::memory_order_release); }

    // Empties the ring. Only while neither side is using it.
    void Clear() { read_.store(written_.load(std::memory_order_acquire), std::memory_order_release); }

private:
    void CopyIn(uint64_t w, const int16_t* in, int count) {
        const int start = static_cast<int>(w % static_cast<uint64_t>(capacity_));
        const int first = std::min(count, capacity_ - start);
        if (first > 0) std::memcpy(frames_.get() + 2 * start, in, static_cast<size_t>(first) * 4);
        if (count > first) std::memcpy(frames_.get(), in + 2 * first, static_cast<size_t>(count - first) * 4);
    }

    std::unique_ptr<int16_t[]> frames_;
    int capacity_;
    std::atomic<uint64_t> written_{0};
    std::atomic<uint64_t> read_{0};
};

}  // namespace media
