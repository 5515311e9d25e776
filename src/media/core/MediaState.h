// The media layer's process-wide state: screen mode, screens, drawing state, images.
// Internal to src/media/; every access happens under the operation lock.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/core/HandleTable.h"
#include "media/core/StartFailure.h"
#include "media/platform/Platform.h"
#include "media/video/RefreshMeter.h"
#include "media/video/Rgb565KeyedRows.h"

namespace media {

// A screen held in memory in the mode's own pixel format.
struct Surface {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Rgb565;
    std::vector<uint8_t> p8;    // Indexed8
    std::vector<uint16_t> p16;  // Rgb565
    std::vector<uint32_t> p32;  // Xrgb8888

    // The finished frame of the screen reuse this surface shows (0: none), and
    // per row the columns [first, end) drawn on since: outside them it still
    // shows that frame. Copies and swaps of surfaces carry it along.
    uint64_t pictureId = 0;
    std::vector<int16_t> touchedFirst, touchedEnd;
    bool touched = false;  // some row was drawn on since

    void Allocate(int w, int h, PixelFormat f);
    void Fill(uint32_t colour);
    bool Empty() const { return width <= 0 || height <= 0; }
    // Bytes per row and the first byte, for presenting.
    int Pitch() const;
    const void* Data() const;
    uint8_t* Bytes();
    // Pixel (x, y) as 0xRRGGBB.
    uint32_t RgbAt(int x, int y) const;
    // Notes that the pixels [x0, x1) x [y0, y1), inside the surface, are drawn on.
    void Touch(int x0, int y0, int x1, int y1) {
        if (pictureId == 0) return;
        touched = true;
        for (int y = y0; y < y1; ++y) {
            const size_t row = static_cast<size_t>(y);
            touchedFirst[row] = static_cast<int16_t>(std::min<int>(touchedFirst[row], x0));
            touchedEnd[row] = static_cast<int16_t>(std::max<int>(touchedEnd[row], x1));
        }
    }
    // From now on the surface shows picture `id` untouched.
    void ShowsPicture(uint64_t id);
};

// An image: its pixels as 0xRRGGBB, which of them carry the transparent colour,
// and the same pixels converted to the screen's format when first drawn.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;
    std::vector<uint8_t> keyed;  // 1 where the pixel had the transparent colour at load
    bool anyKeyed = false;
    std::string fileName;
    // Where the pixels came from, so that the image can be made again: the
    // cell's corner in the file's picture, its place among the cells of a
    // divided load (-1: the whole file), and the transparent colour in force at
    // the load (keyUsed false: none).
    int sourceX = 0;
    int sourceY = 0;
    int cell = -1;
    bool keyUsed = false;
    uint32_t keyRgb = 0;

    PixelFormat nativeFormat = PixelFormat::Rgb565;
    bool nativeReady = false;
    std::vector<uint8_t> n8;
    std::vector<uint16_t> n16;
    std::vector<uint16_t> keep16;  // at 16 bits: 0xFFFF where keyed, else 0 (empty when nothing is keyed)
    // With keep16, per row: whether none, some or all of its pixels are keyed.
    using RowKeys = rgb565::KeyedRow;
    std::vector<RowKeys> rowKeys16;
    // At 16 bits, made on the first mirrored draw: n16 and keep16 with every row turned round.
    std::vector<uint16_t> mirrored16;
    std::vector<uint16_t> mirroredKeep16;
    std::vector<uint32_t> n32;

    void EnsureNative(PixelFormat format) {  // asked by every draw: the check is inline
        if (!nativeReady || nativeFormat != format) MakeNative(format);
    }
    void EnsureMirrored16();

private:
    void MakeNative(PixelFormat format);
};

struct DrawState {
    int target = -4;    // -2 back screen, -4 front screen
    int blendMode = 0;  // 0 none, 1 alpha
    int blendParam = 255;
    int brightR = 255, brightG = 255, brightB = 255;
};

constexpr int kImageSlots = 32768;

class ScreenReuse;

struct MediaState {
    MediaState();
    ~MediaState();

    // Recorded by SetScreenMode / SetWindowScale / ChangeWindowMode.
    int screenWidth = 640;
    int screenHeight = 480;
    int bitsPerPixel = 16;
    int refreshRate = 60;
    double windowScale = 1.0;
    bool windowed = true;

    bool transparentSet = false;
    uint32_t transparentRgb = 0;  // 0xRRGGBB

    bool running = false;  // InitMediaLayer succeeded and EndMediaLayer not yet called
    bool ended = false;    // ProcessMessage answers -1 for ever
    bool active = true;    // window focus as last reported

    bool vsyncWait = false;
    int refreshPeriod = -1;  // ms; -1 unmeasured (also while the meter times it)
    RefreshMeter refreshMeter;
    uint32_t lastVblankEnd = 0;

    // FlipScreen swaps the two screens; the back screen then still owes a copy of
    // what was shown (backStale), paid on its next use unless ClearScreen comes first.
    Surface back;
    Surface front;
    bool backStale = false;
    // Draws on the back screen that repeat the previous frame's may wait (see ScreenReuse).
    std::unique_ptr<ScreenReuse> reuse;
    DrawState draw;
    HandleTable<Image> images{HandleType::Image, kImageSlots};

    PixelFormat Format() const;
    // The current draw target, or null before the screens exist.
    Surface* Target();
    // The back screen with its content as drawn (settles a pending copy and waiting draws).
    Surface& Back();
    // Before the images or the screens change: waiting draws are made, the shown frame forgotten.
    void ForgetReuse();
};

namespace detail {
extern std::atomic<MediaState*> theState;
// Makes the state on first use (once, whichever thread comes first).
[[gnu::noinline, gnu::cold]] MediaState& MakeState();
}  // namespace detail

// Made on first use, lives until process exit. Inline and short: nearly every
// operation asks, most of them hundreds of times a frame.
inline MediaState& State() {
    MediaState* state = detail::theState.load(std::memory_order_acquire);
    if (__builtin_expect(state == nullptr, 0)) return detail::MakeState();
    return *state;
}

// The state if made already, else null: for short ways that leave the rest to the usual one.
inline MediaState* MadeState() { return detail::theState.load(std::memory_order_acquire); }

// The pixel format of a screen depth (8, 16 or 32 bits).
PixelFormat FormatOfDepth(int bits);

// Name of the single-instance lock: the one set by the headless controls, else
// the ANAGURA_INSTANCE_LOCK environment variable, else the window class name.
std::string InstanceLockName();
void SetInstanceLockNameOverride(const std::string& name);

}  // namespace media
