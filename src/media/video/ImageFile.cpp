#include "media/video/ImageFile.h"

#include <sys/stat.h>

#include <cstdio>

#include "media/platform/Platform.h"
#include "media/video/ImageDecoder.h"

namespace media {

ImageFileRead ReadImageFile(const char* path, std::vector<uint8_t>& bytes) {
    CurrentPlatform().AwaitDataFile(path);
    struct stat info;
    if (::stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return ImageFileRead::Missing;
    if (info.st_size > kMaxImageFileBytes) return ImageFileRead::TooLarge;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return ImageFileRead::Unreadable;
    bytes.resize(static_cast<size_t>(info.st_size));
    const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    if (got != bytes.size()) return ImageFileRead::Unreadable;
    return ImageFileRead::Ok;
}

}  // namespace media
