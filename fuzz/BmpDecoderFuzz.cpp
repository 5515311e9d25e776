// The BMP decoder on any bytes.
#include <cstddef>
#include <cstdint>

#include "ImageCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    media::DecodedImage image;
    fuzz::CheckDecodedImage(media::DecodeBmp(data, size, image), image);
    return 0;
}
