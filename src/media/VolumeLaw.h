// The sound volume law: volume 0..255 to hundredths of a decibel, and the
// amplitude gain a level in hundredths of a decibel gives.
#pragma once

namespace media {

constexpr int kSilenceHundredthsDb = -10000;

// volume > 255 counts as 255; <= 0 is silence (-10000); otherwise
// 1000 x log10(volume / 255) rounded to the nearest integer, not below -10000.
int VolumeToHundredthsDb(int volume);
// 10^(hdB / 2000); 0 for silence (-10000 and below).
float GainOfHundredthsDb(int hundredthsDb);

}  // namespace media
