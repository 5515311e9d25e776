// anagura-shotmatch: tells whether a dump of the game's window (xwd) shows one
// of the given screenshots of the replay tool, magnified to the window: the
// picture at its largest whole multiple, centred. Colours are compared at the
// screen's precision (5, 6 and 5 bits). Exit status 0 with the matching
// screenshot's name printed, 1 when none matches, 2 for a file that cannot be read.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/video/ImageDecoder.h"
#include "shotmatch/XwdFile.h"

namespace {

bool SameAtScreenPrecision(uint32_t a, uint32_t b) { return ((a ^ b) & 0xF8FCF8) == 0; }

// Window pixels that differ from the screenshot magnified into it.
long Differences(const shotmatch::WindowPicture& window, const media::DecodedImage& shot) {
    const int scale = std::min(window.width / shot.width, window.height / shot.height);
    if (scale < 1) return static_cast<long>(window.rgb.size());
    const int left = (window.width - scale * shot.width) / 2;
    const int top = (window.height - scale * shot.height) / 2;
    long differences = 0;
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x) {
            const int sx = (x - left) / scale;
            const int sy = (y - top) / scale;
            const bool inside = x >= left && y >= top && sx < shot.width && sy < shot.height;
            const uint32_t want =
                inside
                    ? shot.argb[static_cast<size_t>(sy) * static_cast<size_t>(shot.width) + static_cast<size_t>(sx)]
                    : 0;
            if (!SameAtScreenPrecision(
                    window.rgb[static_cast<size_t>(y) * static_cast<size_t>(window.width) + static_cast<size_t>(x)],
                    want))
                ++differences;
        }
    return differences;
}

bool ReadPng(const std::string& path, media::DecodedImage& image) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return media::DecodePng(bytes.data(), bytes.size(), image) == media::DecodeResult::Ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: anagura-shotmatch WINDOW.xwd SCREENSHOT.png...\n");
        return 2;
    }
    shotmatch::WindowPicture window;
    std::string error;
    if (!shotmatch::ReadXwd(argv[1], window, error)) {
        std::fprintf(stderr, "anagura-shotmatch: %s %s\n", argv[1], error.c_str());
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        media::DecodedImage shot;
        if (!ReadPng(argv[i], shot)) {
            std::fprintf(stderr, "anagura-shotmatch: %s cannot be read as PNG\n", argv[i]);
            return 2;
        }
        const long differences = Differences(window, shot);
        if (differences == 0) {
            std::printf("%s\n", argv[i]);
            return 0;
        }
        std::fprintf(stderr, "anagura-shotmatch: %s: %ld of %zu window pixels differ\n", argv[i], differences,
                     window.rgb.size());
    }
    return 1;
}
