// Colours in the screen's pixel format and the transparent colour of images.
#include <algorithm>

#include "media/Media.h"
#include "media/video/Colour.h"
#include "media/core/MediaState.h"
#include "media/core/OperationLock.h"
#include "media/video/PixelMath.h"

namespace media {

const std::array<uint32_t, 256>& Palette() {
    static const std::array<uint32_t, 256> palette = [] {
        std::array<uint32_t, 256> p{};
        int i = 0;
        for (uint32_t r = 0; r < 6; ++r)
            for (uint32_t g = 0; g < 6; ++g)
                for (uint32_t b = 0; b < 6; ++b) p[i++] = (r * 51) << 16 | (g * 51) << 8 | (b * 51);
        for (uint32_t k = 1; i < 256; ++k) p[i++] = (k * 6) * 0x010101u;
        return p;
    }();
    return palette;
}

uint8_t NearestPaletteIndex(uint32_t rgb) {
    const int r = static_cast<int>((rgb >> 16) & 0xFF), g = static_cast<int>((rgb >> 8) & 0xFF),
              b = static_cast<int>(rgb & 0xFF);
    const auto& p = Palette();
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const int dr = r - static_cast<int>((p[i] >> 16) & 0xFF), dg = g - static_cast<int>((p[i] >> 8) & 0xFF),
                  db = b - static_cast<int>(p[i] & 0xFF);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

}  // namespace media

using namespace media;

uint32_t MakeColor(int r, int g, int b) {
    OperationGuard guard;
    const uint32_t rgb = static_cast<uint32_t>(std::clamp(r, 0, 255)) << 16 |
                         static_cast<uint32_t>(std::clamp(g, 0, 255)) << 8 |
                         static_cast<uint32_t>(std::clamp(b, 0, 255));
    switch (State().Format()) {
        case PixelFormat::Indexed8: return Indexed8::FromRgb(rgb);
        case PixelFormat::Rgb565: return Rgb565::FromRgb(rgb);
        case PixelFormat::Xrgb8888: return Xrgb8888::FromRgb(rgb);
    }
    return 0;
}

int op::SetTransparentColor(int r, int g, int b) {
    OperationGuard guard;
    MediaState& st = State();
    if (st.bitsPerPixel == 8) return 0;
    st.transparentSet = true;
    st.transparentRgb = static_cast<uint32_t>(r & 0xFF) << 16 | static_cast<uint32_t>(g & 0xFF) << 8 |
                        static_cast<uint32_t>(b & 0xFF);
    return 0;
}
