#include "media/shell/Shell.h"

#include <cstring>

#include "media/core/CatchUp.h"
#include "media/core/OperationLock.h"
#include "media/core/PlayerPrefs.h"
#include "media/shell/Panel.h"
#include "media/shell/WindowOverlay.h"
#include "media/video/Screenshot.h"

namespace media {

namespace {

constexpr uint32_t Bit(PlayerButton button) { return 1u << static_cast<int>(button); }
constexpr uint32_t kGameButtonBits = (1u << kGameButtonCount) - 1;

KeyAction PanelOfButton(PlayerButton button) {
    if (button == PlayerButton::Help) return KeyAction::Help;
    if (button == PlayerButton::Settings) return KeyAction::Settings;
    return KeyAction::None;
}

}  // namespace

Shell::Shell() { SetPlatformInputSink(this); }

void Shell::SetMode(ShellMode mode) {
    OperationGuard guard;
    if (m_open != KeyAction::None) ClosePanel();
    m_mode = mode;
    std::memset(m_down, 0, sizeof m_down);
    std::memset(m_pressed, 0, sizeof m_pressed);
    std::memset(m_swallowed, 0, sizeof m_swallowed);
    std::memset(m_buttons, 0, sizeof m_buttons);
    m_buttonsPressed = m_buttonsSwallowed = 0;
    m_fastForwardKey = false;
    m_quitAsked = false;
}

void Shell::SetGameButtonKeys(const std::vector<int32_t>& codes) {
    OperationGuard guard;
    m_buttonKeys = codes;
}

void Shell::SetHelpSource(HelpSource* source) {
    OperationGuard guard;
    m_help.SetSource(source);
    if (!source && m_open == KeyAction::Help) ClosePanel();
}

void Shell::SetSettingsPanel(Panel* panel) {
    OperationGuard guard;
    if (m_open == KeyAction::Settings) ClosePanel();
    m_settings = panel;
}

// ------------------------------------------------------------ what a backend reports

bool Shell::KeyChanged(uint8_t dik, bool down, bool repeat) {
    OperationGuard guard;
    if (dik == 0) return false;
    if (m_mode == ShellMode::Plain) {
        m_down[dik] = down ? 1 : 0;
        if (down) m_pressed[dik] = 1;
        return true;
    }
    if (down) return PlayerKeyDown(dik, repeat);
    m_down[dik] = 0;
    m_swallowed[dik] = 0;
    if (dik == kDikTab) m_fastForwardKey = false;
    return dik != kDikF12 || CurrentPlatform().Traits().savesScreenshots;
}

void Shell::AllKeysUp() {
    OperationGuard guard;
    std::memset(m_down, 0, sizeof m_down);
    std::memset(m_swallowed, 0, sizeof m_swallowed);
    m_fastForwardKey = false;
}

void Shell::ButtonChanged(ButtonSource source, PlayerButton button, bool down) {
    OperationGuard guard;
    uint32_t& held = m_buttons[static_cast<int>(source)];
    const bool wasHeld = ButtonHeld(static_cast<int>(button));
    held = down ? held | Bit(button) : held & ~Bit(button);
    if (!down) {
        if (!ButtonHeld(static_cast<int>(button))) m_buttonsSwallowed &= ~Bit(button);
        return;
    }
    if (wasHeld) return;
    if (m_mode == ShellMode::Player && CatchingUp()) {
        m_buttonsSwallowed |= Bit(button);
        return;
    }
    if (m_mode == ShellMode::Player && m_open != KeyAction::None) {
        PanelButtonDown(button);
        return;
    }
    const KeyAction panel = PanelOfButton(button);
    if (m_mode == ShellMode::Player && panel != KeyAction::None) {
        m_buttonsSwallowed |= Bit(button);
        TogglePanel(panel);
        return;
    }
    m_buttonsPressed |= Bit(button);
}

void Shell::WindowScaleChosen(int scale) { NotePlayerScale(scale); }

// A key went down in player mode. Hotkeys act at once and never reach the
// game; while a panel is open every key is the panel's.
bool Shell::PlayerKeyDown(uint8_t dik, bool repeat) {
    const bool altHeld = m_down[kDikLeftAlt] || m_down[kDikRightAlt];
    const KeyAction action = KeyActionOf(dik, altHeld);
    const PlatformTraits traits = CurrentPlatform().Traits();
    if (action == KeyAction::Screenshot && !traits.savesScreenshots) return false;  // the system's key
    if (CatchingUp()) {
        // The game reads the recording: a key held now stays unseen until released.
        m_down[dik] = 1;
        m_swallowed[dik] = 1;
        if (action == KeyAction::Escape && !repeat) m_quitAsked = true;
        return true;
    }
    if (m_open != KeyAction::None) return PanelKeyDown(dik, action, repeat);
    switch (action) {
        case KeyAction::None: break;
        case KeyAction::Escape:
            if (traits.escapeEnds) break;
            m_swallowed[dik] = 1;  // in a page Escape only closes panels
            m_down[dik] = 1;
            return true;
        case KeyAction::FastForward: m_fastForwardKey = true; return true;
        case KeyAction::Help:
        case KeyAction::Settings:
            if (!repeat) TogglePanel(action);
            return true;
        case KeyAction::Fullscreen:
            m_down[dik] = 1;
            m_swallowed[dik] = 1;  // Alt+Enter: Enter stays unseen until released
            if (!repeat) ToggleFullscreen();
            return true;
        case KeyAction::Screenshot:
            if (!repeat) SaveScreenshot();
            return true;
    }
    m_down[dik] = 1;
    if (!repeat) m_pressed[dik] = 1;
    return true;
}

// A key while a panel is open: Escape and the panel's own key close it, the
// other panel's key opens that one instead, the fullscreen keys still switch;
// everything else is the panel's. A panel waiting for a key takes every key.
bool Shell::PanelKeyDown(uint8_t dik, KeyAction action, bool repeat) {
    m_down[dik] = 1;
    m_swallowed[dik] = 1;
    Panel* panel = PanelOf(m_open);
    PanelInput input;
    input.dik = dik;
    input.action = action;
    input.repeat = repeat;
    GameButtonOfKey(dik, input.button);
    if (panel && panel->CapturingKey()) {
        if (!repeat) GivePanel(input);
        return true;
    }
    if (repeat && action != KeyAction::None) return true;
    switch (action) {
        case KeyAction::Escape: ClosePanel(); return true;
        case KeyAction::Help:
        case KeyAction::Settings: TogglePanel(action); return true;
        case KeyAction::Fullscreen: ToggleFullscreen(); return true;
        case KeyAction::FastForward:
        case KeyAction::Screenshot:
        case KeyAction::None: break;
    }
    GivePanel(input);
    return true;
}

void Shell::PanelButtonDown(PlayerButton button) {
    m_buttonsSwallowed |= Bit(button);
    const KeyAction panel = PanelOfButton(button);
    if (panel != KeyAction::None) {
        TogglePanel(panel);
        return;
    }
    if (static_cast<int>(button) >= kGameButtonCount) return;
    PanelInput input;
    input.button = static_cast<int>(button);
    GivePanel(input);
}

bool Shell::GameButtonOfKey(uint8_t dik, int& button) const {
    for (size_t b = 0; b < m_buttonKeys.size() && b < kGameButtonCount; ++b) {
        if (m_buttonKeys[b] == dik) {
            button = static_cast<int>(b);
            return true;
        }
    }
    button = -1;
    return false;
}

// ------------------------------------------------------------ for the media layer's operations

bool Shell::ButtonHeld(int button) const {
    for (uint32_t held : m_buttons)
        if (held & (1u << button)) return true;
    return false;
}

void Shell::ReadKeys(uint8_t keys[256]) {
    OperationGuard guard;
    for (int k = 0; k < 256; ++k) keys[k] = (m_down[k] | m_pressed[k]) && !m_swallowed[k] ? 1 : 0;
    std::memset(m_pressed, 0, sizeof m_pressed);
    uint32_t buttons = m_buttonsPressed;
    for (int b = 0; b < kGameButtonCount; ++b)
        if (ButtonHeld(b)) buttons |= 1u << b;
    buttons &= kGameButtonBits & ~m_buttonsSwallowed;
    m_buttonsPressed = 0;
    for (size_t b = 0; b < m_buttonKeys.size() && b < kGameButtonCount; ++b) {
        const int32_t code = m_buttonKeys[b];
        if ((buttons >> b & 1u) && code > 0 && code < 256) keys[code] = 1;
    }
}

PumpResult Shell::Pump() {
    OperationGuard guard;
    PumpResult result = CurrentPlatform().PumpEvents();
    if (m_quitAsked) result.quit = true;
    PushOverlay(false);
    if (m_open != KeyAction::None) result.active = false;
    return result;
}

bool Shell::FastForwardHeld() const {
    if (m_mode != ShellMode::Player || m_open != KeyAction::None || !m_fastForwardOffered) return false;
    return m_fastForwardKey || ButtonHeld(static_cast<int>(PlayerButton::FastForward));
}

bool Shell::KeyWorks(KeyAction action) const {
    switch (action) {
        case KeyAction::Help: return m_help.Source() != nullptr;
        case KeyAction::Settings: return m_settings != nullptr;
        case KeyAction::FastForward: return m_fastForwardOffered;
        case KeyAction::Screenshot: return CurrentPlatform().Traits().savesScreenshots;
        case KeyAction::None:
        case KeyAction::Fullscreen:
        case KeyAction::Escape: return true;
    }
    return false;
}

// ------------------------------------------------------------ panels

Panel* Shell::PanelOf(KeyAction which) {
    if (which == KeyAction::Help) return m_help.Source() ? &m_help : nullptr;
    if (which == KeyAction::Settings) return m_settings;
    return nullptr;
}

void Shell::TogglePanel(KeyAction which) {
    OperationGuard guard;
    if (m_open == which) {
        ClosePanel();
        return;
    }
    Panel* panel = PanelOf(which);
    if (!panel) return;
    m_open = which;
    m_fastForwardKey = false;
    panel->Opened();
    ShowOverlayNow();
}

void Shell::GivePanel(const PanelInput& input) {
    Panel* panel = PanelOf(m_open);
    if (!panel) return;
    if (!panel->Input(input)) ClosePanel();
    else ShowOverlayNow();
}

// Nothing pressed while the panel was open reaches the game: every key and
// button held now stays unseen until it is released.
void Shell::ClosePanel() {
    m_open = KeyAction::None;
    for (int k = 0; k < 256; ++k) m_swallowed[k] |= m_down[k];
    std::memset(m_pressed, 0, sizeof m_pressed);
    for (int b = 0; b < kPlayerButtonCount; ++b)
        if (ButtonHeld(b)) m_buttonsSwallowed |= 1u << b;
    m_buttonsPressed = 0;
    ShowOverlayNow();
}

void Shell::ToggleFullscreen() {
    Platform& platform = CurrentPlatform();
    const bool fullscreen = !platform.Fullscreen();
    if (platform.SetFullscreen(fullscreen) && platform.Traits().fullscreenAtStart) NotePlayerFullscreen(fullscreen);
}

const OverlayText& Shell::Overlay(uint32_t nowMillis) {
    OperationGuard guard;
    std::vector<std::string> lines;
    bool panel = false;
    if (Panel* open = PanelOf(m_open)) {
        lines = open->Lines();
        panel = true;
    } else if (std::string notice = NoticeAt(nowMillis); !notice.empty()) {
        lines.push_back(notice);
    }
    if (lines != m_overlay.lines || panel != m_overlay.panel) {
        m_overlay.lines = std::move(lines);
        m_overlay.panel = panel;
        ++m_overlay.serial;
    }
    return m_overlay;
}

// The game waits while a panel opens, changes or closes: the window shows it at once.
void Shell::ShowOverlayNow() { PushOverlay(true); }

void Shell::PushOverlay(bool now) {
    const OverlayText& text = Overlay(CurrentPlatform().NowMillis());
    if (text.serial == m_shownSerial) return;
    m_shownSerial = text.serial;
    CurrentPlatform().ShowOverlay(text, now);
}

Shell& TheShell() {
    static Shell* shell = new Shell();  // lives until process exit
    return *shell;
}

void SetGameButtonKeys(const std::vector<int32_t>& codes) { TheShell().SetGameButtonKeys(codes); }

}  // namespace media
