#include "app/StartKeys.h"

#include <cstdio>
#include <iterator>

#include "app/KeyNames.h"
#include "app/WindowKeys.h"
#include "media/core/Log.h"
#include "media/shell/Shell.h"

namespace app {

namespace {

// The buttons by number, as the player names them to anagura-keys.
constexpr const char* kButtonNames[std::size(kDefaultKeyCodes)] = {"up", "down", "right", "left", "decide", "cancel"};

// Why button `button` of `codes` is never pressed; "" when it can be.
std::string WhyUnpressable(const std::vector<int32_t>& codes, size_t button) {
    if (button >= codes.size()) return "the file holds " + std::to_string(codes.size()) + " codes";
    const int32_t code = codes[button];
    if (code < 1 || code > 255) return "code " + std::to_string(code) + ": no key has it";
    if (const char* use = WindowKeyUse(code)) return std::string(KeyName(code)) + " " + use;
    return {};
}

}  // namespace

void LoadStartKeys(KeyConfig& config, const std::string& path) {
    std::string problem;
    if (LoadKeyConfigFrom(config, path, &problem) == 0) {
        media::SetGameButtonKeys(config.keys);  // gamepads and touch controls press the keys in force
        return;
    }
    media::LogLine("Key file %s %s: the default keys are used (arrows, Z, X)", path.c_str(), problem.c_str());
    std::fprintf(stderr, "anagura: key file %s %s: the default keys are used (arrows, Z, X)\n", path.c_str(),
                 problem.c_str());
    UseStartKeys(config, {std::begin(kDefaultKeyCodes), std::end(kDefaultKeyCodes)});
}

void UseStartKeys(KeyConfig& config, const std::vector<int32_t>& codes) {
    config.keys = codes;
    config.count = static_cast<int32_t>(codes.size());
    media::SetGameButtonKeys(config.keys);
}

std::string UnpressableButtons(const std::vector<int32_t>& codes) {
    std::string list;
    for (size_t button = 0; button < std::size(kButtonNames); ++button) {
        const std::string why = WhyUnpressable(codes, button);
        if (why.empty()) continue;
        if (!list.empty()) list += ", ";
        list += std::string(kButtonNames[button]) + " (" + why + ")";
    }
    return list;
}

void TellUnpressableButtons(const std::string& keyFile, const std::vector<int32_t>& codes) {
    const std::string list = UnpressableButtons(codes);
    if (list.empty()) return;
    const std::string message = keyFile + ": these buttons can never be pressed: " + list +
                                " (anagura-keys changes them; anagura-keys reset gives the default keys)";
    media::LogLine("Key file %s", message.c_str());
    std::fprintf(stderr, "anagura: key file %s\n", message.c_str());
}

}  // namespace app
