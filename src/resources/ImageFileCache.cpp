#include "resources/ImageFileCache.h"

#include <algorithm>
#include <string>
#include <vector>

#include "media/Media.h"

namespace {

// More cells than this are refused outright (no sheet of the game comes near).
constexpr uint64_t kMaxCells = 65536;

std::string ImagePath(const char* name) { return std::string("image/") + name; }

}  // namespace

void ImageFileCache::LoadImage(const char* name) {
    if (name == nullptr) return;
    if (m_handles.count(name) != 0) return;
    // A failed load is remembered as -1 and not retried.
    m_handles[name] = LoadImageFile(ImagePath(name).c_str(), 0);
}

void ImageFileCache::LoadCells(const char* name, unsigned cols, unsigned rows) {
    if (name == nullptr || cols == 0 || rows == 0) return;
    const std::string key(name);
    // A file already loaded whole is not loaded again as cells.
    if (m_handles.count(key) != 0 || m_handles.count(key + "0") != 0) return;

    const uint64_t count = uint64_t{cols} * rows;
    if (count > kMaxCells) return;

    const std::string path = ImagePath(name);
    // Every cell is -1 unless the sheet is cut successfully.
    std::vector<int> cells(static_cast<size_t>(count), -1);
    const int probe = LoadImageFile(path.c_str(), 0);
    if (probe != -1) {
        int width = 0;
        int height = 0;
        GetImageSize(probe, &width, &height);
        DeleteImage(probe, 0);
        // A sheet smaller than its grid gives cells of size 0: the cut is still
        // asked for, and the media layer refuses it (with its log line).
        const int cellW = static_cast<int>(static_cast<unsigned>(std::max(width, 0)) / cols);
        const int cellH = static_cast<int>(static_cast<unsigned>(std::max(height, 0)) / rows);
        LoadImageDivided(path.c_str(), static_cast<int>(count), static_cast<int>(cols), static_cast<int>(rows), cellW,
                         cellH, cells.data(), 0);
    }
    for (size_t i = 0; i < cells.size(); ++i) m_handles[key + std::to_string(i)] = cells[i];
}

int32_t ImageFileCache::GetHandle(const char* key) const {
    if (key == nullptr) return 0;
    const auto it = m_handles.find(key);
    return it == m_handles.end() ? 0 : it->second;
}

void ImageFileCache::ReleaseAll() {
    // Failed entries (-1) too: the media layer refuses them.
    for (const auto& [key, handle] : m_handles) DeleteImage(handle, 0);
    m_handles.clear();
}
