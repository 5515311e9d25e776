// A value moving towards a target by a fixed step per update, stopping exactly on it.
#pragma once

#include <cmath>

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

private:
    void Advance();
};
