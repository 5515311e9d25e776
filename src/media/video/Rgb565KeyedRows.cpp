#include "media/video/Rgb565KeyedRows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <algorithm>

#include "media/video/Rgb565Rows.h"

namespace media::rgb565 {
namespace {

void KeyedRowsBaseline(uint16_t* dst, size_t dstStride, const uint16_t* src, const uint16_t* keep, size_t srcStride,
                       const KeyedRow* kinds, int rows, int n) {
    const Factors none;
    for (int r = 0; r < rows; ++r, src += srcStride, keep += srcStride, dst += dstStride) {
        switch (kinds[r]) {
            case KeyedRow::None: CopyRow(dst, src, n); break;
            case KeyedRow::Some: ImageRow<0, true>(dst, src, keep, n, none); break;
            case KeyedRow::All: break;
        }
    }
}

// The wider variants are x86's; elsewhere (WebAssembly) the baseline serves.
#if defined(__x86_64__) || defined(__i386__)
// Sixteen pixels: the image's where not keyed.
[[gnu::always_inline, gnu::target("avx2")]] inline __m256i Keyed16(const uint16_t* dst, const uint16_t* src,
                                                                   const uint16_t* keep) {
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst));
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src));
    const __m256i k = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(keep));
    return _mm256_or_si256(_mm256_andnot_si256(k, s), _mm256_and_si256(k, d));
}

[[gnu::target("avx2")]] void KeyedRowsAvx2(uint16_t* dst, size_t dstStride, const uint16_t* src, const uint16_t* keep,
                                           size_t srcStride, const KeyedRow* kinds, int rows, int n) {
    if (n < 16) {
        KeyedRowsBaseline(dst, dstStride, src, keep, srcStride, kinds, rows, n);
        return;
    }
    for (int r = 0; r < rows; ++r, src += srcStride, keep += srcStride, dst += dstStride) {
        if (kinds[r] == KeyedRow::All) continue;
        if (kinds[r] == KeyedRow::None) {
            CopyRow(dst, src, n);
            continue;
        }
        // A pixel's result depends on its own old value only, so the last
        // sixteen (made before the others are stored) may overlap them.
        const __m256i last = Keyed16(dst + n - 16, src + n - 16, keep + n - 16);
        for (int i = 0; i + 16 <= n; i += 16)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), Keyed16(dst + i, src + i, keep + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + n - 16), last);
    }
}

// Up to 32 pixels a store; only the pixels drawn are written, so no screen
// pixel is read and nothing beside the row is touched.
[[gnu::target("avx512bw")]] void KeyedRowsAvx512(uint16_t* dst, size_t dstStride, const uint16_t* src,
                                                 const uint16_t* keep, size_t srcStride, const KeyedRow* kinds,
                                                 int rows, int n) {
    for (int r = 0; r < rows; ++r, src += srcStride, keep += srcStride, dst += dstStride) {
        const KeyedRow kind = kinds[r];
        if (kind == KeyedRow::All) continue;
        for (int i = 0; i < n; i += 32) {
            const int count = std::min(32, n - i);
            const __mmask32 row = count == 32 ? ~__mmask32{0} : (__mmask32{1} << count) - 1;
            const __m512i s = _mm512_maskz_loadu_epi16(row, src + i);
            __mmask32 drawn = row;
            if (kind == KeyedRow::Some) {
                const __m512i k = _mm512_maskz_loadu_epi16(row, keep + i);
                drawn = row & ~_mm512_test_epi16_mask(k, k);
            }
            _mm512_mask_storeu_epi16(dst + i, drawn, s);
        }
    }
}
#endif

}  // namespace

void KeyedRows(uint16_t* dst, size_t dstStride, const uint16_t* src, const uint16_t* keep, size_t srcStride,
               const KeyedRow* kinds, int rows, int n) {
    const Isa isa = HasAvx512() ? Isa::Avx512 : HasAvx2() ? Isa::Avx2 : Isa::Baseline;
    KeyedRowsWith(isa, dst, dstStride, src, keep, srcStride, kinds, rows, n);
}

void KeyedRowsWith(Isa isa, uint16_t* dst, size_t dstStride, const uint16_t* src, const uint16_t* keep,
                   size_t srcStride, const KeyedRow* kinds, int rows, int n) {
    if (rows <= 0 || n <= 0) return;
#if defined(__x86_64__) || defined(__i386__)
    if (isa == Isa::Avx512 && HasAvx512())
        return KeyedRowsAvx512(dst, dstStride, src, keep, srcStride, kinds, rows, n);
    if (isa == Isa::Avx2 && HasAvx2()) return KeyedRowsAvx2(dst, dstStride, src, keep, srcStride, kinds, rows, n);
#endif
    (void)isa;
    KeyedRowsBaseline(dst, dstStride, src, keep, srcStride, kinds, rows, n);
}

}  // namespace media::rgb565
