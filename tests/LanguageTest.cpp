// The game's words in both languages: each fits where it stands at the game's
// 8-pixel font, and pictures with words fall back to Japanese.
#include <gtest/gtest.h>

#include <algorithm>

#include "GameTestSupport.h"
#include "MediaTestSupport.h"
#include "game/world/GameTexts.h"
#include "media/text/DefaultFont.h"
#include "media/text/FontFinder.h"
#include "objects/graphics/GraphicTexts.h"
#include "objects/graphics/WordPicture.h"

namespace {

class Languages : public ::testing::Test {
protected:
    // The game's own font configuration (fonts/ of the data folder) is read anew.
    void SetUp() override { media::ReleaseFontConfig(); }
    void TearDown() override {
        SetGameLanguage(Language::Japanese);
        media::ReleaseFontConfig();
    }

    // Pixels from the pen's start to the right edge of the last ink, as a text block draws it.
    static int InkWidth(const char* text) {
        SetDefaultFontFace(TextGraphFontFace(), -1);
        SetDefaultFontSize(8);
        media::Font* font = media::DefaultFont();
        if (!font || !text) return -1;
        int64_t right = 0;
        for (const media::TextMask& mask : font->RunOf(text)->masks) right = std::max(right, mask.left + mask.width);
        return static_cast<int>(right);
    }

    gametest::WorkFolder folder{true};
};

// The command words stand in two columns (the second column's cursor starts at
// x 86), the messages across the lower window, whose inner area ends at x 156:
// every text keeps 4 pixels clear of it, as on the left.
TEST_F(Languages, EveryTextFitsWhereTheJapaneseOneStands) {
    for (Language language : {Language::Japanese, Language::English}) {
        for (int i = 0; i < 6; ++i) {
            const int left = i < 3 ? 14 : 95, right = i < 3 ? 86 : 152;
            const int width = InkWidth(CommandWordText(i, language));
            EXPECT_GT(width, 0) << "command " << i;
            EXPECT_LE(left + width, right) << CommandWordText(i, language);
        }
        for (int i = 0; i < 3; ++i) {
            const int width = InkWidth(BattleMessageText(i, language));
            EXPECT_GT(width, 0) << "message " << i;
            EXPECT_LE(8 + width, 152) << BattleMessageText(i, language);
        }
    }
    EXPECT_STREQ(CommandWordText(1, Language::English), "Hunt");
}

TEST_F(Languages, AMissingEnglishPictureFallsBackToTheJapaneseOneWithALogLine) {
    EXPECT_EQ(WordPicture("PushZkey.bmp"), "PushZkey.bmp");
    SetGameLanguage(Language::English);
    EXPECT_EQ(WordPicture("PushZkey.bmp"), "en/PushZkey.bmp");
    EXPECT_EQ(WordPicture("TitleLogo.bmp"), "TitleLogo.bmp");
    EXPECT_NE(testsupport::ReadFile("Log.txt").find("English picture image/en/TitleLogo.bmp is missing"),
              std::string::npos);
}

}  // namespace
