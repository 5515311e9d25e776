// Keyboard snapshot and clock.
#include <cstring>

#include "media/Media.h"
#include "media/core/CatchUp.h"
#include "media/core/OperationLock.h"
#include "media/platform/Platform.h"
#include "media/shell/Shell.h"

int GetKeyStateAll(uint8_t keys[256]) {
    media::OperationGuard guard;
    if (!keys) return -1;
    if (!media::ReadCatchUpKeys(keys)) media::TheShell().ReadKeys(keys);
    keys[0] = 0;
    return 0;
}

uint32_t GetNowMillis(int /*unused*/) {
    media::OperationGuard guard;
    return media::GameMillis();
}

void Sleep(int ms) {
    if (ms <= 0) return;
    // The lock is not held while sleeping: other threads may use the media layer.
    media::Platform* platform;
    {
        media::OperationGuard guard;
        if (media::SleepCaughtUp(static_cast<uint32_t>(ms))) return;
        platform = &media::CurrentPlatform();
    }
    platform->SleepMillis(static_cast<uint32_t>(ms));
}
