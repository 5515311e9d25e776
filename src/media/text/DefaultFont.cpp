#include "media/text/DefaultFont.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "media/Media.h"
#include "media/core/OperationLock.h"
#include "media/text/FontFinder.h"
#include "media/text/FontSystem.h"

namespace media {

namespace {

struct DefaultFontState {
    FontSettings settings;                 // current settings
    std::optional<FontSettings> madeFrom;  // settings of the last creation (even a failed one)
    bool upToDate = false;                 // madeFrom holds the current settings: nothing to compare
    int32_t handle = -1;
    uint64_t creations = 0;
};

DefaultFontState& State() {
    static DefaultFontState* state = new DefaultFontState();  // lives until process exit
    return *state;
}

}  // namespace

const FontSettings& DefaultFontSettings() { return State().settings; }

void BringDefaultFontUpToDate() {
    DefaultFontState& state = State();
    if (state.upToDate) return;
    state.upToDate = true;
    if (state.madeFrom && *state.madeFrom == state.settings) return;
    if (state.handle != -1) DeleteFontHandle(state.handle);
    state.handle = CreateFontHandle(state.settings);
    state.madeFrom = state.settings;
    ++state.creations;
}

// A setter's new value: the font is compared with the settings again only
// when one of them really changes.
template <class T>
void ChangeSetting(T& setting, const T& value) {
    if (setting == value) return;
    setting = value;
    State().upToDate = false;
}

void PutDefaultFontSettings(const FontSettings& settings) {
    OperationGuard guard;
    if (State().settings == settings) return;
    State().settings = settings;
    State().upToDate = false;
    BringDefaultFontUpToDate();
}

bool DefaultFontUpToDate() { return State().upToDate; }

Font* DefaultFont() { return FindFont(State().handle); }

uint64_t DefaultFontCreations() { return State().creations; }

void PrepareFonts() { LoadFontConfigAhead(); }

void StartFonts() {
    OperationGuard guard;
    BringDefaultFontUpToDate();
}

void EndFonts() {
    OperationGuard guard;
    DefaultFontState& state = State();
    DeleteAllFonts();
    state.handle = -1;
    state.madeFrom.reset();
    state.upToDate = false;
    ReleaseFontConfig();
}

}  // namespace media

namespace {

// Inside a batch, a setting given its present value with the font up to date
// changes nothing: text boxes set their size and face before every draw.
bool AlreadySetInBatch() { return media::TheOperationLock().HeldHere() && media::State().upToDate; }

}  // namespace

int media::op::SetDefaultFontSize(int size) {
    if (AlreadySetInBatch() && media::State().settings.size == (size == -1 ? 16 : size)) return 0;
    media::OperationGuard guard;
    media::ChangeSetting(media::State().settings.size, size == -1 ? 16 : size);
    media::BringDefaultFontUpToDate();
    return 0;
}

int media::op::SetDefaultFontThickness(int thickness) {
    media::OperationGuard guard;
    media::ChangeSetting(media::State().settings.thickness, thickness == -1 ? 6 : std::clamp(thickness, 0, 9));
    media::BringDefaultFontUpToDate();
    return 0;
}

int media::op::SetDefaultFontFace(const char* face, int charSet) {
    if (AlreadySetInBatch()) {
        const media::FontSettings& settings = media::State().settings;
        if (settings.charSet == ((charSet < 0 || charSet > 2) ? 1 : charSet) &&
            std::strcmp(settings.face.c_str(), face ? face : "") == 0)
            return 0;
    }
    media::OperationGuard guard;
    media::FontSettings& settings = media::State().settings;
    const std::string_view newFace = face ? face : "";
    if (settings.face != newFace) {
        settings.face = newFace;
        media::State().upToDate = false;
    }
    media::ChangeSetting(settings.charSet, (charSet < 0 || charSet > 2) ? 1 : charSet);
    media::BringDefaultFontUpToDate();
    return 0;
}
