#include "media/core/PlayerPrefs.h"

#include <algorithm>
#include <utility>

#include "media/core/OperationLock.h"

namespace media {

namespace {

constexpr int kMaxPlayerScale = 8;

struct Choices {
    PlayerPrefs prefs;
    PlayerDisplayListener listener;
};

Choices& TheChoices() {
    static Choices* choices = new Choices();  // lives until process exit
    return *choices;
}

}  // namespace

void SetPlayerPrefs(const PlayerPrefs& prefs) {
    OperationGuard guard;
    PlayerPrefs& p = TheChoices().prefs;
    p = prefs;
    p.scale = std::clamp(p.scale, 0, kMaxPlayerScale);
    p.musicVolume = std::clamp(p.musicVolume, 0, 100);
    p.effectVolume = std::clamp(p.effectVolume, 0, 100);
}

void SetPlayerDisplayListener(PlayerDisplayListener listener) {
    OperationGuard guard;
    TheChoices().listener = std::move(listener);
}

const PlayerPrefs& CurrentPlayerPrefs() { return TheChoices().prefs; }

double PlayerWindowScale(double gameScale) {
    const int scale = TheChoices().prefs.scale;
    return scale > 0 ? scale : gameScale;
}

bool PlayerWindowed(bool gameWindowed) {
    const std::optional<bool>& fullscreen = TheChoices().prefs.fullscreen;
    return fullscreen ? !*fullscreen : gameWindowed;
}

float PlayerVolumeGain(int playType) {
    const PlayerPrefs& p = TheChoices().prefs;
    if (p.mute) return 0.0f;
    return static_cast<float>(playType == 3 ? p.musicVolume : p.effectVolume) / 100.0f;
}

void NotePlayerScale(int scale) {
    const PlayerDisplayListener& listener = TheChoices().listener;
    if (listener.scaleChanged) listener.scaleChanged(std::clamp(scale, 1, kMaxPlayerScale));
}

void NotePlayerFullscreen(bool fullscreen) {
    const PlayerDisplayListener& listener = TheChoices().listener;
    if (listener.fullscreenChanged) listener.fullscreenChanged(fullscreen);
}

}  // namespace media
