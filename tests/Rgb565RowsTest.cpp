// The 16-bit row kernels against the one-pixel formulas, and whole image draws
// (wide, odd-sized, keyed, mirrored, clipped) against a pixel-by-pixel model.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "MediaTestSupport.h"
#include "media/video/BmpWriter.h"
#include "media/headless/HeadlessControls.h"
#include "media/Media.h"
#include "media/video/PixelMath.h"
#include "media/video/DrawOperations.h"
#include "media/video/Renderer.h"
#include "media/video/Rgb565BlendFill.h"
#include "media/video/Rgb565KeyedRows.h"
#include "media/video/Rgb565Rows.h"

namespace {

using media::Rgb565;
namespace rows = media::rgb565;

TEST(Rgb565Rows, DivisionBy255IsExactWellBeyondTheLargestProduct) {
    static_assert(63 * 255 < 65280);
    for (uint32_t x = 0; x < 65280; ++x) {
        ASSERT_EQ(rows::Div255<uint32_t>(x), x / 255u) << x;
        const rows::Lanes v = rows::Lanes{} + static_cast<uint16_t>(x);
        ASSERT_EQ(rows::Div255<rows::Lanes>(v)[5], x / 255u) << x;
    }
}

struct Case {
    int mode;  // 0 copy, 1 brightness, 2 brightness and blending
    uint16_t br, bg, bb, p;
};

rows::Factors FactorsOf(const Case& c) {
    rows::Factors f;
    f.br = c.br;
    f.bg = c.bg;
    f.bb = c.bb;
    f.p = c.mode == 2 ? c.p : 255;
    f.q = static_cast<uint16_t>(255 - f.p);
    return f;
}

uint16_t Reference(const Case& c, uint16_t s, uint16_t d) {
    if (c.mode == 0) return s;
    const uint16_t m = media::Modulate<Rgb565>(s, c.br, c.bg, c.bb);
    return c.mode == 1 ? m : media::Blend<Rgb565>(m, d, c.p);
}

// The vectors hold more than n pixels; only the first n are drawn.
void RunRow(const Case& c, bool keyed, int n, std::vector<uint16_t>& dst, const std::vector<uint16_t>& src,
            const std::vector<uint16_t>& keep) {
    const rows::Factors f = FactorsOf(c);
    if (c.mode == 0) {
        if (keyed) rows::ImageRow<0, true>(dst.data(), src.data(), keep.data(), n, f);
        else rows::ImageRow<0, false>(dst.data(), src.data(), keep.data(), n, f);
    } else if (c.mode == 1) {
        if (keyed) rows::ImageRow<1, true>(dst.data(), src.data(), keep.data(), n, f);
        else rows::ImageRow<1, false>(dst.data(), src.data(), keep.data(), n, f);
    } else {
        if (keyed) rows::ImageRow<2, true>(dst.data(), src.data(), keep.data(), n, f);
        else rows::ImageRow<2, false>(dst.data(), src.data(), keep.data(), n, f);
    }
}

// Every length from 0 to 72 (whole groups of eight, every remainder, every copy
// size class), random pixels and keys, each mode with extreme and middle factors;
// pixels past the row stay untouched.
TEST(Rgb565Rows, ImageRowsMatchTheOnePixelFormulas) {
    const Case cases[] = {{0, 255, 255, 255, 255}, {1, 0, 128, 255, 255},   {1, 200, 150, 100, 255},
                          {2, 255, 255, 255, 1},   {2, 255, 255, 255, 128}, {2, 200, 150, 100, 254},
                          {2, 0, 0, 0, 246}};
    std::mt19937 random(12345);
    for (const Case& c : cases) {
        for (int n = 0; n <= 72; ++n) {
            for (bool keyed : {false, true}) {
                std::vector<uint16_t> src(80), dst(80), keep(80);
                for (int i = 0; i < 80; ++i) {
                    src[i] = static_cast<uint16_t>(random());
                    dst[i] = static_cast<uint16_t>(random());
                    keep[i] = random() % 3 == 0 ? 0xFFFF : 0;
                }
                std::vector<uint16_t> out = dst;
                RunRow(c, keyed, n, out, src, keep);
                for (int i = 0; i < 80; ++i) {
                    const bool drawn = i < n && !(keyed && keep[i]);
                    const uint16_t want = drawn ? Reference(c, src[i], dst[i]) : dst[i];
                    ASSERT_EQ(out[i], want) << "mode " << c.mode << " p " << c.p << " n " << n << " at " << i;
                }
            }
        }
    }
}

TEST(Rgb565Rows, FillRowsCoverEveryPixelOnce) {
    for (int n = 0; n <= 19; ++n) {
        std::vector<uint16_t> row(n + 2, 0x1234);
        rows::FillRow(row.data() + 1, 0xBEEF, n);
        EXPECT_EQ(row[0], 0x1234);
        EXPECT_EQ(row[n + 1], 0x1234);
        for (int i = 1; i <= n; ++i) ASSERT_EQ(row[i], 0xBEEF);
    }
}

// The instruction-set variants this processor has.
std::vector<rows::Isa> Variants() {
    std::vector<rows::Isa> variants{rows::Isa::Baseline};
    if (rows::HasAvx2()) variants.push_back(rows::Isa::Avx2);
    else GTEST_LOG_(INFO) << "this processor has no AVX2: its variant is not checked";
    if (rows::HasAvx512()) variants.push_back(rows::Isa::Avx512);
    else GTEST_LOG_(INFO) << "this processor has no AVX-512: its variant is not checked";
    return variants;
}

// Every instruction-set variant the processor has, blocks of every width up to
// 72 inside a wider surface, random colours and weights: the block is blended
// exactly, nothing around it changes.
TEST(Rgb565Rows, BlendFillMatchesTheFormulaInEveryVariant) {
    const std::vector<rows::Isa> variants = Variants();
    std::mt19937 random(99);
    constexpr int kStride = 80, kRows = 3;
    for (rows::Isa isa : variants) {
        for (int n = 0; n <= 72; ++n) {
            const uint16_t source = static_cast<uint16_t>(random());
            const uint16_t p = static_cast<uint16_t>(n == 0 ? 1 : n == 1 ? 254 : random() % 256);
            std::vector<uint16_t> surface(kStride * (kRows + 2));
            for (auto& d : surface) d = static_cast<uint16_t>(random());
            std::vector<uint16_t> out = surface;
            rows::BlendFillWith(isa, out.data() + kStride + 3, kStride, kRows, n, source,
                                FactorsOf(Case{2, 255, 255, 255, p}));
            for (int i = 0; i < static_cast<int>(surface.size()); ++i) {
                const int row = i / kStride, col = i % kStride;
                const bool inside = row >= 1 && row <= kRows && col >= 3 && col < 3 + n;
                const uint16_t want = inside ? media::Blend<Rgb565>(source, surface[i], p) : surface[i];
                ASSERT_EQ(out[i], want) << "isa " << static_cast<int>(isa) << " n " << n << " at " << row << ","
                                        << col;
            }
        }
    }
}

// Every variant, every width up to 72, rows keyed not at all, in part and whole
// (with keep masks that do not match the row's kind where that must not
// matter): each pixel of the block is the image's unless keyed, nothing around
// the block changes.
TEST(Rgb565Rows, KeyedRowsDrawTheUnkeyedPixelsInEveryVariant) {
    std::mt19937 random(7);
    constexpr int kStride = 80, kRows = 6;
    const rows::KeyedRow kinds[kRows] = {rows::KeyedRow::None, rows::KeyedRow::Some, rows::KeyedRow::All,
                                         rows::KeyedRow::Some, rows::KeyedRow::None, rows::KeyedRow::Some};
    for (rows::Isa isa : Variants()) {
        for (int n = 0; n <= 72; ++n) {
            std::vector<uint16_t> image(static_cast<size_t>(72 * kRows)), keep(image.size());
            for (size_t i = 0; i < image.size(); ++i) {
                image[i] = static_cast<uint16_t>(random());
                keep[i] = random() % 3 == 0 ? 0xFFFF : 0;
            }
            std::vector<uint16_t> surface(kStride * (kRows + 2));
            for (auto& d : surface) d = static_cast<uint16_t>(random());
            std::vector<uint16_t> out = surface;
            rows::KeyedRowsWith(isa, out.data() + kStride + 3, kStride, image.data(), keep.data(), 72, kinds, kRows,
                                n);
            for (int i = 0; i < static_cast<int>(surface.size()); ++i) {
                const int row = i / kStride, col = i % kStride;
                uint16_t want = surface[i];
                if (row >= 1 && row <= kRows && col >= 3 && col < 3 + n) {
                    const size_t at = static_cast<size_t>(row - 1) * 72 + static_cast<size_t>(col - 3);
                    const rows::KeyedRow kind = kinds[row - 1];
                    const bool drawn = kind == rows::KeyedRow::None || (kind == rows::KeyedRow::Some && !keep[at]);
                    if (drawn) want = image[at];
                }
                ASSERT_EQ(out[i], want) << "isa " << static_cast<int>(isa) << " n " << n << " at " << row << ","
                                        << col;
            }
        }
    }
}

// Rows of every length, with no room past them or with room up to the next
// whole group (over zero mask bytes): ink lands only on set bytes of the row,
// every other pixel keeps its value.
TEST(Rgb565Rows, MaskRowsInkOnlyWhereTheMaskIsSet) {
    std::mt19937 random(7);
    const Case c{2, 255, 255, 255, 100};
    for (int n = 0; n <= 20; ++n) {
        for (int room : {n, (n + 7) / 8 * 8}) {
            for (bool blend : {false, true}) {
                std::vector<uint8_t> mask(32, 0);
                std::vector<uint16_t> dst(32);
                for (int i = 0; i < 32; ++i) {
                    if (i < n) mask[i] = random() % 2 ? static_cast<uint8_t>(1 + random() % 255) : 0;
                    dst[i] = static_cast<uint16_t>(random());
                }
                std::vector<uint16_t> out = dst;
                if (blend) rows::MaskRow<true>(out.data(), mask.data(), 0x07E0, n, room, FactorsOf(c));
                else rows::MaskRow<false>(out.data(), mask.data(), 0x07E0, n, room, FactorsOf(c));
                for (int i = 0; i < 32; ++i) {
                    const uint16_t ink = blend ? media::Blend<Rgb565>(0x07E0, dst[i], 100) : 0x07E0;
                    ASSERT_EQ(out[i], mask[i] ? ink : dst[i]) << "n " << n << " room " << room << " at " << i;
                }
            }
        }
    }
}

// A 21 x 5 picture (rows longer than one group of eight, odd width) with keyed
// pixels, drawn plain and mirrored, cut by every screen edge.
class WideDraws : public testsupport::HeadlessMedia {
protected:
    static constexpr int kW = 21, kH = 5;
    std::vector<uint32_t> picture;

    int Load() {
        std::mt19937 random(5);
        picture.clear();
        // Row 1 keyed whole, row 3 without any keyed pixel, the others mixed.
        for (int i = 0; i < kW * kH; ++i) {
            const int row = i / kW;
            const bool keyed = row == 1 || (row != 3 && random() % 4 == 0);
            picture.push_back(keyed ? 0xFF00FF : (random() & 0xFFFFFE));
        }
        media::WriteBmp("wide.bmp", picture, kW, kH);
        return LoadImageFile("wide.bmp", 0);
    }
    static uint16_t To565(uint32_t rgb) { return Rgb565::FromRgb(rgb); }
    static std::vector<uint16_t> Screen565() {
        std::vector<uint16_t> out;
        for (uint32_t rgb : media::headless::BackScreenPixels()) out.push_back(To565(rgb));
        return out;
    }
};

TEST_F(WideDraws, KeyedShadedAndMirroredDrawsMatchThePixelModel) {
    const int image = Load();
    ASSERT_GT(image, 0);
    const Case c{2, 200, 150, 100, 128};
    for (bool mirrored : {false, true}) {
        for (auto [x, y] : {std::pair{-7, 3}, {0, -2}, {30, 3}, {145, 117}}) {
            SetBlendMode(kBlendNone, 255);
            SetDrawBrightness(255, 255, 255);
            DrawRect(0, 0, 160, 120, MakeColor(40, 90, 200), 1);
            const std::vector<uint16_t> before = Screen565();
            ASSERT_EQ(before.size(), 160u * 120u);
            SetBlendMode(kBlendAlpha, c.p);
            SetDrawBrightness(c.br, c.bg, c.bb);
            if (mirrored) DrawImageMirrored(x, y, image, 1);
            else DrawImage(x, y, image, 1);
            const std::vector<uint16_t> after = Screen565();
            for (int yy = 0; yy < 120; ++yy) {
                for (int xx = 0; xx < 160; ++xx) {
                    uint16_t want = before[yy * 160 + xx];
                    const int col = xx - x, row = yy - y;
                    if (col >= 0 && col < kW && row >= 0 && row < kH) {
                        const uint32_t rgb = picture[row * kW + (mirrored ? kW - 1 - col : col)];
                        if (rgb != 0xFF00FF) want = Reference(c, To565(rgb), want);
                    }
                    ASSERT_EQ(after[yy * 160 + xx], want)
                        << "mirrored " << mirrored << " x " << x << " at " << xx << "," << yy;
                }
            }
        }
    }
}

// A padded mask (3 wide in rows of 8) near the right edge: with room the row
// runs on over the padding, at the edge it must not; the pixels beside it keep
// their (varied) values either way.
TEST_F(WideDraws, PaddedMasksTouchNothingBesideTheirInk) {
    const int image = Load();
    DrawImage(140, 0, image, 0);  // a varied background under x 140..160
    const std::vector<uint16_t> before = Screen565();
    const uint8_t mask[2 * 8] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
    SetBlendMode(kBlendAlpha, 200);
    media::DrawCoverageMask(150, 1, mask, 3, 2, 8, MakeColor(255, 255, 0));
    media::DrawCoverageMask(158, 3, mask, 3, 2, 8, MakeColor(255, 255, 0));  // cut to 2 columns
    const std::vector<uint16_t> after = Screen565();
    const uint16_t yellow = To565(0xFFFF00);
    for (int yy = 0; yy < 120; ++yy) {
        for (int xx = 0; xx < 160; ++xx) {
            const int mx = xx >= 158 ? xx - 158 : xx - 150, my = xx >= 158 ? yy - 3 : yy - 1;
            const bool inked = mx >= 0 && mx < 3 && my >= 0 && my < 2 && mask[my * 8 + mx];
            const uint16_t was = before[yy * 160 + xx];
            const uint16_t want = inked ? media::Blend<Rgb565>(yellow, was, 200) : was;
            ASSERT_EQ(after[yy * 160 + xx], want) << xx << "," << yy;
        }
    }
}

}  // namespace
