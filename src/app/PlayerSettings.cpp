#include "app/PlayerSettings.h"

#include <charconv>

namespace app {

namespace {

struct SettingRow {
    const char* name;
    int lo, hi;
    void (*store)(PlayerSettings& settings, int value);
    const char* const* words = nullptr;  // when set, the values' names, lo to hi
};

const char* const kLanguageWords[] = {"ja", "en"};

const SettingRow kSettings[] = {
    {"scale", 1, kMaxWindowScale, [](PlayerSettings& s, int v) { s.scale = v; }},
    {"fullscreen", 0, 1, [](PlayerSettings& s, int v) { s.fullscreen = v != 0; }},
    {"music_volume", 0, 100, [](PlayerSettings& s, int v) { s.musicVolume = v; }},
    {"effect_volume", 0, 100, [](PlayerSettings& s, int v) { s.effectVolume = v; }},
    {"mute", 0, 1, [](PlayerSettings& s, int v) { s.mute = v != 0; }},
    {"language", 0, 1, [](PlayerSettings& s, int v) { s.english = v != 0; }, kLanguageWords},
    {"notices", 0, 1, [](PlayerSettings& s, int v) { s.notices = v != 0; }},
};

std::optional<int> ValueOf(const SettingRow& row, std::string_view text) {
    if (!row.words) return WholeNumberIn(text, row.lo, row.hi);
    for (int v = row.lo; v <= row.hi; ++v)
        if (text == row.words[v - row.lo]) return v;
    return std::nullopt;
}

std::string ValueRange(const SettingRow& row) {
    if (!row.words) return std::to_string(row.lo) + " to " + std::to_string(row.hi);
    std::string names = row.words[0];
    for (int v = row.lo + 1; v <= row.hi; ++v) names += std::string(" or ") + row.words[v - row.lo];
    return names;
}

template <typename T>
void Take(std::optional<T>& field, const std::optional<T>& over) {
    if (over) field = over;
}

}  // namespace

void PlayerSettings::Overlay(const PlayerSettings& over) {
    Take(scale, over.scale);
    Take(fullscreen, over.fullscreen);
    Take(musicVolume, over.musicVolume);
    Take(effectVolume, over.effectVolume);
    Take(mute, over.mute);
    Take(english, over.english);
    Take(notices, over.notices);
}

std::optional<int> WholeNumberIn(std::string_view text, int lo, int hi) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < lo || value > hi) return std::nullopt;
    return value;
}

bool SetSetting(PlayerSettings& settings, std::string_view name, std::string_view value, std::string& problem) {
    for (const SettingRow& row : kSettings) {
        if (name != row.name) continue;
        const std::optional<int> number = ValueOf(row, value);
        if (!number) {
            problem = "bad value \"" + std::string(value) + "\" for " + row.name + " (" + ValueRange(row) + ")";
            return false;
        }
        row.store(settings, *number);
        return true;
    }
    problem = "unknown setting \"" + std::string(name) + "\"";
    return false;
}

}  // namespace app
