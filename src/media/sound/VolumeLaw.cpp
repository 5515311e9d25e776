#include "media/sound/VolumeLaw.h"

#include <cmath>

#include "media/core/PlayerPrefs.h"

namespace media {

int VolumeToHundredthsDb(int volume) {
    if (volume > 255) volume = 255;
    if (volume <= 0) return kSilenceHundredthsDb;
    const int level = static_cast<int>(std::lround(1000.0 * std::log10(volume / 255.0)));
    return level < kSilenceHundredthsDb ? kSilenceHundredthsDb : level;
}

float GainOfHundredthsDb(int hundredthsDb) {
    if (hundredthsDb <= kSilenceHundredthsDb) return 0.0f;
    if (hundredthsDb >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

int32_t VoiceGainQ16(int hundredthsDb, int playType) {
    return static_cast<int32_t>(
        std::lround(GainOfHundredthsDb(hundredthsDb) * PlayerVolumeGain(playType) * 65536.0f));
}

}  // namespace media
