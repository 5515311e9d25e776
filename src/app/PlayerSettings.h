// The player's own settings: the window's scale and fullscreen, the music and
// effect volumes and mute, the language and the notices. Each is unset until the settings file or a flag of
// the command line gives it; what is unset leaves the game as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app {

inline constexpr int kMaxWindowScale = 8;

struct PlayerSettings {
    std::optional<int> scale;         // 1..8: the window is scale x 160 by scale x 120 at start
    std::optional<bool> fullscreen;   // desktop fullscreen at start
    std::optional<int> musicVolume;   // 0..100, on top of the game's own volumes
    std::optional<int> effectVolume;  // 0..100
    std::optional<bool> mute;
    std::optional<bool> english;  // the words the player sees in English, else Japanese
    std::optional<bool> notices;  // a refused order is told above the picture

    // The settings given in `over` replace these.
    void Overlay(const PlayerSettings& over);
};

// Sets one setting from its name in the settings file ("scale", "fullscreen",
// "music_volume", "effect_volume", "mute", "language", "notices") and its value
// text (a whole number; 0 or 1 for the switches; "ja" or "en" for the language). False, with the reason in `problem`,
// for an unknown name or a bad value; `settings` is then unchanged.
bool SetSetting(PlayerSettings& settings, std::string_view name, std::string_view value, std::string& problem);

// A whole decimal number in lo..hi and nothing else, or nothing.
std::optional<int> WholeNumberIn(std::string_view text, int lo, int hi);

}  // namespace app
