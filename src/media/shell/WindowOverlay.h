// What the window shows above the game's picture, never in it: a short notice
// and the panels the player opens (the help panel with F1 or a gamepad's Back
// button, the settings panel with F2 or Start). The game hands down the help's
// content through HelpSource and the settings panel as a Panel; the media layer
// knows nothing of what their lines say. None of this is a game operation: the
// screen, the call trace and F12 screenshots never see it. While a panel is
// open the game waits, as it does while the window has lost the focus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/platform/OverlayText.h"
#include "media/shell/KeyTable.h"

namespace media {

class Panel;

class HelpSource {
public:
    virtual ~HelpSource() = default;
    // The panel's lines (Shift-JIS); asked on the game's thread, between frames, when the panel opens.
    virtual std::vector<std::string> HelpLines() = 0;
};

// How long a notice stays.
inline constexpr uint32_t kNoticeMillis = 2000;

// ------------------------------------------------ for the program's start-up and the game

// The help panel's source; null (the default) leaves F1 without a panel. Not owned.
void SetHelpSource(HelpSource* source);
// The settings panel; null (the default) leaves F2 without a panel. Not owned.
void SetSettingsPanel(Panel* panel);
// Notices shown (the default) or not.
void SetNoticesShown(bool shown);
// Shows a one-line notice (Shift-JIS) for kNoticeMillis from now; none while catching up.
void ShowNotice(const std::string& text);
// True when the key table's `action` does something here now (F12 only where
// the window saves screenshots, F2 once there is a settings panel, ...): the
// help panel names only those keys. Escape "ends" only where EscapeEndsGame.
bool KeyWorks(KeyAction action);
// True when Escape with no panel open ends the game here (not in a page).
bool EscapeEndsGame();

// ------------------------------------------------ for the shell and tests

// Opens the help panel (asking the source for its lines) or closes it, as F1 does.
void ToggleHelpPanel();
bool HelpPanelOpen();
// What to show at `nowMillis`: the open panel, else a notice not yet expired.
const OverlayText& CurrentOverlay(uint32_t nowMillis);
// The notice to show at `nowMillis`; empty when none.
std::string NoticeAt(uint32_t nowMillis);

}  // namespace media
