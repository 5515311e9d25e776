// Drawing Shift-JIS text with the default font.
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "media/Media.h"
#include "media/text/TextDrawing.h"
#include "media/core/Log.h"
#include "media/core/MediaAvTexts.h"
#include "media/core/MediaState.h"
#include "media/core/OperationLock.h"
#include "media/text/DefaultFont.h"
#include "media/text/TextRun.h"
#include "media/video/Renderer.h"
#include "media/video/ScreenReuse.h"

namespace {

// The string's layout in the default font, drawn (or, repeating the last
// frame on the back screen, only noted).
void DrawText(int x, int y, const std::shared_ptr<const media::TextRun>& run, uint32_t colour) {
    media::MediaState& st = media::State();
    if (st.draw.target == -2 && st.reuse->SkipText(x, y, run, colour, st.draw, st.back)) return;
    if (media::Surface* target = st.Target()) media::DrawTextRunOn(*target, x, y, *run, colour);
}

[[gnu::noinline]] int DrawTextAtAnyWay(int x, int y, const char* text, uint32_t colour) {
    media::OperationGuard guard;
    media::BringDefaultFontUpToDate();
    if (!text || !*text) return 0;
    media::Font* font = media::DefaultFont();
    if (!font) return 0;
    media::MediaState& st = media::State();
    if (st.draw.target == kBackScreen && st.reuse->SkipRepeatedText(x, y, font->Id(), text, colour, st.draw))
        return 0;
    try {
        DrawText(x, y, font->RunOf(std::string_view(text, std::strlen(text))), colour);
    } catch (const std::bad_alloc&) {
        media::LogPrintf("%s", media::texts::kCharCacheMemoryFailed);
    }
    return 0;
}

}  // namespace

int media::op::DrawTextAt(int x, int y, const char* text, uint32_t colour,
                          uint32_t /*edgeColour: no edge is drawn*/) {
    // An empty line (most lines of a text box) in a batch draws nothing and finds the font up to date.
    if (text && !*text && media::TheOperationLock().HeldHere() && media::DefaultFontUpToDate()) return 0;
    return DrawTextAtAnyWay(x, y, text, colour);
}
