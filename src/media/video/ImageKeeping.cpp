#include "media/video/ImageKeeping.h"

#include <cstring>
#include <map>
#include <new>

#include "media/core/OperationLock.h"
#include "media/core/TableKeeping.h"
#include "media/video/ImageDecoder.h"
#include "media/video/ImageFile.h"
#include "media/video/Images.h"

namespace media {

namespace {

std::string ScreenBytes(const Surface& screen) {
    if (screen.Empty()) return {};
    return std::string(static_cast<const char*>(screen.Data()),
                       static_cast<size_t>(screen.height) * static_cast<size_t>(screen.Pitch()));
}

void KeepDrawState(StateArchive& archive, DrawState& draw) {
    archive.Value(draw.target);
    archive.Value(draw.blendMode);
    archive.Value(draw.blendParam);
    archive.Value(draw.brightR);
    archive.Value(draw.brightG);
    archive.Value(draw.brightB);
}

// The picture of `path` read and decoded; false when it cannot be.
bool ReadPicture(const std::string& path, DecodedImage& picture) {
    std::vector<uint8_t> bytes;
    try {
        return ReadImageFile(path.c_str(), bytes) == ImageFileRead::Ok &&
               DecodeImage(bytes.data(), bytes.size(), picture) == DecodeResult::Ok;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool CellInside(const KeptImage& image, const DecodedImage& picture) {
    return image.x >= 0 && image.y >= 0 && image.width > 0 && image.height > 0 &&
           int64_t{image.x} + image.width <= picture.width && int64_t{image.y} + image.height <= picture.height;
}

bool DrawStateValid(const DrawState& draw) {
    auto byte = [](int v) { return v >= 0 && v <= 255; };
    return (draw.target == -2 || draw.target == -4) && (draw.blendMode == 0 || draw.blendMode == 1) &&
           byte(draw.blendParam) && byte(draw.brightR) && byte(draw.brightG) && byte(draw.brightB);
}

void PutScreen(Surface& screen, const std::string& bytes) {
    if (!bytes.empty() && bytes.size() == static_cast<size_t>(screen.height) * static_cast<size_t>(screen.Pitch()))
        std::memcpy(screen.Bytes(), bytes.data(), bytes.size());
    screen.pictureId = 0;
}

}  // namespace

KeptPictures CapturePictures() {
    OperationGuard guard;
    MediaState& st = State();
    KeptPictures kept;
    kept.screenWidth = st.screenWidth;
    kept.screenHeight = st.screenHeight;
    kept.bitsPerPixel = st.bitsPerPixel;
    kept.draw = st.draw;
    kept.transparentSet = st.transparentSet;
    kept.transparentRgb = st.transparentRgb;
    kept.back = ScreenBytes(st.Back());
    kept.front = ScreenBytes(st.front);
    kept.layout = st.images.GetLayout();
    st.images.ForEachListed([&kept](int32_t, const Image& image) {
        kept.images.push_back({image.fileName, image.sourceX, image.sourceY, image.width, image.height, image.cell,
                               image.keyUsed, image.keyRgb});
    });
    return kept;
}

void KeepPictures(StateArchive& archive, KeptPictures& kept) {
    archive.Value(kept.screenWidth);
    archive.Value(kept.screenHeight);
    archive.Value(kept.bitsPerPixel);
    KeepDrawState(archive, kept.draw);
    archive.Value(kept.transparentSet);
    archive.Value(kept.transparentRgb);
    constexpr size_t kMaxScreenBytes = size_t{4} * kMaxImagePixels;
    archive.Value(kept.back, kMaxScreenBytes);
    archive.Value(kept.front, kMaxScreenBytes);
    KeepLayout<Image>(archive, kept.layout, kImageSlots);
    kept.images.resize(archive.Count(kept.images.size(), kImageSlots));
    for (KeptImage& image : kept.images) {
        archive.Value(image.path);
        archive.Value(image.x);
        archive.Value(image.y);
        archive.Value(image.width);
        archive.Value(image.height);
        archive.Value(image.cell);
        archive.Value(image.keyUsed);
        archive.Value(image.keyRgb);
    }
}

std::unique_ptr<PreparedPictures> PreparePictures(KeptPictures kept, std::string& reason) {
    const MediaState& st = State();
    if (kept.screenWidth != st.screenWidth || kept.screenHeight != st.screenHeight ||
        kept.bitsPerPixel != st.bitsPerPixel) {
        reason = "it was kept in another screen mode";
        return nullptr;
    }
    if (!DrawStateValid(kept.draw)) {
        reason = "its drawing state is damaged";
        return nullptr;
    }
    const size_t screenBytes = static_cast<size_t>(st.back.height) * static_cast<size_t>(st.back.Pitch());
    if (kept.back.size() != screenBytes || kept.front.size() != screenBytes) {
        reason = "its screens are damaged";
        return nullptr;
    }
    auto prepared = std::make_unique<PreparedPictures>();
    std::map<std::string, DecodedImage> pictures;  // each file read once
    std::vector<std::unique_ptr<Image>> images;
    for (const KeptImage& image : kept.images) {
        auto [it, added] = pictures.try_emplace(image.path);
        if (added && !ReadPicture(image.path, it->second)) {
            reason = "the picture " + image.path + " cannot be read";
            return nullptr;
        }
        if (!CellInside(image, it->second)) {
            reason = "the picture " + image.path + " is not the one it was kept with";
            return nullptr;
        }
        images.push_back(MakeImageKeyed(it->second, image.x, image.y, image.width, image.height, image.path,
                                        image.cell, image.keyUsed, image.keyRgb));
    }
    if (!prepared->images.Rebuild(kept.layout, std::move(images))) {
        reason = "its image handles are damaged";
        return nullptr;
    }
    prepared->kept = std::move(kept);
    return prepared;
}

void PutPictures(PreparedPictures& prepared) {
    OperationGuard guard;
    MediaState& st = State();
    st.ForgetReuse();
    std::swap(st.images, prepared.images);
    st.draw = prepared.kept.draw;
    st.transparentSet = prepared.kept.transparentSet;
    st.transparentRgb = prepared.kept.transparentRgb;
    PutScreen(st.back, prepared.kept.back);
    PutScreen(st.front, prepared.kept.front);
    st.backStale = false;
    prepared.images.Clear();
}

}  // namespace media
