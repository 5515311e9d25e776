#include "app/PlayerStart.h"

#include <ctime>
#include <memory>

#include "app/AtomicFile.h"
#include "app/SettingsFile.h"
#include "media/core/PlayerPrefs.h"
#include "media/shell/WindowOverlay.h"
#include "objects/graphics/Language.h"

namespace app {

void UseEnglish(bool english) { SetGameLanguage(english ? Language::English : Language::Japanese); }

void StartPlayerSettings(const PlayerSettings& commandLine, const std::string& settingsFolder,
                         const std::string& playerFolder) {
    auto file = std::make_shared<SettingsFile>(settingsFolder + "/settings.ini");
    // What a copy killed while writing left behind (this copy has written nothing yet).
    const std::time_t now = std::time(nullptr);
    if (!settingsFolder.empty()) RemoveLeftoverTemporaries(file->Path(), now);
    RemoveLeftoverTemporaries(playerFolder + "/Data/KeyData.dat", now);
    PlayerSettings settings;
    if (!settingsFolder.empty()) settings = file->Load();
    settings.Overlay(commandLine);

    media::PlayerPrefs prefs;
    prefs.scale = settings.scale.value_or(0);
    prefs.fullscreen = settings.fullscreen;
    prefs.musicVolume = settings.musicVolume.value_or(100);
    prefs.effectVolume = settings.effectVolume.value_or(100);
    prefs.mute = settings.mute.value_or(false);
    prefs.screenshotFolder = playerFolder + "/screenshots";
    if (!settingsFolder.empty()) prefs.padMappingFile = settingsFolder + "/gamecontrollerdb.txt";
    media::SetPlayerPrefs(prefs);
    UseEnglish(settings.english.value_or(false));
    media::SetNoticesShown(settings.notices.value_or(true));

    if (settingsFolder.empty()) return;
    media::SetPlayerDisplayListener({
        [file](int scale) { file->Save("scale", std::to_string(scale)); },
        [file](bool fullscreen) { file->Save("fullscreen", fullscreen ? "1" : "0"); },
    });
}

}  // namespace app
