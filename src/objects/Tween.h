// A value moving towards a target by a fixed step per update, stopping exactly on it.
#pragma once

struct Tween {
    double value = 0.0;
    double target = 0.0;
    double step = 0.0;

    // frames < 1 jumps at once; otherwise arrives after that many updates.
    void MoveTo(int frames, double newTarget);
    // One update: value += step, stopping exactly on the target.
    void Step();
};
