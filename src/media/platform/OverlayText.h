// What a window shows above the game's picture, never in it: the lines of an
// open panel (help, settings), or a short notice across the picture's top. The
// screen, the call trace and screenshots never see it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

struct OverlayText {
    std::vector<std::string> lines;  // Shift-JIS; nothing to show when empty
    bool panel = false;              // a panel, centred; else a notice
    uint64_t serial = 0;             // changes whenever the lines or the kind change
};

}  // namespace media
