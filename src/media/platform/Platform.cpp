#include "media/platform/Platform.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace media {
namespace {

// What the media layer runs on until the program chooses a platform: the
// system's clock (for the log's time stamps) and nothing else. It opens no
// window, so a start without a chosen platform fails as one without a display.
class NoDevicesPlatform final : public Platform {
public:
    int DesktopBytesPerPixel() override { return 0; }
    bool OpenWindow(const WindowRequest&, std::string& error) override {
        error = "no platform chosen";
        return false;
    }
    void CloseWindow() override {}
    void ResizeWindow(double) override {}
    void Present(const void*, int, int, int, PixelFormat) override {}
    bool PresentWaitsForBlank() override { return false; }
    PumpResult PumpEvents(int) override { return {}; }
    void WaitForEvent(uint32_t timeoutMillis) override { SleepRealMillis(timeoutMillis); }
    void ReadKeys(uint8_t keys[256]) override { std::memset(keys, 0, 256); }
    uint32_t NowMillis() override { return MonotonicMillis(); }
    void SleepMillis(uint32_t ms) override { SleepRealMillis(ms); }
    bool AcquireInstanceLock(const std::string&) override { return true; }
    void ReleaseInstanceLock() override {}
    int OpenAudio(int, AudioCallback, void*) override { return 0; }
    void CloseAudio() override {}
};

std::unique_ptr<Platform>& Current() {
    static auto* platform = new std::unique_ptr<Platform>();  // lives until process exit
    return *platform;
}
}  // namespace

Platform& CurrentPlatform() {
    std::unique_ptr<Platform>& p = Current();
    if (!p) p = std::make_unique<NoDevicesPlatform>();
    return *p;
}

void UsePlatform(std::unique_ptr<Platform> platform) { Current() = std::move(platform); }

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
