// The MP3 decoder on any bytes.
#include <cstddef>
#include <cstdint>

#include "SoundCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::DecodeSound(media::OpenMp3Decoder, data, size);
    return 0;
}
