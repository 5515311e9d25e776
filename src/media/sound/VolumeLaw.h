// The sound volume law: volume 0..255 to hundredths of a decibel, and the
// amplitude gain a level in hundredths of a decibel gives.
#pragma once

#include <cstdint>

namespace media {

constexpr int kSilenceHundredthsDb = -10000;

// volume > 255 counts as 255; <= 0 is silence (-10000); otherwise
// 1000 x log10(volume / 255) rounded to the nearest integer, not below -10000.
int VolumeToHundredthsDb(int volume);
// 10^(hdB / 2000); 0 for silence (-10000 and below).
float GainOfHundredthsDb(int hundredthsDb);
// The mixer gain (65536 = 1.0) of a sound at that level played with `playType`,
// with the player's volume for music or effects on top (PlayerPrefs).
int32_t VoiceGainQ16(int hundredthsDb, int playType);

}  // namespace media
