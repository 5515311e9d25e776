#include "objects/graphics/Tween.h"

void Tween::MoveTo(int frames, double newTarget) {
    if (frames < 1) {
        value = newTarget;
        target = newTarget;
        step = 0.0;
        return;
    }
    target = newTarget;
    step = (newTarget - value) / frames;
}

void Tween::Advance() {
    value += step;
    // Stop exactly on the target. A tween at rest below its target jumps to it;
    // one at rest above it stays where it is.
    if (step > 0.0 && value > target) {
        value = target;
        step = 0.0;
    }
    if (step <= 0.0 && value < target) {
        value = target;
        step = 0.0;
    }
}
