// The pixel helpers are instantiated here for 256- and 512-bit vectors and always
// inlined into the AVX2 and AVX-512 functions (the build passes -Wno-psabi for
// this file: GCC's note on how such vectors would be passed between functions
// does not apply).
#include "media/video/Rgb565BlendFill.h"

#include <cstring>

namespace media::rgb565 {
namespace {

using WideLanes = uint16_t __attribute__((vector_size(32)));
using WidestLanes = uint16_t __attribute__((vector_size(64)));

// The source's share s * p of each component, the same for every pixel, and
// the destination weight; held in locals, which the pixel stores cannot alias.
template <class V>
struct SourceShare {
    V r, g, b, q;
    SourceShare(uint16_t s, const Factors& f)
        : r(V{} + static_cast<uint16_t>((s >> 11) * f.p)),
          g(V{} + static_cast<uint16_t>(((s >> 5) & 63) * f.p)),
          b(V{} + static_cast<uint16_t>((s & 31) * f.p)),
          q(V{} + f.q) {}
};

// The same sums as Blended(): (s * p + d * q) / 255 per component.
template <class V>
[[gnu::always_inline]] inline void BlendGroup(uint16_t* dst, const SourceShare<V>& s) {
    V d;
    std::memcpy(&d, dst, sizeof d);
    const V o = Pack<V>(Div255<V>(s.r + (d >> 11) * s.q), Div255<V>(s.g + ((d >> 5) & 63) * s.q),
                        Div255<V>(s.b + (d & 31) * s.q));
    std::memcpy(dst, &o, sizeof o);
}

// Groups of V, then at most one group of eight, then single pixels.
template <class V>
[[gnu::always_inline]] inline void BlendRows(uint16_t* first, size_t stride, int rows, int n, uint16_t s,
                                             const Factors& factors) {
    constexpr int kWidth = static_cast<int>(sizeof(V) / sizeof(uint16_t));
    const Factors f = factors;
    const SourceShare<V> wide(s, f);
    const SourceShare<Lanes> narrow(s, f);
    for (int r = 0; r < rows; ++r) {
        uint16_t* dst = first + static_cast<size_t>(r) * stride;
        int i = 0;
        for (; i + kWidth <= n; i += kWidth) BlendGroup<V>(dst + i, wide);
        for (; i + kLanes <= n; i += kLanes) BlendGroup<Lanes>(dst + i, narrow);
        for (; i < n; ++i) dst[i] = static_cast<uint16_t>(Blended<uint32_t>(s, dst[i], f));
    }
}

void BlendFillBaseline(uint16_t* first, size_t stride, int rows, int n, uint16_t s, const Factors& f) {
    BlendRows<Lanes>(first, stride, rows, n, s, f);
}

// The wider variants are x86's; elsewhere (WebAssembly) the baseline serves.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) void BlendFillAvx2(uint16_t* first, size_t stride, int rows, int n, uint16_t s,
                                                   const Factors& f) {
    BlendRows<WideLanes>(first, stride, rows, n, s, f);
}

__attribute__((target("avx512bw"))) void BlendFillAvx512(uint16_t* first, size_t stride, int rows, int n, uint16_t s,
                                                         const Factors& f) {
    BlendRows<WidestLanes>(first, stride, rows, n, s, f);
}
#endif

}  // namespace

#if defined(__x86_64__) || defined(__i386__)
bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

bool HasAvx512() {
    static const bool has = __builtin_cpu_supports("avx512bw");
    return has;
}
#else
bool HasAvx2() { return false; }

bool HasAvx512() { return false; }
#endif

void BlendFill(uint16_t* first, size_t stride, int rows, int n, uint16_t s, const Factors& f) {
    const Isa isa = HasAvx512() ? Isa::Avx512 : HasAvx2() ? Isa::Avx2 : Isa::Baseline;
    BlendFillWith(isa, first, stride, rows, n, s, f);
}

void BlendFillWith(Isa isa, uint16_t* first, size_t stride, int rows, int n, uint16_t s, const Factors& f) {
#if defined(__x86_64__) || defined(__i386__)
    if (isa == Isa::Avx512 && HasAvx512()) return BlendFillAvx512(first, stride, rows, n, s, f);
    if (isa == Isa::Avx2 && HasAvx2()) return BlendFillAvx2(first, stride, rows, n, s, f);
#endif
    (void)isa;
    BlendFillBaseline(first, stride, rows, n, s, f);
}

}  // namespace media::rgb565
