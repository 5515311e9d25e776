// Reads a window dump written by xwd(1): a true-colour picture in Z format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace shotmatch {

struct WindowPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB, top row first
};

// False with a reason in `error` when the file cannot be read or holds another kind of picture.
bool ReadXwd(const std::string& path, WindowPicture& picture, std::string& error);

}  // namespace shotmatch
