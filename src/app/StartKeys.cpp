#include "app/StartKeys.h"

#include <cstdio>
#include <iterator>

#include "media/core/Log.h"
#include "media/core/PlayerPrefs.h"

namespace app {

void LoadStartKeys(KeyConfig& config, const std::string& path) {
    std::string problem;
    if (LoadKeyConfigFrom(config, path, &problem) == 0) {
        media::SetPadButtonKeys(config.keys);  // a gamepad presses the keys in force
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
    media::SetPadButtonKeys(config.keys);
}

}  // namespace app
