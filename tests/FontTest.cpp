// Fonts: Shift-JIS walking, the default font's re-creation rule, the font
// limit, face look-up with fall-backs, and the glyphs of the game's texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "SjisTestText.h"
#include "media/DefaultFont.h"
#include "media/FontFinder.h"
#include "media/FontSystem.h"
#include "media/FontTable.h"
#include "media/Media.h"
#include "media/ShiftJis.h"

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
    EXPECT_EQ(media::SjisToUnicode(c.code), U'\uFF65');   // half-width middle dot
    EXPECT_EQ(media::NextSjisChar(p += 1).length, 0);

    const char truncated[] = "\x82";
    c = media::NextSjisChar(truncated);
    EXPECT_TRUE(c.truncated);
    EXPECT_EQ(c.length, 1);
    EXPECT_EQ(media::NextSjisChar(truncated + 1).length, 0);

    EXPECT_EQ(media::SjisToUnicode(0x80), 0u);     // not a character
    EXPECT_EQ(media::SjisToUnicode(0x8120), 0u);   // bad trail byte
    EXPECT_EQ(media::SjisToUtf8(ToSjis("ＭＳ ゴシック")), "ＭＳ ゴシック");
    EXPECT_EQ(media::SjisToUtf8("a\x80" "b"), "a\xEF\xBF\xBD" "b");
}

class Fonts : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultFontFace(nullptr, -1);
        SetDefaultFontThickness(-1);
        SetDefaultFontSize(-1);
    }
    void TearDown() override { media::EndFonts(); }
};

TEST_F(Fonts, DefaultFontIsRecreatedOnlyWhenASettingReallyChanges) {
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
    EXPECT_EQ(media::DefaultFontCreations() - before, 6u);   // 12 and 16 in turn: each change re-creates
    ASSERT_NE(media::DefaultFont(), nullptr);
    EXPECT_EQ(media::DefaultFont()->CellHeight(), 16);
    const uint64_t settled = media::DefaultFontCreations();
    SetDefaultFontSize(16);
    SetDefaultFontThickness(2);
    SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), 1);   // -1 means 1: the same
    EXPECT_EQ(media::DefaultFontCreations(), settled);
    SetDefaultFontThickness(-1);
    EXPECT_EQ(media::DefaultFontSettings().thickness, 6);
    SetDefaultFontSize(-1);
    EXPECT_EQ(media::DefaultFontSettings().size, 16);
    EXPECT_EQ(media::DefaultFontCreations(), settled + 1);
    EXPECT_EQ(media::FontCount(), 1);   // the old default font is freed each time
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

    const char* texts[] = {"ぞうしょく", "かり", "しきんちょうたつ", "レベルアップ", "トラップせっち", "きゅうけい",
                           "てきしゅうだ！", "たたかいにしょうりした！", "ぜんめつしてしまった･･･"};
    std::string all;
    for (const char* t : texts) all += ToSjis(t);
    ASSERT_FALSE(all.empty());
    const auto glyphs = GlyphsOf(*font, all);
    EXPECT_NE(glyphs.count(0xA5), 0u);   // the half-width middle dot is a one-byte character
    const media::Glyph& box = font->ReplacementGlyph(2);
    std::set<std::vector<uint8_t>> seen;
    for (const auto& [code, glyph] : glyphs) {
        SCOPED_TRACE(testing::Message() << "character 0x" << std::hex << code);
        EXPECT_EQ(glyph.height, 8);
        ASSERT_EQ(glyph.mask.size(), static_cast<size_t>(glyph.width * glyph.height));
        int ink = 0;
        for (int y = 0; y < glyph.height; ++y)
            for (int x = 0; x < glyph.width; ++x) {
                const uint8_t v = glyph.mask[static_cast<size_t>(y * glyph.width + x)];
                EXPECT_TRUE(v == 0 || v == 1);   // no grey: monochrome
                if (!v) continue;
                ++ink;
                EXPECT_GE(glyph.left + x, 0);    // inside the character's own cell
                EXPECT_LT(glyph.left + x, glyph.advance);
            }
        EXPECT_GT(ink, 0);
        EXPECT_EQ(glyph.advance, code > 0xFF ? 8 : 4) << "full width 8, half width 4";
        if (font->File().path.find("misaki") != std::string::npos) {
            EXPECT_NE(glyph.mask, box.mask) << "the face lacks the character";
        }
        // Distinct: the mask together with its placement.
        std::vector<uint8_t> key = glyph.mask;
        key.push_back(static_cast<uint8_t>(glyph.left));
        key.push_back(static_cast<uint8_t>(glyph.width));
        EXPECT_TRUE(seen.insert(key).second) << "renders exactly like another character";
    }
}

TEST_F(Fonts, FacesAreFoundThroughTheGameConfigurationAndUnknownFacesFallBack) {
    const bool misaki = media::FindFontFile({"MisakiGothic", 8, 0, false, media::FontCharSet::Any}).has_value() &&
                        media::FindFontFile({"MisakiGothic", 8, 0, false, media::FontCharSet::Any})->path.find("misaki") != std::string::npos;
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
    const media::Glyph& a = font->GlyphOf(0x82A0);   // あ
    EXPECT_NE(a.mask, font->ReplacementGlyph(2).mask);
    int ink = 0;
    for (uint8_t v : a.mask) ink += v;
    EXPECT_GT(ink, 0);
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
    EXPECT_EQ(font->GlyphOf('\n').width, 0);   // control characters draw nothing
    EXPECT_EQ(font->GlyphOf('\n').advance, 0);
}

}  // namespace
