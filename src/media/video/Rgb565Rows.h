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
#include <type_traits>

namespace media::rgb565 {

// The drawing state reduced to 16-bit factors.
struct Factors {
    uint16_t br = 255, bg = 255, bb = 255;  // brightness per component
    uint16_t p = 255;                       // source weight when blending
    uint16_t q = 0;                         // destination weight, 255 - p
};

using Lanes = uint16_t __attribute__((vector_size(16)));
using SignedLanes = int16_t __attribute__((vector_size(16)));
using MaskBytes = uint8_t __attribute__((vector_size(8)));
constexpr int kLanes = 8;

// T is a vector of 16-bit lanes (Lanes: eight pixels; wider vectors where the
// processor has them) or uint32_t (one pixel held in the low 16 bits). Always
// inlined: wide vectors must never cross a call boundary.
template <class T>
[[gnu::always_inline]] inline T Div255(T x) {
    return (x + 1 + (x >> 8)) >> 8;
}

template <class T>
[[gnu::always_inline]] inline T Pack(T r, T g, T b) {
    return (r << 11) | (g << 5) | b;
}

template <class T>
[[gnu::always_inline]] inline T Modulated(T s, const Factors& f) {
    return Pack<T>(Div255<T>((s >> 11) * f.br), Div255<T>(((s >> 5) & 63) * f.bg), Div255<T>((s & 31) * f.bb));
}

template <class T>
[[gnu::always_inline]] inline T Blended(T s, T d, const Factors& f) {
    return Pack<T>(Div255<T>((s >> 11) * f.p + (d >> 11) * f.q),
                   Div255<T>(((s >> 5) & 63) * f.p + ((d >> 5) & 63) * f.q),
                   Div255<T>((s & 31) * f.p + (d & 31) * f.q));
}

// kMode: 0 the source as it is, 1 brightness, 2 brightness then blending.
template <int kMode, class T>
[[gnu::always_inline]] inline T Shaded(T s, T d, const Factors& f) {
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

// Copies kGroups x 8 pixels.
template <int kGroups>
inline void CopyBlock(uint16_t* __restrict dst, const uint16_t* __restrict src) {
    Lanes v[kGroups];
    for (int k = 0; k < kGroups; ++k) v[k] = LoadLanes(src + k * kLanes);
    for (int k = 0; k < kGroups; ++k) StoreLanes(dst + k * kLanes, v[k]);
}

// Copies n pixels. Short rows (the common case: small pictures) are copied as
// two overlapping fixed-size blocks instead of through a library call.
inline void CopyRow(uint16_t* __restrict dst, const uint16_t* __restrict src, int n) {
    if (n >= 8 * kLanes) {
        std::memcpy(dst, src, static_cast<size_t>(n) * sizeof(uint16_t));
    } else if (n >= 4 * kLanes) {
        CopyBlock<4>(dst, src);
        CopyBlock<4>(dst + n - 4 * kLanes, src + n - 4 * kLanes);
    } else if (n >= 2 * kLanes) {
        CopyBlock<2>(dst, src);
        CopyBlock<2>(dst + n - 2 * kLanes, src + n - 2 * kLanes);
    } else if (n >= kLanes) {
        CopyBlock<1>(dst, src);
        CopyBlock<1>(dst + n - kLanes, src + n - kLanes);
    } else if (n >= 4) {
        uint64_t head, tail;
        std::memcpy(&head, src, sizeof head);
        std::memcpy(&tail, src + n - 4, sizeof tail);
        std::memcpy(dst, &head, sizeof head);
        std::memcpy(dst + n - 4, &tail, sizeof tail);
    } else {
        for (int i = 0; i < n; ++i) dst[i] = src[i];
    }
}

// Eight pixels.
template <int kMode, bool kKey>
inline void ImageGroup(uint16_t* __restrict dst, const uint16_t* __restrict src, const uint16_t* __restrict keep,
                       const Factors& f) {
    const Lanes d = LoadLanes(dst);
    Lanes o = Shaded<kMode, Lanes>(LoadLanes(src), d, f);
    if constexpr (kKey) {
        const Lanes k = LoadLanes(keep);
        o = (o & ~k) | (d & k);
    }
    StoreLanes(dst, o);
}

// Calls each(j) for the lanes j = r - 1 down to 0 (r fewer than eight), each j
// a constant: moving lane by lane through a register, where a vector load
// after narrower stores would wait for them (and a loop becomes a memcpy call).
template <class Each>
[[gnu::always_inline]] inline void ForFewLanes(int r, Each each) {
    using std::integral_constant;
    switch (r) {
        case 7: each(integral_constant<int, 6>{}); [[fallthrough]];
        case 6: each(integral_constant<int, 5>{}); [[fallthrough]];
        case 5: each(integral_constant<int, 4>{}); [[fallthrough]];
        case 4: each(integral_constant<int, 3>{}); [[fallthrough]];
        case 3: each(integral_constant<int, 2>{}); [[fallthrough]];
        case 2: each(integral_constant<int, 1>{}); [[fallthrough]];
        case 1: each(integral_constant<int, 0>{}); [[fallthrough]];
        default: break;
    }
}

// The first r (fewer than eight) lanes from r pixels, the rest 0.
inline Lanes LoadFew(const uint16_t* p, int r) {
    Lanes v{};
    ForFewLanes(r, [&](auto j) { v[j.value] = p[j.value]; });
    return v;
}

inline void StoreFew(uint16_t* p, Lanes v, int r) {
    ForFewLanes(r, [&](auto j) { p[j.value] = v[j.value]; });
}

// The last r (fewer than eight) pixels of a row as one group; the lanes past
// them are made from zeros and dropped.
template <int kMode, bool kKey>
inline void ImageTail(uint16_t* __restrict dst, const uint16_t* __restrict src, const uint16_t* __restrict keep,
                      int r, const Factors& f) {
    const Lanes d = LoadFew(dst, r);
    Lanes o = Shaded<kMode, Lanes>(LoadFew(src, r), d, f);
    if constexpr (kKey) {
        const Lanes k = LoadFew(keep, r);
        o = (o & ~k) | (d & k);
    }
    StoreFew(dst, o, r);
}

// n source pixels onto n destination pixels, left to right. `keep` is read
// only when kKey is set.
template <int kMode, bool kKey>
void ImageRow(uint16_t* __restrict dst, const uint16_t* __restrict src, const uint16_t* __restrict keep, int n,
              Factors f) {  // a copy: the compiler then keeps the factors in registers across the stores
    if constexpr (kMode == 0 && !kKey) {
        CopyRow(dst, src, n);
        return;
    }
    if constexpr (kMode != 2) {
        // Without blending a pixel's result does not depend on what it covers, so
        // a row that is not whole groups ends with its last eight pixels, made
        // from the row as it is before the others are stored and stored after
        // them: the overlap gets the same pixels twice, and no load has to wait
        // for an overlapping store.
        if (n > kLanes && n % kLanes != 0) {
            const int last = n - kLanes;
            const Lanes d = LoadLanes(dst + last);
            Lanes o = Shaded<kMode, Lanes>(LoadLanes(src + last), d, f);
            if constexpr (kKey) {
                const Lanes k = LoadLanes(keep + last);
                o = (o & ~k) | (d & k);
            }
            for (int i = 0; i + kLanes <= n; i += kLanes)
                ImageGroup<kMode, kKey>(dst + i, src + i, kKey ? keep + i : keep, f);
            StoreLanes(dst + last, o);
            return;
        }
    }
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) ImageGroup<kMode, kKey>(dst + i, src + i, kKey ? keep + i : keep, f);
    if (i < n) ImageTail<kMode, kKey>(dst + i, src + i, kKey ? keep + i : keep, n - i, f);
}

// One colour over n destination pixels.
inline void FillRow(uint16_t* dst, uint16_t s, int n) {
    const Lanes source = Lanes{} + s;
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) StoreLanes(dst + i, source);
    for (; i < n; ++i) dst[i] = s;
}

// The ink of a coverage-mask row (nonzero bytes) in colour `s` (already
// modulated), blended over the destination when kBlend is set. `room` (>= n)
// pixels of the destination and bytes of the mask may be touched; the mask
// bytes from n to room must be 0, so those pixels keep their value.
template <bool kBlend>
void MaskRow(uint16_t* __restrict dst, const uint8_t* __restrict mask, uint16_t s, int n, int room,
             Factors f) {  // a copy, as for ImageRow
    const Lanes source = Lanes{} + s;
    int i = 0;
    for (; i < n && i + kLanes <= room; i += kLanes) {
        MaskBytes m;
        std::memcpy(&m, mask + i, sizeof m);
        const Lanes ink = reinterpret_cast<Lanes>(__builtin_convertvector(m != 0, SignedLanes));
        const Lanes d = LoadLanes(dst + i);
        const Lanes o = kBlend ? Blended<Lanes>(source, d, f) : source;
        StoreLanes(dst + i, (o & ink) | (d & ~ink));
    }
    for (; i < n; ++i) {  // a select, not a branch: ink patterns are not predictable
        const uint16_t d = dst[i];
        const uint16_t o = kBlend ? static_cast<uint16_t>(Blended<uint32_t>(s, d, f)) : s;
        dst[i] = mask[i] ? o : d;
    }
}

}  // namespace media::rgb565
