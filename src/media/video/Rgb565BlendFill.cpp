// The pixel helpers are instantiated here for 256-bit vectors and always inlined
// into the AVX2 function (the build passes -Wno-psabi for this file: GCC's note
// on how such vectors would be passed between functions does not apply).
#include "media/video/Rgb565BlendFill.h"

#include <cstring>

namespace media::rgb565 {
namespace {

using WideLanes = uint16_t __attribute__((vector_size(32)));

template <class V>
[[gnu::always_inline]] inline void BlendGroup(uint16_t* dst, const V& source, const Factors& f) {
    V d;
    std::memcpy(&d, dst, sizeof d);
    const V o = Blended<V>(source, d, f);
    std::memcpy(dst, &o, sizeof o);
}

// Groups of V, then at most one group of eight, then single pixels.
template <class V>
[[gnu::always_inline]] inline void BlendRows(uint16_t* first, size_t stride, int rows, int n, uint16_t s,
                                             const Factors& f) {
    constexpr int kWidth = static_cast<int>(sizeof(V) / sizeof(uint16_t));
    const V wide = V{} + s;
    const Lanes narrow = Lanes{} + s;
    for (int r = 0; r < rows; ++r) {
        uint16_t* dst = first + static_cast<size_t>(r) * stride;
        int i = 0;
        for (; i + kWidth <= n; i += kWidth) BlendGroup<V>(dst + i, wide, f);
        for (; i + kLanes <= n; i += kLanes) BlendGroup<Lanes>(dst + i, narrow, f);
        for (; i < n; ++i) dst[i] = static_cast<uint16_t>(Blended<uint32_t>(s, dst[i], f));
    }
}

void BlendFillBaseline(uint16_t* first, size_t stride, int rows, int n, uint16_t s, const Factors& f) {
    BlendRows<Lanes>(first, stride, rows, n, s, f);
}

__attribute__((target("avx2"))) void BlendFillAvx2(uint16_t* first, size_t stride, int rows, int n, uint16_t s,
                                                    const Factors& f) {
    BlendRows<WideLanes>(first, stride, rows, n, s, f);
}

}  // namespace

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

void BlendFill(uint16_t* first, size_t stride, int rows, int n, uint16_t s, const Factors& f) {
    BlendFillWith(HasAvx2() ? Isa::Avx2 : Isa::Baseline, first, stride, rows, n, s, f);
}

void BlendFillWith(Isa isa, uint16_t* first, size_t stride, int rows, int n, uint16_t s, const Factors& f) {
    if (isa == Isa::Avx2 && HasAvx2()) BlendFillAvx2(first, stride, rows, n, s, f);
    else BlendFillBaseline(first, stride, rows, n, s, f);
}

}  // namespace media::rgb565
