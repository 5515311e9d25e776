// The PNG decoder on any bytes.
#include <cstddef>
#include <cstdint>

#include "ImageCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    media::DecodedImage image;
    fuzz::CheckDecodedImage(media::DecodePng(data, size, image), image);
    return 0;
}
