// The player's own choices, applied inside the media layer under the game's
// calls: the window's size and fullscreen, music and effect volumes, where F12
// screenshots go. The game's calls stay exactly as
// they are (SetWindowScale(2.0), ChangeWindowMode(1), ...): what the player
// chose wins over them. Only the program's start-up uses this interface; none
// of it is a game operation or shows in the call trace.
//
// With the defaults (nothing set) the media layer behaves exactly as without it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace media {

struct PlayerPrefs {
    int scale = 0;                   // window at start: scale x the screen size (whole multiple); 0: the game's scale
    std::optional<bool> fullscreen;  // at start; unset: the game's window mode
    int musicVolume = 100;           // 0..100, on top of the game's volumes, for looping sounds
    int effectVolume = 100;          // 0..100, the same for sounds played once
    bool mute = false;               // no sound at all
    std::string screenshotFolder;    // where F12 writes; "" takes no screenshots
    std::string padMappingFile;      // extra game-controller mappings (SDL's format), read when present
};

// Told, on the game's thread from inside ProcessMessage, when the player has
// changed the window: its whole-multiple scale (1..8, only while windowed) or fullscreen.
struct PlayerDisplayListener {
    std::function<void(int scale)> scaleChanged;
    std::function<void(bool fullscreen)> fullscreenChanged;
};

// ------------------------------------------------ for the program's start-up

// The player's choices; before InitMediaLayer (the window is made with them).
// Volumes are clamped to 0..100, the scale to 0..8.
void SetPlayerPrefs(const PlayerPrefs& prefs);
void SetPlayerDisplayListener(PlayerDisplayListener listener);

// ------------------------------------------------ for the media layer itself

// The choices as last set (the defaults before).
const PlayerPrefs& CurrentPlayerPrefs();
// The window scale at start: the player's whole multiple, else the game's rate.
double PlayerWindowScale(double gameScale);
// Windowed at start: not when the player chose fullscreen, else as the game asked.
bool PlayerWindowed(bool gameWindowed);
// Amplitude factor of the player's volume for a sound played with `playType`:
// looping sounds (3) are music, the others effects. Exactly 1.0 by default.
float PlayerVolumeGain(int playType);
// Tell the listener, if any (the scale clamped to 1..8).
void NotePlayerScale(int scale);
void NotePlayerFullscreen(bool fullscreen);

}  // namespace media
