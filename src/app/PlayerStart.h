// The player's settings put in force before the game starts: the settings
// file, with the command line's settings over it, handed to the media layer
// together with the screenshot folder and the gamepad mapping file; and the
// file kept up to date when the player changes the window's scale or
// fullscreen while playing. The game's own calls are not touched.
#pragma once

#include <string>

#include "app/PlayerSettings.h"

namespace app {

// The words the player sees in English, or in Japanese (the default); before the first scene.
void UseEnglish(bool english);

// `settingsFolder` holds settings.ini and gamecontrollerdb.txt ("" : no settings
// file); screenshots go to screenshots/ in `playerFolder`.
void StartPlayerSettings(const PlayerSettings& commandLine, const std::string& settingsFolder,
                         const std::string& playerFolder);

}  // namespace app
