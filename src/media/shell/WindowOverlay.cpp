#include "media/shell/WindowOverlay.h"

#include "media/core/CatchUp.h"
#include "media/core/OperationLock.h"
#include "media/platform/Platform.h"
#include "media/shell/Shell.h"

namespace media {

namespace {

struct Notices {
    bool shown = true;
    std::string text;
    uint32_t until = 0;
};

Notices& TheNotices() {
    static Notices* notices = new Notices();  // lives until process exit
    return *notices;
}

}  // namespace

void SetHelpSource(HelpSource* source) {
    OperationGuard guard;
    TheShell().SetHelpSource(source);
}

void SetSettingsPanel(Panel* panel) {
    OperationGuard guard;
    TheShell().SetSettingsPanel(panel);
}

bool KeyWorks(KeyAction action) {
    OperationGuard guard;
    return TheShell().KeyWorks(action);
}

bool EscapeEndsGame() { return CurrentPlatform().Traits().escapeEnds; }

void SetNoticesShown(bool shown) {
    OperationGuard guard;
    TheNotices().shown = shown;
}

void ShowNotice(const std::string& text) {
    OperationGuard guard;
    Notices& n = TheNotices();
    if (!n.shown || CatchingUp()) return;  // only what the player sees played live
    n.text = text;
    n.until = CurrentPlatform().NowMillis() + kNoticeMillis;
}

std::string NoticeAt(uint32_t nowMillis) {
    OperationGuard guard;
    Notices& n = TheNotices();
    if (!n.text.empty() && static_cast<int32_t>(n.until - nowMillis) <= 0) n.text.clear();
    return n.text;
}

void ToggleHelpPanel() {
    OperationGuard guard;
    TheShell().TogglePanel(KeyAction::Help);
}

bool HelpPanelOpen() {
    OperationGuard guard;
    return TheShell().OpenPanel() == KeyAction::Help;
}

const OverlayText& CurrentOverlay(uint32_t nowMillis) {
    OperationGuard guard;
    return TheShell().Overlay(nowMillis);
}

}  // namespace media
