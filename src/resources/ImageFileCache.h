// Image handles keyed by file name ("Number.png") or by file name + cell number
// ("Number.png3"). Failed loads are remembered with -1.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class ImageFileCache {
public:
    // Loads "image/" + name once.
    void LoadImage(const char* name);
    // Loads "image/" + name cut into cols x rows cells once (unless loaded whole).
    void LoadCells(const char* name, unsigned cols, unsigned rows);
    // The handle stored under key, or 0 when absent.
    int32_t GetHandle(const char* key) const;
    // Frees every image and empties the map.
    void ReleaseAll();

    std::map<std::string, int32_t> m_handles;
};
