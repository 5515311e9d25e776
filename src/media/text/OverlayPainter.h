// Paints the window's overlay (media/shell/WindowOverlay.h) at the window's own
// resolution: lines of Shift-JIS text in the game's face, light on an
// opaque dark box, into ARGB pixels a platform shows above the picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/text/Font.h"

namespace media {

struct OverlayPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xFFRRGGBB (opaque), row by row; empty when there is nothing to show
};

class OverlayPainter {
public:
    // The lines with text `pixelSize` pixels high; the font is kept while the size stays.
    const OverlayPicture& Paint(const std::vector<std::string>& lines, int pixelSize);

private:
    Font* FontOfSize(int pixelSize);
    void Fill(int width, int height);
    void Blit(const TextMask& mask, int x, int y);

    std::unique_ptr<Font> m_font;
    int m_fontSize = 0;
    OverlayPicture m_picture;
};

}  // namespace media
