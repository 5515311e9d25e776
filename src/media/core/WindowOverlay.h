// What the window shows above the game's picture, never in it: a short notice
// and the help panel, which the player opens and closes with F1 (or a gamepad's
// Back button). The game hands down the panel's content through HelpSource;
// the media layer knows nothing of what the lines say. None of this is a game
// operation: the screen, the call trace and F12 screenshots never see it, and
// the headless platform shows nothing. While the panel is open the game waits,
// as it does while the window has lost the focus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

class HelpSource {
public:
    virtual ~HelpSource() = default;
    // The panel's lines (Shift-JIS); asked on the game's thread, between frames, when the panel opens.
    virtual std::vector<std::string> HelpLines() = 0;
};

// How long a notice stays.
inline constexpr uint32_t kNoticeMillis = 2000;

// ------------------------------------------------ for the program's start-up and the game

// The panel's source; null (the default) leaves F1 without a panel. Not owned.
void SetHelpSource(HelpSource* source);
// Notices shown (the default) or not.
void SetNoticesShown(bool shown);
// Shows a one-line notice (Shift-JIS) for kNoticeMillis from now; none while catching up.
void ShowNotice(const std::string& text);
// True when the window saves a screenshot on F12 (the help panel names the key then).
bool ScreenshotKeyWorks();

// ------------------------------------------------ for the platforms

struct OverlayText {
    std::vector<std::string> lines;  // nothing to show when empty
    bool panel = false;              // the help panel, else a notice
    uint64_t serial = 0;             // changes whenever the lines or the kind change
};

// Opens the panel (asking the source for its lines) or closes it.
void ToggleHelpPanel();
bool HelpPanelOpen();
// What to show at `nowMillis`: the panel while open, else a notice not yet expired.
const OverlayText& CurrentOverlay(uint32_t nowMillis);

}  // namespace media
