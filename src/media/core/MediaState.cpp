#include "media/core/MediaState.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "media/video/PixelMath.h"
#include "media/video/Rgb565Rows.h"
#include "media/video/ScreenReuse.h"

namespace media {

void Surface::Allocate(int w, int h, PixelFormat f) {
    width = w;
    height = h;
    format = f;
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    p8.assign(f == PixelFormat::Indexed8 ? n : 0, 0);
    p16.assign(f == PixelFormat::Rgb565 ? n : 0, 0);
    p32.assign(f == PixelFormat::Xrgb8888 ? n : 0, 0);
    pictureId = 0;
}

void Surface::ShowsPicture(uint64_t id) {
    pictureId = id;
    // Untouched since the spans were last cleared for this size: they still are.
    const size_t rows = static_cast<size_t>(height);
    if (!touched && touchedFirst.size() == rows && touchedEnd.size() == rows &&
        (rows == 0 || touchedFirst[0] == width))
        return;
    touched = false;
    // At most 16384 pixels wide: the spans fit 16 bits.
    touchedFirst.assign(static_cast<size_t>(height), static_cast<int16_t>(width));
    touchedEnd.assign(static_cast<size_t>(height), 0);
}

namespace {
// Fills by doubling: one pixel, then copies of what is already filled.
template <typename P>
void FillPixels(std::vector<P>& pixels, P value) {
    const size_t n = pixels.size();
    if (n == 0) return;
    P* data = pixels.data();
    data[0] = value;
    for (size_t done = 1; done < n;) {
        const size_t chunk = std::min(done, n - done);
        std::memcpy(data + done, data, chunk * sizeof(P));
        done += chunk;
    }
}
}  // namespace

void Surface::Fill(uint32_t colour) {
    pictureId = 0;
    switch (format) {
        case PixelFormat::Indexed8: std::memset(p8.data(), static_cast<int>(colour & 0xFF), p8.size()); break;
        case PixelFormat::Rgb565:
            rgb565::FillRow(p16.data(), static_cast<uint16_t>(colour), static_cast<int>(p16.size()));
            break;
        case PixelFormat::Xrgb8888: FillPixels(p32, colour); break;
    }
}

int Surface::Pitch() const {
    switch (format) {
        case PixelFormat::Indexed8: return width;
        case PixelFormat::Rgb565: return width * 2;
        case PixelFormat::Xrgb8888: return width * 4;
    }
    return 0;
}

const void* Surface::Data() const {
    switch (format) {
        case PixelFormat::Indexed8: return p8.data();
        case PixelFormat::Rgb565: return p16.data();
        case PixelFormat::Xrgb8888: return p32.data();
    }
    return nullptr;
}

uint8_t* Surface::Bytes() { return const_cast<uint8_t*>(static_cast<const uint8_t*>(Data())); }

uint32_t Surface::RgbAt(int x, int y) const {
    const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    switch (format) {
        case PixelFormat::Indexed8: return ToRgb<Indexed8>(p8[i]);
        case PixelFormat::Rgb565: return ToRgb<Rgb565>(p16[i]);
        case PixelFormat::Xrgb8888: return ToRgb<Xrgb8888>(p32[i]);
    }
    return 0;
}

namespace {

std::vector<Image::RowKeys> RowKeysOf(const std::vector<uint8_t>& keyed, int width) {
    std::vector<Image::RowKeys> rows;
    const size_t w = static_cast<size_t>(width);
    for (size_t row = 0; row + w <= keyed.size() && w > 0; row += w) {
        size_t count = 0;
        for (size_t i = 0; i < w; ++i) count += keyed[row + i] ? 1 : 0;
        rows.push_back(count == 0 ? Image::RowKeys::None : count == w ? Image::RowKeys::All : Image::RowKeys::Some);
    }
    return rows;
}

std::vector<uint16_t> RowsTurnedRound(const std::vector<uint16_t>& pixels, int width) {
    std::vector<uint16_t> turned(pixels.size());
    const size_t w = static_cast<size_t>(width);
    for (size_t row = 0; row + w <= pixels.size() && w > 0; row += w) {
        for (size_t i = 0; i < w; ++i) turned[row + i] = pixels[row + w - 1 - i];
    }
    return turned;
}

}  // namespace

void Image::MakeNative(PixelFormat format) {
    const size_t n = rgb.size();
    n8.clear();
    n16.clear();
    keep16.clear();
    rowKeys16.clear();
    mirrored16.clear();
    mirroredKeep16.clear();
    n32.clear();
    switch (format) {
        case PixelFormat::Indexed8:
            n8.resize(n);
            for (size_t i = 0; i < n; ++i) n8[i] = Indexed8::FromRgb(rgb[i]);
            break;
        case PixelFormat::Rgb565:
            n16.resize(n);
            for (size_t i = 0; i < n; ++i) n16[i] = Rgb565::FromRgb(rgb[i]);
            if (anyKeyed) {
                keep16.resize(n);
                for (size_t i = 0; i < n; ++i) keep16[i] = keyed[i] ? 0xFFFF : 0;
                rowKeys16 = RowKeysOf(keyed, width);
            }
            break;
        case PixelFormat::Xrgb8888:
            n32.resize(n);
            for (size_t i = 0; i < n; ++i) n32[i] = Xrgb8888::FromRgb(rgb[i]);
            break;
    }
    nativeFormat = format;
    nativeReady = true;
}

void Image::EnsureMirrored16() {
    if (mirrored16.size() == n16.size() && mirroredKeep16.size() == keep16.size()) return;
    mirrored16 = RowsTurnedRound(n16, width);
    mirroredKeep16 = RowsTurnedRound(keep16, width);
}

PixelFormat FormatOfDepth(int bits) {
    if (bits == 8) return PixelFormat::Indexed8;
    if (bits == 32) return PixelFormat::Xrgb8888;
    return PixelFormat::Rgb565;
}

PixelFormat MediaState::Format() const { return FormatOfDepth(bitsPerPixel); }

Surface* MediaState::Target() {
    Surface* s = draw.target == -2 ? &Back() : &front;
    return s->Empty() ? nullptr : s;
}

namespace detail {
std::atomic<MediaState*> theState{nullptr};

MediaState& MakeState() {
    static MediaState* const state = new MediaState();
    theState.store(state, std::memory_order_release);
    return *state;
}
}  // namespace detail

// The reuse of the shown picture is on unless the environment's
// ANAGURA_SCREEN_REUSE is "off": every draw is then made at once, giving the
// same pictures more slowly.
MediaState::MediaState() : reuse(std::make_unique<ScreenReuse>()) {
    const char* env = std::getenv("ANAGURA_SCREEN_REUSE");
    if (env && std::strcmp(env, "off") == 0) reuse->SetEnabled(false, back);
}
MediaState::~MediaState() = default;

Surface& MediaState::Back() {
    if (reuse->Pending()) reuse->Settle(back);
    if (backStale) {
        back = front;
        backStale = false;
    }
    return back;
}

void MediaState::ForgetReuse() { reuse->Forget(back); }

namespace {
std::string& LockNameOverride() {
    static std::string* name = new std::string();
    return *name;
}
}  // namespace

void SetInstanceLockNameOverride(const std::string& name) { LockNameOverride() = name; }

std::string InstanceLockName() {
    if (!LockNameOverride().empty()) return LockNameOverride();
    const char* env = std::getenv("ANAGURA_INSTANCE_LOCK");
    if (env && *env) return env;
    return "D123987X";
}

}  // namespace media
