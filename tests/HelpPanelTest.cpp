// The help panel's lines and the notice of a refused order: what they say of
// the game, in both languages, and when the window is given them.
#include <algorithm>
#include <cstring>

#include "RulesTestSupport.h"
#include "app/HelpPanel.h"
#include "app/HelpTexts.h"
#include "media/Media.h"
#include "media/headless/HeadlessControls.h"
#include "media/shell/Panel.h"
#include "media/shell/Shell.h"
#include "media/shell/WindowOverlay.h"
#include "objects/graphics/Language.h"

namespace rulestest {
namespace {

// The printf conversions of a format, in order ("%s%d").
std::string Conversions(const char* format) {
    std::string found;
    for (const char* p = format; (p = std::strchr(p, '%')) != nullptr; p += 2) found.append(p, 2);
    return found;
}

TEST(HelpWords, BothLanguagesTakeTheSameValuesInTheSameOrder) {
    const app::texts::HelpWords& ja = app::texts::HelpWordsIn(false);
    const app::texts::HelpWords& en = app::texts::HelpWordsIn(true);
    for (auto field :
         {&app::texts::HelpWords::keyLine, &app::texts::HelpWords::pressure, &app::texts::HelpWords::calendar,
          &app::texts::HelpWords::atHome, &app::texts::HelpWords::onOrder, &app::texts::HelpWords::offer,
          &app::texts::HelpWords::busy, &app::texts::HelpWords::poor})
        EXPECT_EQ(Conversions(ja.*field), Conversions(en.*field)) << en.*field;
    for (int n = 0; n < 2; ++n) {
        EXPECT_EQ(Conversions(ja.days[n]), Conversions(en.days[n]));
        for (int kind = 0; kind < 5; ++kind)
            EXPECT_EQ(Conversions(ja.yields[kind][n]), Conversions(en.yields[kind][n]));
    }
}

class HelpPanelTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        ToCommandMenu();
        SetGameLanguage(Language::English);
    }
    void TearDown() override {
        SetGameLanguage(Language::Japanese);
        media::SetNoticesShown(true);
        media::SetHelpSource(nullptr);
        RulesTest::TearDown();
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(HelpPanelTest, ShowsTheKeyFilesKeysAndWhatTheGameKnows) {
    KeyConfig keys = Keys();
    keys.keys[4] = 28;  // decide on Return, as a key file may have it
    app::HelpPanel panel(keys);
    media::SetHelpSource(&panel);
    EXPECT_EQ(panel.HelpLines().size(), 9u) << "without a scene: the keys alone";
    panel.Watch(&Scene());
    Scene().raidPressure = 35;
    Player().day = 13;
    Player().orders[1] = {2, kOrderHunt, 45};
    std::vector<std::string> lines = panel.HelpLines();
    EXPECT_TRUE(Has(lines, "  Decide: Return"));
    EXPECT_TRUE(Has(lines, "  F1 help  F11/Alt+Enter fullscreen")) << "F12 named only where the window saves screenshots";
    EXPECT_TRUE(Has(lines, "  Esc: closes this panel (with none open: quits)"));
    EXPECT_TRUE(Has(lines, "Raid pressure: 35 / 100"));
    EXPECT_TRUE(Has(lines, "Raid of the 20th day in 7 days, boss in 27 days"));
    EXPECT_TRUE(Has(lines, "Yellow: at home"));
    EXPECT_TRUE(Has(lines, "Blue: hunting, back in 2 days, brings 45 food"));
    Player().day = 19;  // one of a thing is said so
    Player().orders[2] = {1, kOrderBreed, 1};
    lines = panel.HelpLines();
    EXPECT_TRUE(Has(lines, "Raid of the 20th day in 1 day, boss in 21 days"));
    EXPECT_TRUE(Has(lines, "Red: breeding, back in 1 day, brings 1 unit"));
    Player().orders[2] = {};
    Player().day = 13;

    // On the command menu, the offers of the command under the cursor; on the unit
    // menu, the offer to the colour under the cursor; a refusal in place of an offer.
    Screen().commandMenu->cursorRow = 1;  // hunt
    const std::string yellow =
        "  Yellow: costs 0 food, brings " + std::to_string(3 * Data().unitKinds[0].huntYield) + " food";
    for (bool choosing : {false, true}) {
        if (choosing) Choose(2);
        Screen().unitMenu->cursorRow = 1;  // Blue
        lines = panel.HelpLines();
        EXPECT_TRUE(Has(lines, "Hunt:"));
        EXPECT_TRUE(Has(lines, "  Blue: Blue is hunting: back in 2 days"));
        EXPECT_EQ(Has(lines, yellow), !choosing);
    }

    // F1 opens the panel with these lines, and closes it; without a source it stays closed.
    media::ToggleHelpPanel();
    EXPECT_TRUE(media::HelpPanelOpen());
    EXPECT_EQ(media::CurrentOverlay(GetNowMillis(0)).lines, lines);
    media::ToggleHelpPanel();
    EXPECT_TRUE(media::CurrentOverlay(GetNowMillis(0)).lines.empty());
    media::SetHelpSource(nullptr);
    media::ToggleHelpPanel();
    EXPECT_FALSE(media::HelpPanelOpen());
}

TEST_F(HelpPanelTest, NamesTheHotkeysOfTheKeyTableThatWorkOnThePlatform) {
    struct Settings : media::Panel {
        std::vector<std::string> Lines() override { return {}; }
        bool Input(const media::PanelInput&) override { return true; }
    } settings;
    app::HelpPanel panel(Keys());
    media::SetHelpSource(&panel);
    media::SetSettingsPanel(&settings);
    media::TheShell().OfferFastForward(true);
    media::headless::UsePlayerKeys({true, true, true, true});  // a desktop window
    std::vector<std::string> lines = panel.HelpLines();
    EXPECT_TRUE(Has(lines, "  F1 help  F2 settings  Tab fast-forward (hold)"));
    EXPECT_TRUE(Has(lines, "  F11/Alt+Enter fullscreen  F12 screenshot"));
    EXPECT_TRUE(Has(lines, "  Esc: closes this panel (with none open: quits)"));
    media::headless::UsePlayerKeys({false, false, false, false});  // a page
    lines = panel.HelpLines();
    EXPECT_TRUE(Has(lines, "  F11/Alt+Enter fullscreen"));
    EXPECT_TRUE(Has(lines, "  Esc: closes this panel"));
    media::TheShell().OfferFastForward(false);
    media::SetSettingsPanel(nullptr);
}

TEST_F(HelpPanelTest, ARefusedOrderIsNoticedForTwoSecondsUnlessNoticesAreOff) {
    Player().money = 10;
    Choose(4);  // level up: more than 10 money
    for (bool shown : {true, false}) {
        media::SetNoticesShown(shown);
        Step();
        const int before = Scene().state;
        Step({kKeyZ});  // Yellow, under the cursor, is refused
        ASSERT_EQ(Scene().state, kStateChooseUnit);
        app::NoticeRefusedOrder(before, Scene(), Keys());
        const uint32_t now = GetNowMillis(0);
        const std::vector<std::string> notice = media::CurrentOverlay(now).lines;
        if (!shown) {
            EXPECT_TRUE(notice.empty());
            continue;
        }
        ASSERT_EQ(notice.size(), 1u);
        EXPECT_EQ(notice[0], "Not enough money: " + std::to_string(Scene().rowCost[0]) + " needed, 10 held");
        app::NoticeRefusedOrder(Scene().state, Scene(), Keys());  // a held key is no new choice
        EXPECT_FALSE(media::CurrentOverlay(now + media::kNoticeMillis - 1).lines.empty());
        EXPECT_TRUE(media::CurrentOverlay(now + media::kNoticeMillis).lines.empty());
    }
}

}  // namespace
}  // namespace rulestest
