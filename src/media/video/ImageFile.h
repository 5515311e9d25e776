// Reading a picture file whole, within the size limit of the image decoders.
#pragma once

#include <cstdint>
#include <vector>

namespace media {

enum class ImageFileRead { Ok, Missing, Unreadable, TooLarge };

// Reads a regular file whole into `bytes`. A folder or anything else that is not
// a regular file counts as missing; a file over kMaxImageFileBytes is not read.
ImageFileRead ReadImageFile(const char* path, std::vector<uint8_t>& bytes);

}  // namespace media
