// The screens and the image handles of a kept state (core/MediaKeeping.h):
// the screens' pixels as they are; each image by where it came from (its
// file, its cell, the transparent colour of its load), made again from the file
// when the state is put back, in the slot and with the check value it had.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/core/HandleTable.h"
#include "media/core/MediaState.h"
#include "media/core/StateArchive.h"

namespace media {

struct KeptImage {
    std::string path;
    int32_t x = 0, y = 0, width = 0, height = 0;
    int32_t cell = -1;
    bool keyUsed = false;
    uint32_t keyRgb = 0;
};

struct KeptPictures {
    int32_t screenWidth = 0, screenHeight = 0, bitsPerPixel = 0;
    DrawState draw;
    bool transparentSet = false;
    uint32_t transparentRgb = 0;
    std::string back, front;  // the screens' bytes, row after row
    HandleTable<Image>::Layout layout;
    std::vector<KeptImage> images;  // in the order of layout.live
};

// The screens, the drawing state and the images as they are now.
KeptPictures CapturePictures();
void KeepPictures(StateArchive& archive, KeptPictures& kept);

// The images made again from their files, ready to be put in force.
struct PreparedPictures {
    KeptPictures kept;
    HandleTable<Image> images{HandleType::Image, kImageSlots};
};

// Makes the images again; null with the reason in `reason` when the screen
// mode differs or a file no longer gives the same picture.
std::unique_ptr<PreparedPictures> PreparePictures(KeptPictures kept, std::string& reason);
// Puts the prepared screens, drawing state and images in force (the images there were are freed).
void PutPictures(PreparedPictures& prepared);

}  // namespace media
