#include "media/platform/Platform.h"

#include <cerrno>
#include <ctime>

namespace media {
namespace {

std::unique_ptr<Platform>& Current() {
    static auto* platform = new std::unique_ptr<Platform>();  // lives until process exit
    return *platform;
}

InputSink* g_sink = nullptr;
}  // namespace

Platform& CurrentPlatform() {
    std::unique_ptr<Platform>& p = Current();
    if (!p) {
        p = MakeTemplatePlatform();
        p->AttachInput(g_sink);
    }
    return *p;
}

void UsePlatform(std::unique_ptr<Platform> platform) {
    if (Current()) Current()->AttachInput(nullptr);
    Current() = std::move(platform);
    if (Current()) Current()->AttachInput(g_sink);
}

void SetPlatformInputSink(InputSink* sink) {
    g_sink = sink;
    if (Current()) Current()->AttachInput(sink);
}

uint32_t MonotonicMillis() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u +
                                 static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

void SleepRealMillis(uint32_t ms) {
    timespec ts;
    ts.tv_sec = static_cast<time_t>(ms / 1000);
    ts.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

}  // namespace media
