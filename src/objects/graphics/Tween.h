// A value moving towards a target by a fixed step per update, stopping exactly on it.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

struct Tween {
    double value = 0.0;
    double target = 0.0;
    double step = 0.0;

    // frames < 1 jumps at once; otherwise arrives after that many updates.
    void MoveTo(int frames, double newTarget);
    // One update: value += step, stopping exactly on the target. A finished
    // tween is left as it is: the update could not change it.
    void Step() {
        if (!Finished()) Advance();
    }
    // At rest exactly on its target. A negative zero does not count: adding a
    // step of +0 would turn it into +0.
    bool Finished() const { return step == 0.0 && value == target && !(value == 0.0 && std::signbit(value)); }
    // Zero when the tween is surely finished, judged on the bits without a
    // branch: a step of +0, the value's bits the target's, the value not -0.
    // Anything else (a -0 step, say) is left to Step(). Objects with several
    // tweens OR these together and step them only when the result is not zero.
    uint64_t Unrest() const {
        const uint64_t v = std::bit_cast<uint64_t>(value);
        return std::bit_cast<uint64_t>(step) | (v ^ std::bit_cast<uint64_t>(target)) |
               static_cast<uint64_t>(v == kNegativeZeroBits);
    }

private:
    static constexpr uint64_t kNegativeZeroBits = uint64_t{1} << 63;
    void Advance();
};
