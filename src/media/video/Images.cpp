// Image handles: loading (whole or cut into cells), freeing, sizes.
#include <algorithm>
#include <memory>
#include <new>
#include <string>

#include "media/Media.h"
#include "media/video/Images.h"
#include "media/core/Log.h"
#include "media/core/MediaState.h"
#include "media/core/MediaTexts.h"
#include "media/core/OperationLock.h"
#include "media/video/ImageDecoder.h"
#include "media/video/ImageFile.h"
#include "media/video/PictureProblems.h"

namespace media {
namespace {

// A failed load: its log line (`text`, with the path for its %s) and its note for stderr.
bool Failed(const char* text, const char* path, PictureProblem problem) {
    LogPrintf(text, path);
    NotePictureProblem(path, problem);
    return false;
}

// Loads and decodes a picture; logs, notes and returns false on failure.
bool LoadPicture(const char* path, DecodedImage& picture, const char* decodeFailedText) {
    std::vector<uint8_t> bytes;
    DecodeResult result = DecodeResult::Failed;
    try {
        switch (ReadImageFile(path, bytes)) {
            case ImageFileRead::Missing: return Failed(texts::kImageMissing, path, PictureProblem::Missing);
            case ImageFileRead::Unreadable: return Failed(decodeFailedText, path, PictureProblem::Unreadable);
            case ImageFileRead::TooLarge: return Failed(texts::kImageMemoryFailed, path, PictureProblem::TooLarge);
            case ImageFileRead::Ok: break;
        }
        result = DecodeImage(bytes.data(), bytes.size(), picture);
    } catch (const std::bad_alloc&) {
        result = DecodeResult::TooLarge;
    }
    if (result == DecodeResult::TooLarge) return Failed(texts::kImageMemoryFailed, path, PictureProblem::TooLarge);
    if (result != DecodeResult::Ok) return Failed(decodeFailedText, path, PictureProblem::Undecodable);
    return true;
}

// An image of the cell (x, y, w, h) of a picture, in the drawing state now.
std::unique_ptr<Image> MakeImage(const DecodedImage& picture, int x, int y, int w, int h, const char* path,
                                 int cell) {
    const MediaState& st = State();
    return MakeImageKeyed(picture, x, y, w, h, path, cell, st.transparentSet && st.bitsPerPixel != 8,
                          st.transparentRgb);
}

}  // namespace

std::unique_ptr<Image> MakeImageKeyed(const DecodedImage& picture, int x, int y, int w, int h,
                                      const std::string& path, int cell, bool useKey, uint32_t keyRgb) {
    auto image = std::make_unique<Image>();
    image->width = w;
    image->height = h;
    image->fileName = path;
    image->sourceX = x;
    image->sourceY = y;
    image->cell = cell;
    image->keyUsed = useKey;
    image->keyRgb = keyRgb;
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    image->rgb.resize(n);
    image->keyed.resize(n);
    for (int row = 0; row < h; ++row) {
        const uint32_t* src = picture.argb.data() +
                              static_cast<size_t>(y + row) * static_cast<size_t>(picture.width) +
                              static_cast<size_t>(x);
        for (int col = 0; col < w; ++col) {
            const size_t i = static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(col);
            const uint32_t rgb = src[col] & 0xFFFFFF;
            image->rgb[i] = rgb;
            const bool keyed = (useKey && rgb == keyRgb) || (src[col] >> 24) < 0x80;
            image->keyed[i] = keyed ? 1 : 0;
            image->anyKeyed = image->anyKeyed || keyed;
        }
    }
    return image;
}

}  // namespace media

using namespace media;

int op::LoadImageFile(const char* path, int /*flag: ignored*/) {
    OperationGuard guard;
    if (!path) return -1;
    DecodedImage picture;
    if (!LoadPicture(path, picture, texts::kImageLoadFailed)) return -1;
    try {
        State().ForgetReuse();
        const int handle = State().images.Add(MakeImage(picture, 0, 0, picture.width, picture.height, path, -1));
        if (handle < 0) LogPrintf(texts::kImageMemoryFailed, path);
        return handle;
    } catch (const std::bad_alloc&) {
        LogPrintf(texts::kImageMemoryFailed, path);
        return -1;
    }
}

int op::LoadImageDivided(const char* path, int total, int xCount, int yCount, int cellWidth, int cellHeight,
                         int* handlesOut, int /*flag: ignored*/) {
    OperationGuard guard;
    if (total < 1) return 0;
    if (!path || !handlesOut) return -1;
    DecodedImage picture;
    if (!LoadPicture(path, picture, texts::kImageLoadFailedDivided)) return -1;
    // The whole grid must lie inside the picture.
    const bool gridFits = xCount > 0 && yCount > 0 && cellWidth > 0 && cellHeight > 0 &&
                          static_cast<int64_t>(xCount) * cellWidth <= picture.width &&
                          static_cast<int64_t>(yCount) * cellHeight <= picture.height;
    if (!gridFits) {
        LogPrintf("%s", texts::kDivideFailed);
        NotePictureProblem(path, PictureProblem::CannotBeCut);
        return -1;
    }
    MediaState& st = State();
    st.ForgetReuse();
    std::vector<int> made;
    const int64_t cells = std::min<int64_t>(static_cast<int64_t>(xCount) * yCount, total);
    for (int64_t i = 0; i < cells; ++i) {
        const int cx = static_cast<int>(i % xCount), cy = static_cast<int>(i / xCount);
        int handle = -1;
        try {
            handle = st.images.Add(MakeImage(picture, cx * cellWidth, cy * cellHeight, cellWidth, cellHeight, path,
                                             static_cast<int>(i)));
        } catch (const std::bad_alloc&) {
            handle = -1;
        }
        if (handle < 0) {
            for (int h : made) st.images.Remove(h);
            LogPrintf("%s", texts::kDivideFailed);
            return -1;
        }
        made.push_back(handle);
    }
    for (size_t i = 0; i < made.size(); ++i) handlesOut[i] = made[i];
    return 0;
}

int op::DeleteImage(int handle, int logFlag) {
    OperationGuard guard;
    if (State().images.Find(handle)) State().ForgetReuse();
    std::unique_ptr<Image> image = State().images.Remove(handle);
    if (!image) return -1;
    if (logFlag) LogPrintf(texts::kImageDeleted, image->fileName.c_str());
    return 0;
}

int GetImageSize(int handle, int* width, int* height) {
    OperationGuard guard;
    const MediaState& st = State();
    int w = 0, h = 0;
    if (handle == -2 || handle == -4) {
        w = st.screenWidth;
        h = st.screenHeight;
    } else {
        const Image* image = st.images.Find(handle);
        if (!image) return -1;
        w = image->width;
        h = image->height;
    }
    if (width) *width = w;
    if (height) *height = h;
    return 0;
}
