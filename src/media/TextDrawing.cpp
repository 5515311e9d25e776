// Drawing Shift-JIS text with the default font.
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "media/DefaultFont.h"
#include "media/Log.h"
#include "media/Media.h"
#include "media/MediaAvTexts.h"
#include "media/MediaState.h"
#include "media/OperationLock.h"
#include "media/Renderer.h"
#include "media/ScreenReuse.h"
#include "media/TextRun.h"
#include "media/TracedCalls.h"

namespace {

// The string's layout in the default font, drawn (or, repeating the last
// frame on the back screen, only noted).
void DrawText(int x, int y, const std::shared_ptr<const media::TextRun>& run, uint32_t colour) {
    media::MediaState& st = media::State();
    if (st.draw.target == -2 && st.reuse->SkipText(x, y, run, colour, st.draw, st.back)) return;
    if (media::Surface* target = st.Target()) media::DrawTextRunOn(*target, x, y, *run, colour);
}

}  // namespace

int DrawTextAt(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour) {
    if (media::RecordingCalls()) return media::traced::DrawTextAt(x, y, text, colour, edgeColour);
    media::OperationGuard guard;
    media::BringDefaultFontUpToDate();
    if (!text || !*text) return 0;
    media::Font* font = media::DefaultFont();
    if (!font) return 0;
    try {
        DrawText(x, y, font->RunOf(std::string_view(text, std::strlen(text))), colour);
    } catch (const std::bad_alloc&) {
        media::LogPrintf("%s", media::texts::kCharCacheMemoryFailed);
    }
    return 0;
}
