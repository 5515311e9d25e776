// Row kernels of the 16-bit (RGB565) screen: eight pixels at a time in 16-bit
// lanes, the rest one by one, with exactly the arithmetic of PixelMath.h:
//
//   brightness  c' = c * b / 255
//   alpha blend o  = (s * p + d * (255 - p)) / 255
//
// Every intermediate value fits 16 bits (at most 63 * 255), and x / 255 is
// computed as (x + 1 + (x >> 8)) >> 8, which in 16-bit lanes is exact for
// 0 <= x < 65280.
//
// Colour-keyed pixels are handled without branches: `keep` holds 0xFFFF where
// the destination pixel stays and 0 where the source is drawn.
#pragma once

#include <cstdint>
#include <cstring>

namespace media::rgb565 {

// The drawing state reduced to 16-bit factors.
struct Factors {
    uint16_t br = 255, bg = 255, bb = 255;  // brightness per component
    uint16_t p = 255;                       // source weight when blending
    uint16_t q = 0;                         // destination weight, 255 - p
};

using Lanes = uint16_t __attribute__((vector_size(16)));
constexpr int kLanes = 8;

// T is Lanes (eight pixels) or uint32_t (one pixel held in the low 16 bits).
template <class T>
inline T Div255(T x) {
    return (x + 1 + (x >> 8)) >> 8;
}

template <class T>
inline T Pack(T r, T g, T b) {
    return (r << 11) | (g << 5) | b;
}

template <class T>
inline T Modulated(T s, const Factors& f) {
    return Pack<T>(Div255<T>((s >> 11) * f.br), Div255<T>(((s >> 5) & 63) * f.bg), Div255<T>((s & 31) * f.bb));
}

template <class T>
inline T Blended(T s, T d, const Factors& f) {
    return Pack<T>(Div255<T>((s >> 11) * f.p + (d >> 11) * f.q),
                   Div255<T>(((s >> 5) & 63) * f.p + ((d >> 5) & 63) * f.q),
                   Div255<T>((s & 31) * f.p + (d & 31) * f.q));
}

// kMode: 0 the source as it is, 1 brightness, 2 brightness then blending.
template <int kMode, class T>
inline T Shaded(T s, T d, const Factors& f) {
    if constexpr (kMode == 0) {
        return s;
    } else if constexpr (kMode == 1) {
        return Modulated<T>(s, f);
    } else {
        return Blended<T>(Modulated<T>(s, f), d, f);
    }
}

inline Lanes LoadLanes(const uint16_t* p) {
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void StoreLanes(uint16_t* p, Lanes v) { std::memcpy(p, &v, sizeof v); }

// n source pixels onto n destination pixels, left to right. `keep` is read
// only when kKey is set.
template <int kMode, bool kKey>
void ImageRow(uint16_t* __restrict dst, const uint16_t* __restrict src, const uint16_t* __restrict keep, int n,
              const Factors& f) {
    if constexpr (kMode == 0 && !kKey) {
        std::memcpy(dst, src, static_cast<size_t>(n) * sizeof(uint16_t));
        return;
    }
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        const Lanes d = LoadLanes(dst + i);
        Lanes o = Shaded<kMode, Lanes>(LoadLanes(src + i), d, f);
        if constexpr (kKey) {
            const Lanes k = LoadLanes(keep + i);
            o = (o & ~k) | (d & k);
        }
        StoreLanes(dst + i, o);
    }
    for (; i < n; ++i) {
        if (kKey && keep[i]) continue;
        dst[i] = static_cast<uint16_t>(Shaded<kMode, uint32_t>(src[i], dst[i], f));
    }
}

// One colour over n destination pixels.
inline void FillRow(uint16_t* dst, uint16_t s, int n) {
    const Lanes source = Lanes{} + s;
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) StoreLanes(dst + i, source);
    for (; i < n; ++i) dst[i] = s;
}

// One colour `s` (already modulated) blended over n destination pixels.
inline void BlendRow(uint16_t* dst, uint16_t s, int n, const Factors& f) {
    const Lanes source = Lanes{} + s;
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) StoreLanes(dst + i, Blended<Lanes>(source, LoadLanes(dst + i), f));
    for (; i < n; ++i) dst[i] = static_cast<uint16_t>(Blended<uint32_t>(s, dst[i], f));
}

}  // namespace media::rgb565
