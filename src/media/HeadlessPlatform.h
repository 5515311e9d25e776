// Internal side of the headless platform, for the other parts of the media layer.
#pragma once

#include <cstdint>

namespace media::headless {

// Runs the audio callback the media layer gave OpenAudio for `frames` stereo
// frames. False (out untouched) when no audio device is open.
bool CallAudioCallback(int16_t* out, int frames);

}  // namespace media::headless
