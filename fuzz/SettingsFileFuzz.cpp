// The settings file's parser and line rewriter on any bytes: setting one value
// in any text gives a text that reads back with that value and every other
// setting as before, and setting it again changes nothing. The file read by
// name through the real reader gives what the text gives.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/SettingsFile.h"
#include "media/core/Log.h"

namespace {

struct Setting {
    const char* name;
    int lo, hi;
};
const Setting kSettings[] = {
    {"scale", 1, app::kMaxWindowScale}, {"fullscreen", 0, 1}, {"music_volume", 0, 100},
    {"effect_volume", 0, 100},          {"mute", 0, 1},
};

std::optional<int> Value(const app::PlayerSettings& s, std::string_view name) {
    if (name == "scale") return s.scale;
    if (name == "fullscreen") return s.fullscreen ? std::optional<int>(*s.fullscreen) : std::nullopt;
    if (name == "music_volume") return s.musicVolume;
    if (name == "effect_volume") return s.effectVolume;
    return s.mute ? std::optional<int>(*s.mute) : std::nullopt;
}

}  // namespace

// The first byte picks the setting, the second its value; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const Setting& setting = kSettings[data[0] % std::size(kSettings)];
    const int value = setting.lo + data[1] % (setting.hi - setting.lo + 1);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    std::vector<std::string> problems;
    const app::PlayerSettings before = app::ParseSettings(text, problems);
    const std::string written = app::WithSetting(text, setting.name, std::to_string(value));
    std::vector<std::string> problemsAfter;
    const app::PlayerSettings after = app::ParseSettings(written, problemsAfter);

    if (Value(after, setting.name) != value) std::abort();
    for (const Setting& other : kSettings)
        if (other.name != setting.name && Value(after, other.name) != Value(before, other.name)) std::abort();
    if (problemsAfter.size() > problems.size()) std::abort();

    static const int fd = memfd_create("settings.ini", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 ||
        pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size()))
        std::abort();
    const app::PlayerSettings loaded = app::SettingsFile("/proc/self/fd/" + std::to_string(fd)).Load();
    media::LogDiscard();  // the problems told would gather in memory for a log never opened
    for (const Setting& any : kSettings)
        if (Value(loaded, any.name) != Value(before, any.name)) std::abort();
    if (app::WithSetting(written, setting.name, std::to_string(value)) != written) std::abort();
    return 0;
}
