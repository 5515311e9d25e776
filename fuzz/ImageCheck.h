// What every image decoder promises for a picture it accepts, on any bytes.
#pragma once

#include <cstdlib>

#include "media/video/ImageDecoder.h"

namespace fuzz {

inline void CheckDecodedImage(media::DecodeResult result, const media::DecodedImage& image) {
    if (result != media::DecodeResult::Ok) return;
    if (!media::ImageSizeAcceptable(image.width, image.height)) std::abort();
    if (image.argb.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) std::abort();
}

}  // namespace fuzz
