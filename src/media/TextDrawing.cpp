// Drawing Shift-JIS text with the default font.
#include <cstring>
#include <limits>
#include <new>
#include <string_view>

#include "media/DefaultFont.h"
#include "media/Log.h"
#include "media/Media.h"
#include "media/MediaAvTexts.h"
#include "media/OperationLock.h"
#include "media/Renderer.h"
#include "media/TextRun.h"

namespace {

// A mask at pen position x + offset; nothing when that lies beyond the int range
// (far off any screen).
void DrawMaskAt(int x, int64_t offset, int y, const uint8_t* mask, int width, int height, int pitch,
                uint32_t colour) {
    const int64_t left = int64_t{x} + offset;
    if (left < std::numeric_limits<int>::min() || left > std::numeric_limits<int>::max()) return;
    media::DrawCoverageMask(static_cast<int>(left), y, mask, width, height, pitch, colour);
}

void DrawRun(int x, int y, const media::TextRun& run, uint32_t colour) {
    if (!run.mask.empty()) {
        DrawMaskAt(x, run.maskLeft, y, run.mask.data(), run.maskWidth, run.maskHeight, run.maskPitch, colour);
        return;
    }
    for (const media::PlacedGlyph& g : run.glyphs)
        DrawMaskAt(x, g.x, y, g.glyph->mask.data(), g.glyph->width, g.glyph->height, g.glyph->pitch, colour);
}

}  // namespace

int DrawTextAt(int x, int y, const char* text, uint32_t colour, uint32_t /*edgeColour*/) {
    media::OperationGuard guard;
    media::BringDefaultFontUpToDate();
    if (!text || !*text) return 0;
    media::Font* font = media::DefaultFont();
    if (!font) return 0;
    try {
        DrawRun(x, y, font->RunOf(std::string_view(text, std::strlen(text))), colour);
    } catch (const std::bad_alloc&) {
        media::LogPrintf("%s", media::texts::kCharCacheMemoryFailed);
    }
    return 0;
}
