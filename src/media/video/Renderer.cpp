// The software renderer: images, rectangles and coverage masks drawn into the
// current draw target under the drawing state. The colour arithmetic is in
// PixelMath.h; this file only walks pixels and clips.
#include "media/video/Renderer.h"

#include <algorithm>
#include <limits>
#include <type_traits>
#include <vector>

#include "media/core/MediaState.h"
#include "media/text/TextRun.h"
#include "media/video/PixelMath.h"
#include "media/video/Rgb565BlendFill.h"
#include "media/video/Rgb565KeyedRows.h"
#include "media/video/Rgb565Rows.h"

namespace media {
namespace {

// The drawing state reduced to what a pixel loop needs.
struct Shade {
    uint32_t br, bg, bb;
    uint32_t param;
    bool modulate;   // brightness other than 255, 255, 255
    bool blend;      // alpha blending with 0 < param < 255
    bool invisible;  // alpha blending with param 0: nothing to draw
};

[[gnu::always_inline]] inline Shade CurrentShade() {  // asked by every draw
    const DrawState& d = State().draw;
    Shade s;
    s.br = static_cast<uint32_t>(d.brightR);
    s.bg = static_cast<uint32_t>(d.brightG);
    s.bb = static_cast<uint32_t>(d.brightB);
    s.param = static_cast<uint32_t>(d.blendParam);
    s.modulate = !(d.brightR == 255 && d.brightG == 255 && d.brightB == 255);
    s.blend = d.blendMode == 1 && d.blendParam < 255;
    s.invisible = d.blendMode == 1 && d.blendParam == 0;
    return s;
}

// Clipped destination rectangle [x0, x1) x [y0, y1) on a surface.
struct Clip {
    int x0, y0, x1, y1;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

const detail::DrawArea& within = detail::drawArea;  // see DrawingLimit

Clip ClipTo(const Surface& s, int x, int y, int w, int h) {
    // 64-bit sums: positions near INT_MAX must not overflow.
    const int64_t ex = static_cast<int64_t>(x) + w, ey = static_cast<int64_t>(y) + h;
    Clip c;
    c.x0 = std::max({x, 0, within.x0});
    c.y0 = std::max({y, 0, within.y0});
    c.x1 = static_cast<int>(std::min<int64_t>({ex, s.width, within.x1}));
    c.y1 = static_cast<int>(std::min<int64_t>({ey, s.height, within.y1}));
    return c;
}

template <class F>
typename F::Pixel* PixelsOf(Surface& s);
template <>
uint8_t* PixelsOf<Indexed8>(Surface& s) {
    return s.p8.data();
}
template <>
uint16_t* PixelsOf<Rgb565>(Surface& s) {
    return s.p16.data();
}
template <>
uint32_t* PixelsOf<Xrgb8888>(Surface& s) {
    return s.p32.data();
}

template <class F>
const typename F::Pixel* NativeOf(const Image& im);
template <>
const uint8_t* NativeOf<Indexed8>(const Image& im) {
    return im.n8.data();
}
template <>
const uint32_t* NativeOf<Xrgb8888>(const Image& im) {
    return im.n32.data();
}

// Per-component lookup tables for the current brightness and blend parameter,
// kept until either changes. With blending, src holds c' * p and dst holds
// d * (255 - p), so a component is (src[s] + dst[d]) / 255; without blending src
// holds c' (the brightness applied).
template <class F>
struct ShadeTables {
    static constexpr int kR = 256, kG = 256, kB = 256;  // 8-bit components (the palette works on its entries' RGB)
    uint32_t srcR[kR], srcG[kG], srcB[kB];
    uint32_t dstR[kR], dstG[kG], dstB[kB];
    uint32_t br = 256, bg = 256, bb = 256, param = 256;
    bool blend = false;

    void Prepare(const Shade& sh) {
        if (sh.br == br && sh.bg == bg && sh.bb == bb && sh.param == param && sh.blend == blend) return;
        br = sh.br;
        bg = sh.bg;
        bb = sh.bb;
        param = sh.param;
        blend = sh.blend;
        const uint32_t p = blend ? param : 1u;
        for (uint32_t c = 0; c < kR; ++c) srcR[c] = ScaleComponent(c, br) * p;
        for (uint32_t c = 0; c < kG; ++c) srcG[c] = ScaleComponent(c, bg) * p;
        for (uint32_t c = 0; c < kB; ++c) srcB[c] = ScaleComponent(c, bb) * p;
        for (uint32_t c = 0; c < kR; ++c) dstR[c] = c * (255u - param);
        for (uint32_t c = 0; c < kG; ++c) dstG[c] = c * (255u - param);
        for (uint32_t c = 0; c < kB; ++c) dstB[c] = c * (255u - param);
    }
};

template <class F>
ShadeTables<F>& TablesFor() {
    static ShadeTables<F> tables;  // used under the operation lock only
    return tables;
}

// One image row: n pixels from src (stepping `step`, +1 or -1) onto dst.
template <class F, int kMode, bool kKey>  // kMode: 0 copy, 1 tables without blending, 2 tables with blending
void ImageRow(typename F::Pixel* dst, const typename F::Pixel* src, const uint8_t* key, int n, int step,
              const ShadeTables<F>& t) {
    for (int i = 0; i < n; ++i, src += step, key += step) {
        if (kKey && *key) continue;
        const typename F::Pixel s = *src;
        if constexpr (kMode == 0) {
            dst[i] = s;
        } else if constexpr (kMode == 1) {
            dst[i] = F::Make(t.srcR[F::R(s)], t.srcG[F::G(s)], t.srcB[F::B(s)]);
        } else {
            const typename F::Pixel d = dst[i];
            dst[i] = F::Make((t.srcR[F::R(s)] + t.dstR[F::R(d)]) / 255u, (t.srcG[F::G(s)] + t.dstG[F::G(d)]) / 255u,
                             (t.srcB[F::B(s)] + t.dstB[F::B(d)]) / 255u);
        }
    }
}

// The palette screen goes through RGB and back for every pixel.
template <bool kKey>
void PaletteRow(uint8_t* dst, const uint8_t* src, const uint8_t* key, int n, int step, const Shade& sh) {
    for (int i = 0; i < n; ++i, src += step, key += step) {
        if (kKey && *key) continue;
        uint8_t s = *src;
        if (sh.modulate) s = Modulate<Indexed8>(s, sh.br, sh.bg, sh.bb);
        dst[i] = sh.blend ? Blend<Indexed8>(s, dst[i], sh.param) : s;
    }
}

rgb565::Factors FactorsOf(const Shade& sh) {
    rgb565::Factors f;
    f.br = static_cast<uint16_t>(sh.br);
    f.bg = static_cast<uint16_t>(sh.bg);
    f.bb = static_cast<uint16_t>(sh.bb);
    f.p = static_cast<uint16_t>(sh.blend ? sh.param : 255u);
    f.q = static_cast<uint16_t>(255u - f.p);
    return f;
}

template <int kMode>
void Rgb565Rows(Surface& target, const Image& im, int x, int y, const Clip& c, bool mirrored, bool useKey,
                const Shade& sh) {
    const rgb565::Factors f = FactorsOf(sh);
    const int n = c.x1 - c.x0;
    // A mirrored draw is a plain draw of the image turned round.
    const std::vector<uint16_t>& pixels = mirrored ? im.mirrored16 : im.n16;
    const std::vector<uint16_t>& keepAll = mirrored ? im.mirroredKeep16 : im.keep16;
    const size_t srcStride = static_cast<size_t>(im.width);
    const size_t dstStride = static_cast<size_t>(target.width);
    const size_t first = static_cast<size_t>(c.y0 - y) * srcStride + static_cast<size_t>(c.x0 - x);
    const uint16_t* src = pixels.data() + first;
    const uint16_t* keep = useKey ? keepAll.data() + first : nullptr;
    uint16_t* dst = target.p16.data() + static_cast<size_t>(c.y0) * dstStride + static_cast<size_t>(c.x0);
    if constexpr (kMode == 0) {
        if (useKey) {
            rgb565::KeyedRows(dst, dstStride, src, keep, srcStride, im.rowKeys16.data() + (c.y0 - y), c.y1 - c.y0, n);
            return;
        }
    }
    if (!useKey) {
        for (int rows = c.y1 - c.y0; rows > 0; --rows, src += srcStride, dst += dstStride) {
            rgb565::ImageRow<kMode, false>(dst, src, nullptr, n, f);
        }
        return;
    }
    // Rows without keyed pixels are drawn whole, rows of keyed pixels only are skipped.
    for (int row = c.y0 - y; row < c.y1 - y; ++row, src += srcStride, keep += srcStride, dst += dstStride) {
        switch (im.rowKeys16[static_cast<size_t>(row)]) {
            case Image::RowKeys::None: rgb565::ImageRow<kMode, false>(dst, src, nullptr, n, f); break;
            case Image::RowKeys::Some: rgb565::ImageRow<kMode, true>(dst, src, keep, n, f); break;
            case Image::RowKeys::All: break;
        }
    }
}

// The 8- and 32-bit screens: per-component tables, one pixel at a time.
template <class F, int kMode>
void TableRows(Surface& target, const Image& im, int x, int y, const Clip& c, bool mirrored, bool useKey,
               const Shade& sh) {
    using P = typename F::Pixel;
    P* base = PixelsOf<F>(target);
    const P* pixels = NativeOf<F>(im);
    const int n = c.x1 - c.x0;
    const int step = mirrored ? -1 : 1;
    ShadeTables<F>& tables = TablesFor<F>();
    if constexpr (!std::is_same_v<F, Indexed8>) {
        if (kMode != 0) tables.Prepare(sh);
    }
    for (int dy = c.y0; dy < c.y1; ++dy) {
        const int sy = dy - y;
        const int sx = mirrored ? im.width - 1 - (c.x0 - x) : c.x0 - x;
        const size_t si = static_cast<size_t>(sy) * static_cast<size_t>(im.width) + static_cast<size_t>(sx);
        P* dst = base + static_cast<size_t>(dy) * static_cast<size_t>(target.width) + static_cast<size_t>(c.x0);
        const uint8_t* key = im.keyed.data() + si;
        if constexpr (std::is_same_v<F, Indexed8>) {
            if (useKey) PaletteRow<true>(dst, pixels + si, key, n, step, sh);
            else PaletteRow<false>(dst, pixels + si, key, n, step, sh);
        } else {
            if (useKey) ImageRow<F, kMode, true>(dst, pixels + si, key, n, step, tables);
            else ImageRow<F, kMode, false>(dst, pixels + si, key, n, step, tables);
        }
    }
}

template <class F, int kMode>
void ImageRows(Surface& target, const Image& im, int x, int y, const Clip& c, bool mirrored, bool useKey,
               const Shade& sh) {
    if constexpr (std::is_same_v<F, Rgb565>) Rgb565Rows<kMode>(target, im, x, y, c, mirrored, useKey, sh);
    else TableRows<F, kMode>(target, im, x, y, c, mirrored, useKey, sh);
}

template <class F>
void DrawImageIn(Surface& target, Image& im, int x, int y, bool mirrored, bool useKey) {
    const Shade sh = CurrentShade();
    if (sh.invisible) return;
    const Clip c = ClipTo(target, x, y, im.width, im.height);
    if (c.Empty()) return;
    target.Touch(c.x0, c.y0, c.x1, c.y1);
    im.EnsureNative(target.format);
    if (mirrored && target.format == PixelFormat::Rgb565) im.EnsureMirrored16();
    useKey = useKey && im.anyKeyed;
    if (sh.blend) ImageRows<F, 2>(target, im, x, y, c, mirrored, useKey, sh);
    else if (sh.modulate) ImageRows<F, 1>(target, im, x, y, c, mirrored, useKey, sh);
    else ImageRows<F, 0>(target, im, x, y, c, mirrored, useKey, sh);
}

// A rectangle of one colour. With blending, each destination component goes
// through a small table: out = (s * p + d * (255 - p)) / 255 for every d.
template <class F>
void FillIn(Surface& target, const Clip& c, uint32_t colour, const Shade& sh) {
    using P = typename F::Pixel;
    P s = static_cast<P>(colour);
    if (sh.modulate) s = Modulate<F>(s, sh.br, sh.bg, sh.bb);
    P* base = PixelsOf<F>(target);
    const size_t stride = static_cast<size_t>(target.width);
    if (!sh.blend) {
        for (int y = c.y0; y < c.y1; ++y) {
            P* row = base + static_cast<size_t>(y) * stride;
            if constexpr (std::is_same_v<F, Rgb565>) rgb565::FillRow(row + c.x0, s, c.x1 - c.x0);
            else std::fill(row + c.x0, row + c.x1, s);
        }
        return;
    }
    if constexpr (std::is_same_v<F, Indexed8>) {
        for (int y = c.y0; y < c.y1; ++y) {
            P* row = base + static_cast<size_t>(y) * stride;
            for (int x = c.x0; x < c.x1; ++x) row[x] = Blend<F>(s, row[x], sh.param);
        }
    } else if constexpr (std::is_same_v<F, Rgb565>) {
        rgb565::BlendFill(base + static_cast<size_t>(c.y0) * stride + static_cast<size_t>(c.x0), stride, c.y1 - c.y0,
                          c.x1 - c.x0, s, FactorsOf(sh));
    } else {
        constexpr int kMax = 256;  // 8-bit components
        uint32_t tr[kMax], tg[kMax], tb[kMax];
        for (int d = 0; d < kMax; ++d) {
            tr[d] = MixComponent(F::R(s), static_cast<uint32_t>(d), sh.param);
            tg[d] = MixComponent(F::G(s), static_cast<uint32_t>(d), sh.param);
            tb[d] = MixComponent(F::B(s), static_cast<uint32_t>(d), sh.param);
        }
        for (int y = c.y0; y < c.y1; ++y) {
            P* row = base + static_cast<size_t>(y) * stride;
            for (int x = c.x0; x < c.x1; ++x) {
                const P d = row[x];
                row[x] = F::Make(tr[F::R(d)], tg[F::G(d)], tb[F::B(d)]);
            }
        }
    }
}

void Fill(Surface& target, int x, int y, int w, int h, uint32_t colour) {
    const Shade sh = CurrentShade();
    if (sh.invisible || w <= 0 || h <= 0) return;
    const Clip c = ClipTo(target, x, y, w, h);
    if (c.Empty()) return;
    target.Touch(c.x0, c.y0, c.x1, c.y1);
    switch (target.format) {
        case PixelFormat::Indexed8: FillIn<Indexed8>(target, c, colour, sh); break;
        case PixelFormat::Rgb565: FillIn<Rgb565>(target, c, colour, sh); break;
        case PixelFormat::Xrgb8888: FillIn<Xrgb8888>(target, c, colour, sh); break;
    }
}

template <class F>
void MaskIn(Surface& target, int x, int y, const uint8_t* mask, int width, int height, int pitch, uint32_t colour) {
    using P = typename F::Pixel;
    const Shade sh = CurrentShade();
    if (sh.invisible) return;
    const Clip c = ClipTo(target, x, y, width, height);
    if (c.Empty()) return;
    target.Touch(c.x0, c.y0, c.x1, c.y1);
    P s = static_cast<P>(colour);
    if (sh.modulate) s = Modulate<F>(s, sh.br, sh.bg, sh.bb);
    P* base = PixelsOf<F>(target);
    if constexpr (std::is_same_v<F, Rgb565>) {
        const rgb565::Factors f = FactorsOf(sh);
        // Whole groups may run on over the mask's zero padding while the screen row
        // has room: a mask cut by the screen's right edge (or the limit of a
        // redraw) has no room left.
        const int room = std::min({pitch - (c.x0 - x), target.width - c.x0, within.x1 - c.x0});
        for (int dy = c.y0; dy < c.y1; ++dy) {
            const uint8_t* m = mask + static_cast<size_t>(dy - y) * static_cast<size_t>(pitch) + (c.x0 - x);
            P* row = base + static_cast<size_t>(dy) * static_cast<size_t>(target.width) + c.x0;
            if (sh.blend) rgb565::MaskRow<true>(row, m, s, c.x1 - c.x0, room, f);
            else rgb565::MaskRow<false>(row, m, s, c.x1 - c.x0, room, f);
        }
        return;
    }
    for (int dy = c.y0; dy < c.y1; ++dy) {
        const uint8_t* m = mask + static_cast<size_t>(dy - y) * static_cast<size_t>(pitch);
        P* row = base + static_cast<size_t>(dy) * static_cast<size_t>(target.width);
        for (int dx = c.x0; dx < c.x1; ++dx) {
            if (!m[dx - x]) continue;
            row[dx] = sh.blend ? Blend<F>(s, row[dx], sh.param) : s;
        }
    }
}

}  // namespace

void DrawImageOn(Surface& target, Image& im, int x, int y, bool transparent, bool mirrored) {
    switch (target.format) {
        case PixelFormat::Indexed8: DrawImageIn<Indexed8>(target, im, x, y, mirrored, transparent); break;
        case PixelFormat::Rgb565: DrawImageIn<Rgb565>(target, im, x, y, mirrored, transparent); break;
        case PixelFormat::Xrgb8888: DrawImageIn<Xrgb8888>(target, im, x, y, mirrored, transparent); break;
    }
}

void DrawMaskOn(Surface& target, int x, int y, const uint8_t* mask, int width, int height, int pitch,
                uint32_t colour) {
    switch (target.format) {
        case PixelFormat::Indexed8: MaskIn<Indexed8>(target, x, y, mask, width, height, pitch, colour); break;
        case PixelFormat::Rgb565: MaskIn<Rgb565>(target, x, y, mask, width, height, pitch, colour); break;
        case PixelFormat::Xrgb8888: MaskIn<Xrgb8888>(target, x, y, mask, width, height, pitch, colour); break;
    }
}

void DrawRectOn(Surface& target, int x1, int y1, int x2, int y2, uint32_t colour, int fill) {
    // Cut the rectangle to one pixel beyond each screen edge: whatever lies
    // further out is invisible, outline edges included, and the numbers stay small.
    const int64_t left = std::max<int64_t>(std::min(x1, x2), -1);
    const int64_t right = std::min<int64_t>(std::max(x1, x2), int64_t{target.width} + 1);
    const int64_t top = std::max<int64_t>(std::min(y1, y2), -1);
    const int64_t bottom = std::min<int64_t>(std::max(y1, y2), int64_t{target.height} + 1);
    if (right <= left || bottom <= top) return;
    const int l = static_cast<int>(left), t = static_cast<int>(top);
    const int w = static_cast<int>(right - left), h = static_cast<int>(bottom - top);
    auto pos = [](int64_t v) { return static_cast<int>(v); };
    if (fill) {
        Fill(target, l, t, w, h, colour);
        return;
    }
    // Outline: top and bottom rows whole, the sides between them, no pixel twice.
    Fill(target, l, t, w, 1, colour);
    if (h > 1) Fill(target, l, pos(bottom - 1), w, 1, colour);
    if (h > 2) {
        Fill(target, l, t + 1, 1, h - 2, colour);
        if (w > 1) Fill(target, pos(right - 1), t + 1, 1, h - 2, colour);
    }
}

void DrawTextRunOn(Surface& target, int x, int y, const TextRun& run, uint32_t colour) {
    for (const TextMask& m : run.masks) {
        // A mask beyond the int range lies far off any screen.
        const int64_t left = int64_t{x} + m.left;
        if (left < std::numeric_limits<int>::min() || left > std::numeric_limits<int>::max()) continue;
        DrawMaskOn(target, static_cast<int>(left), y, m.bytes.data(), m.width, m.height, m.pitch, colour);
    }
}

detail::DrawArea detail::drawArea{0, 0, std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};

}  // namespace media
