// Fonts: Shift-JIS walking, the default font's re-creation rule, the font
// limit, face look-up with fall-backs, and the glyphs of the game's texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <map>
#include <optional>
#include <set>

#include "CannotRun.h"
#include "MediaTestSupport.h"
#include "SjisTestText.h"
#include "media/Media.h"
#include "media/core/OperationLock.h"
#include "media/headless/HeadlessControls.h"
#include "media/text/DefaultFont.h"
#include "media/text/FontFinder.h"
#include "media/text/FontSystem.h"
#include "media/text/FontTable.h"
#include "media/text/ShiftJis.h"
#include "media/video/DrawOperations.h"
#include "media/video/Renderer.h"

namespace {

using testtext::ToSjis;

TEST(ShiftJis, WalksLeadBytesAsTwoByteCharactersAndNeverPastTheEnd) {
    const std::string text = ToSjis("Aあ･");
    ASSERT_EQ(text, std::string("A\x82\xA0\xA5"));
    const char* p = text.c_str();
    media::SjisChar c = media::NextSjisChar(p);
    EXPECT_EQ(c.code, 'A');
    EXPECT_EQ(c.length, 1);
    c = media::NextSjisChar(p += 1);
    EXPECT_EQ(c.code, 0x82A0);
    EXPECT_EQ(c.length, 2);
    EXPECT_EQ(media::SjisToUnicode(c.code), U'あ');
    c = media::NextSjisChar(p += 2);
    EXPECT_EQ(c.length, 1);
    EXPECT_EQ(media::SjisToUnicode(c.code), U'\uFF65');  // half-width middle dot
    EXPECT_EQ(media::NextSjisChar(p += 1).length, 0);

    const char truncated[] = "\x82";
    c = media::NextSjisChar(truncated);
    EXPECT_TRUE(c.truncated);
    EXPECT_EQ(c.length, 1);
    EXPECT_EQ(media::NextSjisChar(truncated + 1).length, 0);

    EXPECT_EQ(media::SjisToUnicode(0x80), 0u);    // not a character
    EXPECT_EQ(media::SjisToUnicode(0x8120), 0u);  // bad trail byte
    EXPECT_EQ(media::SjisToUtf8(ToSjis("ＭＳ ゴシック")), "ＭＳ ゴシック");
    EXPECT_EQ(media::SjisToUtf8("a\x80"
                                "b"),
              "a\xEF\xBF\xBD"
              "b");
}

// A headless media layer (160 x 120 x 16, back screen) with the default font settings.
class Fonts : public testsupport::HeadlessMedia {
protected:
    void SetUp() override {
        HeadlessMedia::SetUp();
        SetDefaultFontFace(nullptr, -1);
        SetDefaultFontThickness(-1);
        SetDefaultFontSize(-1);
    }
};

// Alone and inside a batch of operations (where settings given their present
// value take a short way).
TEST_F(Fonts, DefaultFontIsRecreatedOnlyWhenASettingReallyChanges) {
    for (bool inBatch : {false, true}) {
        std::optional<media::OperationGuard> batch;
        if (inBatch) batch.emplace();
        SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), -1);
        SetDefaultFontThickness(2);
        SetDefaultFontSize(16);
        const uint64_t before = media::DefaultFontCreations();
        for (int block = 0; block < 3; ++block) {
            SetDefaultFontSize(12);
            SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), -1);
            DrawTextAt(0, 0, "", 0, 0);
            SetDefaultFontSize(16);
            SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), -1);
        }
        EXPECT_EQ(media::DefaultFontCreations() - before, 6u);  // 12 and 16 in turn: each change re-creates
        ASSERT_NE(media::DefaultFont(), nullptr);
        EXPECT_EQ(media::DefaultFont()->CellHeight(), 16);
        const uint64_t settled = media::DefaultFontCreations();
        SetDefaultFontSize(16);
        SetDefaultFontThickness(2);
        SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), 1);  // -1 means 1: the same
        EXPECT_EQ(media::DefaultFontCreations(), settled);
        SetDefaultFontThickness(-1);
        EXPECT_EQ(media::DefaultFontSettings().thickness, 6);
        SetDefaultFontSize(-1);
        EXPECT_EQ(media::DefaultFontSettings().size, 16);
        EXPECT_EQ(media::DefaultFontCreations(), settled + 1);
        SetDefaultFontFace(ToSjis("MS 明朝").c_str(), 1);
        EXPECT_EQ(media::DefaultFontCreations(), settled + 2);
        EXPECT_EQ(media::FontCount(), 1);  // the old default font is freed each time
    }
}

TEST_F(Fonts, AtMostFortyFontsLive) {
    media::FontSettings settings;
    settings.size = 10;
    std::vector<int32_t> handles;
    while (true) {
        const int32_t h = media::CreateFontHandle(settings);
        if (h == -1) break;
        handles.push_back(h);
        ASSERT_LE(handles.size(), 40u);
    }
    EXPECT_EQ(media::FontCount(), media::kMaxFonts);
    const std::string log = testsupport::ReadFile("Log.txt");
    EXPECT_NE(log.find(ToSjis("作成できるフォントハンドル数 40 の限界を超えました")), std::string::npos);
    for (int32_t h : handles) EXPECT_TRUE(media::DeleteFontHandle(h));
    for (int32_t h : handles) EXPECT_FALSE(media::DeleteFontHandle(h));
}

// Renders every character of a string at size 8; the masks by character.
std::map<uint16_t, media::Glyph> GlyphsOf(media::Font& font, const std::string& sjis) {
    std::map<uint16_t, media::Glyph> glyphs;
    for (const char* p = sjis.c_str(); *p;) {
        const media::SjisChar c = media::NextSjisChar(p);
        glyphs[c.code] = font.GlyphOf(c.code);
        p += c.length;
    }
    return glyphs;
}

TEST_F(Fonts, EveryCharacterOfTheGameTextsIsCrispDistinctAndInsideItsEightPixelLine) {
    SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), -1);
    SetDefaultFontThickness(2);
    SetDefaultFontSize(8);
    media::Font* font = media::DefaultFont();
    ASSERT_NE(font, nullptr) << "no font at all";
    std::printf("size 8 text uses %s (%s); game fontconfig file: %s\n", font->File().path.c_str(),
                font->File().family.c_str(), media::LoadedFontConfigPath().c_str());
    RecordProperty("font8", font->File().path);
    if (font->File().path.find("misaki") == std::string::npos)
        std::printf("Misaki Gothic (fonts-misaki) was not found: the fall-back font is in use\n");

    const char* texts[] = {
        "ぞうしょく", "かり",           "しきんちょうたつ",         "レベルアップ",           "トラップせっち",
        "きゅうけい", "てきしゅうだ！", "たたかいにしょうりした！", "ぜんめつしてしまった･･･"};
    std::string all;
    for (const char* t : texts) all += ToSjis(t);
    ASSERT_FALSE(all.empty());
    const auto glyphs = GlyphsOf(*font, all);
    EXPECT_NE(glyphs.count(0xA5), 0u);  // the half-width middle dot is a one-byte character
    const media::Glyph& box = font->ReplacementGlyph(2);
    // Keys are strings: ordering vectors of bytes makes GCC 12 at -O3 warn of a
    // memcmp over 2^63 bytes inside std::set (a false -Wstringop-overread).
    std::set<std::string> seen;
    for (const auto& [code, glyph] : glyphs) {
        SCOPED_TRACE(testing::Message() << "character 0x" << std::hex << code);
        EXPECT_EQ(glyph.height, 8);
        ASSERT_EQ(glyph.pitch % 8, 0);
        ASSERT_GE(glyph.pitch, glyph.width);
        ASSERT_EQ(glyph.mask.size(), static_cast<size_t>(glyph.pitch * glyph.height));
        int ink = 0;
        for (int y = 0; y < glyph.height; ++y)
            for (int x = 0; x < glyph.pitch; ++x) {
                const uint8_t v = glyph.mask[static_cast<size_t>(y * glyph.pitch + x)];
                EXPECT_TRUE(v == 0 || v == 1);  // no grey: monochrome
                if (!v) continue;
                EXPECT_LT(x, glyph.width);  // the padding stays clear
                ++ink;
                EXPECT_GE(glyph.left + x, 0);  // inside the character's own cell
                EXPECT_LT(glyph.left + x, glyph.advance);
            }
        EXPECT_GT(ink, 0);
        EXPECT_EQ(glyph.advance, code > 0xFF ? 8 : 4) << "full width 8, half width 4";
        if (font->File().path.find("misaki") != std::string::npos) {
            EXPECT_NE(glyph.mask, box.mask) << "the face lacks the character";
        }
        // Distinct: the mask together with its placement.
        std::string key(glyph.mask.begin(), glyph.mask.end());
        key.push_back(static_cast<char>(glyph.left));
        key.push_back(static_cast<char>(glyph.width));
        EXPECT_TRUE(seen.insert(key).second) << "renders exactly like another character";
    }
}

TEST_F(Fonts, FacesAreFoundThroughTheGameConfigurationAndUnknownFacesFallBack) {
    const bool misaki =
        media::FindFontFile({"MisakiGothic", 8, 0, false, media::FontCharSet::Any}).has_value() &&
        media::FindFontFile({"MisakiGothic", 8, 0, false, media::FontCharSet::Any})->path.find("misaki") !=
            std::string::npos;
    const auto big = media::FindFontFile({"MS Gothic", 16, 200, false, media::FontCharSet::ShiftJis});
    ASSERT_TRUE(big.has_value());
    std::printf("MS Gothic at 16 pixels: %s\n", big->path.c_str());
    const auto small = media::FindFontFile({"ＭＳ ゴシック", 8, 200, false, media::FontCharSet::ShiftJis});
    ASSERT_TRUE(small.has_value());
    std::printf("ＭＳ ゴシック at 8 pixels: %s\n", small->path.c_str());
    if (misaki && !media::LoadedFontConfigPath().empty()) {
        EXPECT_EQ(small->family, "MisakiGothic");
        EXPECT_EQ(big->family, "IPAGothic");
    }

    // A face nobody has: the system substitutes a font that still has Japanese.
    SetDefaultFontFace("No Such Face 12345", -1);
    SetDefaultFontSize(12);
    media::Font* font = media::DefaultFont();
    ASSERT_NE(font, nullptr);
    std::printf("unknown face at 12 pixels: %s\n", font->File().path.c_str());
    const media::Glyph& a = font->GlyphOf(0x82A0);  // あ
    EXPECT_NE(a.mask, font->ReplacementGlyph(2).mask);
    int ink = 0;
    for (uint8_t v : a.mask) ink += v;
    EXPECT_GT(ink, 0);
}

TEST_F(Fonts, GameConfigurationBesideTheDataFoldersIsUsedFromARelativeWorkingFolder) {
    // The game runs with assets/ as its working folder: fonts/fonts.conf there
    // must really be read (fontconfig would resolve a relative name elsewhere).
    namespace fs = std::filesystem;
    const fs::path source = fs::path(ANAGURA_SOURCE_DIR) / "assets" / "fonts" / "fonts.conf";
    ASSERT_TRUE(fs::exists(source));
    const fs::path folder = fs::temp_directory_path() / ("anagura-fontconf-" + std::to_string(getpid()));
    fs::create_directories(folder / "fonts");
    fs::copy_file(source, folder / "fonts" / "fonts.conf", fs::copy_options::overwrite_existing);
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    media::ReleaseFontConfig();
    const auto small = media::FindFontFile({"ＭＳ ゴシック", 8, 200, false, media::FontCharSet::ShiftJis});
    const std::string loaded = media::LoadedFontConfigPath();
    fs::current_path(before);
    media::ReleaseFontConfig();
    fs::remove_all(folder);

    ASSERT_FALSE(loaded.empty());
    EXPECT_EQ(loaded.front(), '/');
    EXPECT_EQ(fs::path(loaded).parent_path().filename(), "fonts");
    ASSERT_TRUE(small.has_value());
    if (small->path.find("misaki") == std::string::npos && !fs::exists("/usr/share/fonts/truetype/misaki")) {
        return testsupport::CannotRun("Misaki Gothic is not installed here; found " + small->path);
    }
    EXPECT_EQ(small->family, "MisakiGothic");
}

TEST_F(Fonts, ThicknessGivesTheStrokeWeight) {
    SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), -1);
    SetDefaultFontSize(16);
    auto inkOf = [](int thickness) {
        SetDefaultFontThickness(thickness);
        media::Font* font = media::DefaultFont();
        int ink = 0;
        if (font)
            for (uint16_t code : {uint16_t{0x82A0}, uint16_t{0x8AB4}, uint16_t{'W'}})
                for (uint8_t v : font->GlyphOf(code).mask) ink += v;
        return ink;
    };
    const int light = inkOf(2);
    const int heavy = inkOf(9);
    EXPECT_GT(light, 0);
    EXPECT_GT(heavy, light * 11 / 10) << "bold strokes (made thicker where the face has no bold weight)";
}

TEST_F(Fonts, BrokenCharactersGetAReplacementBox) {
    SetDefaultFontSize(16);
    media::Font* font = media::DefaultFont();
    ASSERT_NE(font, nullptr);
    const media::Glyph& bad = font->GlyphOf(0x80);
    EXPECT_EQ(bad.mask, font->ReplacementGlyph(1).mask);
    EXPECT_EQ(bad.advance, 8);
    EXPECT_EQ(font->GlyphOf(0x8120).mask, font->ReplacementGlyph(2).mask);
    EXPECT_EQ(font->GlyphOf(0x8120).advance, 16);
    EXPECT_EQ(font->GlyphOf('\n').width, 0);  // control characters draw nothing
    EXPECT_EQ(font->GlyphOf('\n').advance, 0);
}

// Ink pixels (not the background colour) in a rectangle of the back screen.
int InkIn(const std::vector<uint32_t>& pixels, int x0, int y0, int x1, int y1, uint32_t background = 0) {
    int ink = 0;
    for (int y = std::max(0, y0); y < std::min(120, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(160, x1); ++x)
            ink += pixels[static_cast<size_t>(y * 160 + x)] != background;
    return ink;
}

TEST_F(Fonts, EmptyAndNullTextDrawNothingAndReturnZero) {
    const auto before = media::headless::BackScreenPixels();
    EXPECT_EQ(DrawTextAt(10, 10, "", MakeColor(255, 255, 255), 0), 0);
    EXPECT_EQ(DrawTextAt(10, 10, nullptr, MakeColor(255, 255, 255), 0), 0);
    EXPECT_EQ(media::headless::BackScreenPixels(), before);
}

TEST_F(Fonts, TextIsDrawnGlyphByGlyphLeftToRightFromItsTopLeftCorner) {
    SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), -1);
    SetDefaultFontSize(8);
    const uint32_t white = MakeColor(255, 255, 255);
    ASSERT_EQ(DrawTextAt(10, 20, ToSjis("あA").c_str(), white, 0), 0);
    const auto pixels = media::headless::BackScreenPixels();
    media::Font* font = media::DefaultFont();
    ASSERT_NE(font, nullptr);
    int penX = 10;
    for (uint16_t code : {uint16_t{0x82A0}, uint16_t{'A'}}) {
        const media::Glyph& g = font->GlyphOf(code);
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                const bool ink = g.mask[static_cast<size_t>(y * g.pitch + x)] != 0;
                const uint32_t p = pixels[static_cast<size_t>((20 + y) * 160 + penX + g.left + x)];
                EXPECT_EQ(p != 0, ink) << "glyph " << code << " at " << x << "," << y;
            }
        penX += g.advance;
    }
    // Nothing outside the line.
    EXPECT_EQ(InkIn(pixels, 0, 0, 160, 20), 0);
    EXPECT_EQ(InkIn(pixels, 0, 28, 160, 120), 0);
    EXPECT_EQ(InkIn(pixels, 0, 0, 10, 120), 0);
    EXPECT_EQ(InkIn(pixels, penX, 0, 160, 120), 0);
}

// A line is kept laid out as one mask; blended over a background it must give
// exactly what drawing its glyphs one after another gives (a pixel two glyphs
// shared would be blended twice).
TEST_F(Fonts, LinesDrawnWholeEqualGlyphByGlyphDrawingWhenBlended) {
    SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), -1);
    const std::string texts[] = {ToSjis("トラップせっち"), ToSjis("ぜんめつしてしまった･･･"), "fj/Wjyf_", "a\x82"};
    for (int size : {8, 16}) {
        SetDefaultFontSize(size);
        media::Font* font = media::DefaultFont();
        ASSERT_NE(font, nullptr);
        for (const std::string& text : texts) {
            auto draw = [&](bool whole) {
                SetBlendMode(kBlendNone, 255);
                DrawRect(0, 0, 160, 120, MakeColor(40, 90, 200), 1);
                SetBlendMode(kBlendAlpha, 128);
                const uint32_t colour = MakeColor(250, 200, 30);
                if (whole) {
                    DrawTextAt(3, 5, text.c_str(), colour, 0);
                    return media::headless::BackScreenPixels();
                }
                int pen = 3;
                for (const char* p = text.c_str(); *p;) {
                    const media::SjisChar c = media::NextSjisChar(p);
                    const media::Glyph& g = c.truncated ? font->ReplacementGlyph(2) : font->GlyphOf(c.code);
                    if (g.width > 0)
                        media::DrawCoverageMask(pen + g.left, 5, g.mask.data(), g.width, g.height, g.pitch, colour);
                    pen += g.advance;
                    p += c.length;
                }
                return media::headless::BackScreenPixels();
            };
            EXPECT_EQ(draw(true), draw(false)) << media::SjisToUtf8(text) << " at size " << size;
        }
    }
    SetBlendMode(kBlendNone, 255);
}

TEST_F(Fonts, TextObeysBrightnessBlendAndClipping) {
    SetDefaultFontSize(16);
    const std::string text = ToSjis("あい");
    const uint32_t white = MakeColor(255, 255, 255);
    DrawTextAt(0, 0, text.c_str(), white, 0);
    const int fullInk = InkIn(media::headless::BackScreenPixels(), 0, 0, 160, 120);
    ASSERT_GT(fullInk, 20);

    // Brightness multiplies the text colour: grey ink where white was.
    ClearScreen();
    SetDrawBrightness(128, 128, 128);
    DrawTextAt(0, 0, text.c_str(), white, 0);
    auto pixels = media::headless::BackScreenPixels();
    EXPECT_EQ(InkIn(pixels, 0, 0, 160, 120), fullInk);
    for (uint32_t p : pixels) EXPECT_TRUE(p == 0 || ((p >> 16) & 0xFF) < 0xA0);
    SetDrawBrightness(255, 255, 255);

    // Blend parameter 0: invisible.
    ClearScreen();
    SetBlendMode(kBlendAlpha, 0);
    DrawTextAt(0, 0, text.c_str(), white, 0);
    EXPECT_EQ(InkIn(media::headless::BackScreenPixels(), 0, 0, 160, 120), 0);
    SetBlendMode(kBlendNone, 0);

    // Clipped at every edge, never drawn outside.
    ClearScreen();
    DrawTextAt(-8, -8, text.c_str(), white, 0);
    DrawTextAt(150, 110, text.c_str(), white, 0);
    DrawTextAt(-1000, 5000, text.c_str(), white, 0);
    pixels = media::headless::BackScreenPixels();
    const int clippedInk = InkIn(pixels, 0, 0, 160, 120);
    EXPECT_GT(clippedInk, 0);
    EXPECT_LT(clippedInk, 2 * fullInk);
}

TEST_F(Fonts, BrokenSequencesDrawAReplacementBoxAndStopAtTheEnd) {
    SetDefaultFontSize(16);
    media::Font* font = media::DefaultFont();
    ASSERT_NE(font, nullptr);
    int boxInk = 0;
    for (uint8_t v : font->ReplacementGlyph(2).mask) boxInk += v;
    // A lead byte right before the end: a box, and nothing read beyond the string.
    const std::unique_ptr<char[]> cut(new char[2]{'\x82', '\0'});
    DrawTextAt(0, 0, cut.get(), MakeColor(255, 255, 255), 0);
    EXPECT_EQ(InkIn(media::headless::BackScreenPixels(), 0, 0, 160, 120), boxInk);
}

}  // namespace
