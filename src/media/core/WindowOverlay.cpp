#include "media/core/WindowOverlay.h"

#include "media/core/CatchUp.h"
#include "media/core/OperationLock.h"
#include "media/platform/Platform.h"

namespace media {

namespace {

struct Overlay {
    HelpSource* source = nullptr;
    bool noticesShown = true;
    bool panelOpen = false;
    std::vector<std::string> panelLines;
    std::string notice;
    uint32_t noticeUntil = 0;
    OverlayText shown;
};

Overlay& TheOverlay() {
    static Overlay* overlay = new Overlay();  // lives until process exit
    return *overlay;
}

void Show(OverlayText& shown, const std::vector<std::string>& lines, bool panel) {
    if (shown.lines == lines && shown.panel == panel) return;
    shown.lines = lines;
    shown.panel = panel;
    ++shown.serial;
}

}  // namespace

void SetHelpSource(HelpSource* source) {
    OperationGuard guard;
    TheOverlay().source = source;
    if (!source) TheOverlay().panelOpen = false;
}

bool ScreenshotKeyWorks() { return CurrentPlatform().SavesScreenshots(); }

void SetNoticesShown(bool shown) {
    OperationGuard guard;
    TheOverlay().noticesShown = shown;
}

void ShowNotice(const std::string& text) {
    OperationGuard guard;
    Overlay& o = TheOverlay();
    if (!o.noticesShown || CatchingUp()) return;  // only what the player sees played live
    o.notice = text;
    o.noticeUntil = CurrentPlatform().NowMillis() + kNoticeMillis;
}

void ToggleHelpPanel() {
    OperationGuard guard;
    Overlay& o = TheOverlay();
    o.panelOpen = !o.panelOpen && o.source;
    if (o.panelOpen) o.panelLines = o.source->HelpLines();
}

bool HelpPanelOpen() {
    OperationGuard guard;
    return TheOverlay().panelOpen;
}

const OverlayText& CurrentOverlay(uint32_t nowMillis) {
    OperationGuard guard;
    Overlay& o = TheOverlay();
    if (o.panelOpen) {
        Show(o.shown, o.panelLines, true);
    } else if (!o.notice.empty() && static_cast<int32_t>(o.noticeUntil - nowMillis) > 0) {
        Show(o.shown, {o.notice}, false);
    } else if (!o.shown.lines.empty()) {
        o.notice.clear();
        Show(o.shown, {}, false);
    }
    return o.shown;
}

}  // namespace media
