// anagura-shotmatch: tells whether a dump of the game's window (xwd) shows one
// of the given screenshots of the replay tool, magnified to the window: the
// picture at its largest whole multiple, centred. Colours are compared at the
// screen's precision (5, 6 and 5 bits). With --panel, the window must show the
// screenshot with the help panel above it (WindowCompare.h). Exit status 0 with
// the matching screenshot's name printed, 1 when none matches, 2 for a file
// that cannot be read.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/video/ImageDecoder.h"
#include "shotmatch/WindowCompare.h"
#include "shotmatch/XwdFile.h"

namespace {

bool ReadPng(const std::string& path, media::DecodedImage& image) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return media::DecodePng(bytes.data(), bytes.size(), image) == media::DecodeResult::Ok;
}

// "" when the window shows the screenshot as asked, else what differs.
std::string Mismatch(const shotmatch::WindowPicture& window, const media::DecodedImage& shot, bool panel,
                     std::string& found) {
    if (panel) return shotmatch::PanelProblem(window, shot, found);
    const long differences = shotmatch::Differences(window, shot);
    if (differences == 0) return {};
    return std::to_string(differences) + " of " + std::to_string(window.rgb.size()) + " window pixels differ";
}

}  // namespace

int main(int argc, char** argv) {
    const bool panel = argc > 1 && std::strcmp(argv[1], "--panel") == 0;
    const int first = panel ? 2 : 1;
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: anagura-shotmatch [--panel] WINDOW.xwd SCREENSHOT.png...\n");
        return 2;
    }
    shotmatch::WindowPicture window;
    std::string error;
    if (!shotmatch::ReadXwd(argv[first], window, error)) {
        std::fprintf(stderr, "anagura-shotmatch: %s %s\n", argv[first], error.c_str());
        return 2;
    }
    for (int i = first + 1; i < argc; ++i) {
        media::DecodedImage shot;
        if (!ReadPng(argv[i], shot)) {
            std::fprintf(stderr, "anagura-shotmatch: %s cannot be read as PNG\n", argv[i]);
            return 2;
        }
        std::string found;
        const std::string mismatch = Mismatch(window, shot, panel, found);
        if (mismatch.empty()) {
            std::printf("%s%s%s\n", argv[i], found.empty() ? "" : ": ", found.c_str());
            return 0;
        }
        std::fprintf(stderr, "anagura-shotmatch: %s: %s\n", argv[i], mismatch.c_str());
    }
    return 1;
}
