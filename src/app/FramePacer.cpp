#include "app/FramePacer.h"

#include "media/Media.h"

void FramePacer::Pace() {
    const uint32_t now = GetNowMillis(0);
    if (paced) {
        const uint32_t elapsed = now - lastTick;
        const uint32_t wanted = interval > 0 ? static_cast<uint32_t>(interval) : 0u;
        if (elapsed < wanted) Sleep(static_cast<int>(wanted - elapsed));
    }
    lastTick = now;
    paced = true;
}
