#include "media/video/Screenshot.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "media/core/Log.h"
#include "media/core/MediaState.h"
#include "media/core/OperationLock.h"
#include "media/core/PlayerPrefs.h"
#include "media/platform/Platform.h"
#include "media/video/PngFile.h"

namespace media {

namespace {

namespace fs = std::filesystem;

std::vector<uint32_t> RgbOf(const Surface& surface) {
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(surface.width) * static_cast<size_t>(surface.height));
    for (int y = 0; y < surface.height; ++y)
        for (int x = 0; x < surface.width; ++x) pixels.push_back(surface.RgbAt(x, y));
    return pixels;
}

// Each pixel as a scale x scale block.
std::vector<uint32_t> Enlarged(const std::vector<uint32_t>& pixels, int width, int height, int scale) {
    const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height), k = static_cast<size_t>(scale);
    std::vector<uint32_t> out(w * k * h * k);
    for (size_t y = 0; y < h * k; ++y)
        for (size_t x = 0; x < w * k; ++x) out[y * w * k + x] = pixels[y / k * w + x / k];
    return out;
}

}  // namespace

std::string FreeScreenshotStem(const std::string& folder, const std::tm& time) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "anagura-%Y%m%d-%H%M%S", &time);
    const std::string base = (fs::path(folder) / stamp).string();
    std::string stem = base;
    std::error_code ec;
    for (int n = 2; fs::exists(stem + ".png", ec); ++n) stem = base + "-" + std::to_string(n);
    return stem;
}

void SaveScreenshot() {
    OperationGuard guard;
    const std::string folder = CurrentPlayerPrefs().screenshotFolder;
    const Surface& shown = State().front;
    if (folder.empty() || shown.Empty()) return;
    const std::vector<uint32_t> pixels = RgbOf(shown);
    const int scale = CurrentPlatform().ShownScale();
    std::error_code ec;
    fs::create_directories(folder, ec);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string stem = FreeScreenshotStem(folder, local);
    if (!WritePng(stem + ".png", pixels, shown.width, shown.height)) {
        const int error = errno;
        LogLine("Screenshot not saved: %s.png cannot be written (%s)", stem.c_str(), std::strerror(error));
        std::fprintf(stderr, "anagura: screenshot not saved: %s.png cannot be written (%s)\n", stem.c_str(),
                     std::strerror(error));
        return;
    }
    if (scale <= 1) {
        LogLine("Screenshot %s.png", stem.c_str());
        return;
    }
    const std::string large = stem + "-x" + std::to_string(scale) + ".png";
    const bool written = WritePng(large, Enlarged(pixels, shown.width, shown.height, scale), shown.width * scale,
                                  shown.height * scale);
    LogLine("Screenshot %s.png and, at %dx, %s%s", stem.c_str(), scale, fs::path(large).filename().c_str(),
            written ? "" : " (cannot be written)");
    if (!written) std::fprintf(stderr, "anagura: screenshot %s cannot be written\n", large.c_str());
}

}  // namespace media
