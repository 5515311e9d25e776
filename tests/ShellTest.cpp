// The shell over the headless platform standing in for a window: keys and
// buttons in as a window reports them, out what the game reads, what the
// overlay shows and whether the game waits. The key table's rules: hotkeys
// never reach the game, Escape ends it only where the platform lets it, a panel
// takes every key and nothing pressed while it was open reaches the game.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "MediaTestSupport.h"
#include "media/Media.h"
#include "media/core/CatchUp.h"
#include "media/core/PlayerPrefs.h"
#include "media/headless/HeadlessControls.h"
#include "media/shell/Panel.h"
#include "media/shell/Shell.h"
#include "media/shell/WindowOverlay.h"

namespace {

using media::ButtonSource;
using media::PlayerButton;
using KeyList = std::vector<int>;

constexpr int kEsc = 0x01, kTab = 0x0F, kEnter = 0x1C, kZ = 0x2C, kX = 0x2D, kAlt = 0x38, kF1 = 0x3B, kF2 = 0x3C,
              kF11 = 0x57, kF12 = 0x58, kUp = 200, kDown = 208, kRight = 205, kLeft = 203;

media::PlatformTraits Desktop() { return {true, true, true, true}; }
media::PlatformTraits Page() { return {false, false, false, false}; }

struct Help : media::HelpSource {
    std::vector<std::string> HelpLines() override { return {"Keys", "  Up: Up"}; }
};

// A panel that keeps what it was given; it closes on decide, and when asked it
// waits for a key (taking Escape too).
struct RecordingPanel : media::Panel {
    std::vector<media::PanelInput> inputs;
    bool capturing = false;
    std::vector<std::string> Lines() override { return {"Settings", std::to_string(inputs.size())}; }
    bool CapturingKey() const override { return capturing; }
    bool Input(const media::PanelInput& input) override {
        inputs.push_back(input);
        capturing = false;
        return input.button != 4;
    }
};

class ShellTest : public testsupport::HeadlessMedia {
protected:
    void SetUp() override {
        HeadlessMedia::SetUp();
        Player(Desktop());
        media::SetGameButtonKeys({kUp, kDown, kRight, kLeft, kZ, kX});
        media::SetHelpSource(&help_);
        media::SetPlayerDisplayListener({nullptr, [this](bool on) { fullscreens_.push_back(on); }});
    }
    void TearDown() override {
        media::SetHelpSource(nullptr);
        media::SetSettingsPanel(nullptr);
        media::SetPlayerDisplayListener({});
        media::SetGameButtonKeys({});
        HeadlessMedia::TearDown();
    }
    static void Player(const media::PlatformTraits& traits) { media::headless::UsePlayerKeys(traits); }

    // The keys the game reads at the next frame.
    static KeyList Read() {
        std::array<uint8_t, 256> keys{};
        GetKeyStateAll(keys.data());
        KeyList down;
        for (int k = 1; k < 256; ++k)
            if (keys[static_cast<size_t>(k)]) down.push_back(k);
        return down;
    }
    static void Tap(int dik) {
        media::headless::SetKeyDown(dik, true);
        media::headless::SetKeyDown(dik, false);
    }
    static bool GameWaits() { return !media::TheShell().Pump().active; }
    static std::vector<std::string> Shown() { return media::headless::ShownOverlay().lines; }

    Help help_;
    std::vector<bool> fullscreens_;
};

TEST_F(ShellTest, HotkeysActAndNeverReachTheGameWhileOtherKeysDo) {
    for (int key : {kF2, kF11, kF12, kTab, kF1}) EXPECT_TRUE(media::headless::SetKeyDown(key, true)) << key;
    media::headless::SetKeyDown(kF1, false);  // the help panel: opened and closed again
    media::headless::SetKeyDown(kF1, true);
    EXPECT_EQ(Read(), KeyList{});
    EXPECT_FALSE(media::HelpPanelOpen());
    EXPECT_EQ(fullscreens_, std::vector<bool>{true});
    media::headless::ReleaseAllKeys();

    // Alt+Enter switches back; Enter stays unseen until released, Alt is an ordinary key.
    media::headless::SetKeyDown(kAlt, true);
    media::headless::SetKeyDown(kEnter, true);
    EXPECT_EQ(Read(), KeyList{kAlt});
    EXPECT_EQ(fullscreens_, (std::vector<bool>{true, false}));
    media::headless::SetKeyDown(kAlt, false);
    EXPECT_EQ(Read(), KeyList{}) << "Enter still held from Alt+Enter";
    media::headless::SetKeyDown(kEnter, false);
    media::headless::SetKeyDown(kEnter, true);
    EXPECT_EQ(Read(), KeyList{kEnter});

    // A tap between two frames is seen once; a held key in every frame.
    media::headless::ReleaseAllKeys();
    Tap(kZ);
    media::headless::SetKeyDown(kDown, true);
    EXPECT_EQ(Read(), (KeyList{kZ, kDown}));
    EXPECT_EQ(Read(), KeyList{kDown});

    // F12 is the system's where the platform saves no screenshots (a page's browser).
    Player(Page());
    EXPECT_FALSE(media::headless::SetKeyDown(kF12, true));
    EXPECT_TRUE(media::headless::SetKeyDown(kF11, true));
    EXPECT_EQ(fullscreens_.size(), 2u) << "a page's fullscreen is not kept for the next start";
    EXPECT_EQ(Read(), KeyList{});
}

TEST_F(ShellTest, EscapeEndsTheGameOnTheDesktopButOnlyClosesPanelsInAPage) {
    Tap(kEsc);
    EXPECT_EQ(Read(), KeyList{kEsc});

    // With a panel open Escape closes it and nothing else, though still held.
    media::headless::SetKeyDown(kF1, true);
    EXPECT_TRUE(GameWaits());
    media::headless::SetKeyDown(kEsc, true);
    EXPECT_FALSE(media::HelpPanelOpen());
    EXPECT_FALSE(GameWaits());
    EXPECT_EQ(Read(), KeyList{});
    media::headless::ReleaseAllKeys();

    Player(Page());
    media::headless::SetKeyDown(kEsc, true);
    EXPECT_EQ(Read(), KeyList{});
    EXPECT_EQ(Read(), KeyList{});
}

TEST_F(ShellTest, APanelTakesEveryKeyAndNothingPressedWhileOpenReachesTheGame) {
    RecordingPanel settings;
    media::SetSettingsPanel(&settings);
    media::headless::SetKeyDown(kDown, true);  // held from before
    EXPECT_EQ(Read(), KeyList{kDown});

    media::headless::SetKeyDown(kF2, true);
    EXPECT_TRUE(GameWaits());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Settings", "0"})) << "shown at once";
    media::headless::SetKeyDown(kUp, true);  // a game button's key: the panel's button
    media::headless::SetKeyDown(kUp, true);  // its repeat
    media::headless::SetKeyDown(kTab, true);
    media::headless::SetButtonDown(ButtonSource::Pad, PlayerButton::Cancel, true);
    ASSERT_EQ(settings.inputs.size(), 4u);
    EXPECT_EQ(settings.inputs[0].button, 0);
    EXPECT_TRUE(settings.inputs[1].repeat);
    EXPECT_EQ(settings.inputs[2].action, media::KeyAction::FastForward);
    EXPECT_EQ(settings.inputs[3].dik, 0);
    EXPECT_EQ(settings.inputs[3].button, 5);
    EXPECT_EQ(Shown()[1], "4");
    EXPECT_FALSE(media::TheShell().FastForwardHeld());

    // F1 in the settings opens the help instead; F1 again closes it.
    media::headless::SetKeyDown(kF1, true);
    EXPECT_TRUE(media::HelpPanelOpen());
    EXPECT_EQ(Shown()[0], "Keys");
    media::headless::SetKeyDown(kF1, false);
    media::headless::SetKeyDown(kF1, true);
    EXPECT_FALSE(GameWaits());
    EXPECT_EQ(Shown(), std::vector<std::string>{});
    EXPECT_EQ(Read(), KeyList{}) << "keys and buttons held since are unseen until released";
    media::headless::SetKeyDown(kUp, false);
    media::headless::SetButtonDown(ButtonSource::Pad, PlayerButton::Cancel, false);
    media::headless::SetKeyDown(kUp, true);
    media::headless::SetButtonDown(ButtonSource::Pad, PlayerButton::Cancel, true);
    EXPECT_EQ(Read(), (KeyList{kX, kUp}));

    // Waiting for a key the panel takes Escape too; decide closes it (its choice).
    media::headless::SetKeyDown(kF2, false);
    media::headless::SetKeyDown(kF2, true);
    settings.capturing = true;
    media::headless::SetKeyDown(kEsc, true);
    EXPECT_EQ(settings.inputs.back().dik, kEsc);
    EXPECT_TRUE(GameWaits());
    media::headless::SetKeyDown(kZ, true);
    EXPECT_FALSE(GameWaits());
    media::headless::SetKeyDown(kEsc, false);
    EXPECT_EQ(Read(), KeyList{}) << "Z pressed in the panel stays unseen, and so do keys held since before";
}

TEST_F(ShellTest, PadAndTouchButtonsPressTheKeysInForceAndOpenPanels) {
    // A touch tap between two frames is seen once; a button is held while any source holds it.
    media::headless::SetButtonDown(ButtonSource::Touch, PlayerButton::Decide, true);
    media::headless::SetButtonDown(ButtonSource::Touch, PlayerButton::Decide, false);
    EXPECT_EQ(Read(), KeyList{kZ});
    EXPECT_EQ(Read(), KeyList{});
    media::headless::SetButtonDown(ButtonSource::Pad, PlayerButton::Left, true);
    media::headless::SetButtonDown(ButtonSource::Touch, PlayerButton::Left, true);
    media::headless::SetButtonDown(ButtonSource::Touch, PlayerButton::Left, false);
    EXPECT_EQ(Read(), KeyList{kLeft});
    media::headless::SetButtonDown(ButtonSource::Pad, PlayerButton::Left, false);

    media::headless::SetButtonDown(ButtonSource::Touch, PlayerButton::FastForward, true);
    EXPECT_FALSE(media::TheShell().FastForwardHeld()) << "until the frame loop offers it";
    media::TheShell().OfferFastForward(true);
    EXPECT_TRUE(media::TheShell().FastForwardHeld());
    media::TheShell().OfferFastForward(false);

    media::headless::SetButtonDown(ButtonSource::Pad, PlayerButton::Help, true);
    EXPECT_TRUE(media::HelpPanelOpen());
    media::headless::SetButtonDown(ButtonSource::Pad, PlayerButton::Help, false);
    media::headless::SetButtonDown(ButtonSource::Touch, PlayerButton::Cancel, true);
    EXPECT_FALSE(media::HelpPanelOpen()) << "cancel closes the help";
    EXPECT_EQ(Read(), KeyList{});
}

TEST_F(ShellTest, EscapeWhileAKeptGameIsCaughtUpEndsTheRunAndItsKeysStayUnseen) {
    const uint8_t none[256] = {};
    media::BeginCatchUp(none);
    media::headless::SetKeyDown(kZ, true);
    media::headless::SetKeyDown(kF1, true);
    EXPECT_FALSE(media::HelpPanelOpen());
    EXPECT_FALSE(media::TheShell().Pump().quit);
    media::headless::SetKeyDown(kEsc, true);
    EXPECT_TRUE(media::TheShell().Pump().quit);
    media::EndCatchUp();
    EXPECT_EQ(Read(), KeyList{}) << "keys pressed while catching up wait for their release";
}

TEST(KeyTable, TheHotkeysAndEscapeAreReservedButAltEnterLeavesEnterFree) {
    for (int key : {kEsc, kTab, kF1, kF2, kF11, kF12}) EXPECT_TRUE(media::ReservedKey(key)) << key;
    for (int key : {kEnter, kZ, kAlt, 0, 256, -1}) EXPECT_FALSE(media::ReservedKey(key)) << key;
    EXPECT_EQ(media::KeyActionOf(kEnter, true), media::KeyAction::Fullscreen);
    EXPECT_EQ(media::KeyActionOf(kEnter, false), media::KeyAction::None);
}

}  // namespace
