// The font handles: at most 40 fonts alive at once, each made from face, size,
// thickness and character set through fontconfig with the fall-back tries.
#pragma once

#include <cstdint>
#include <string>

#include "media/text/Font.h"

namespace media {

constexpr int kMaxFonts = 40;

// What a font is made from.
struct FontSettings {
    std::string face;   // Shift-JIS face name; empty = the built-in face
    int size = 16;      // cell height in pixels
    int thickness = 6;  // 0..9; weight = thickness x 100
    int charSet = 1;    // 0 any, 1 Shift-JIS, 2 Hangul
    int type = 0;       // plain glyphs
    int edgeSize = 1;
    bool italic = false;

    bool operator==(const FontSettings&) const = default;
};

// Makes a font; its handle, or -1 (logged) when the limit is reached or no try gives a font.
int32_t CreateFontHandle(const FontSettings& settings);
// Frees a font. False for a bad handle.
bool DeleteFontHandle(int32_t handle);
// The font a handle names, or null.
Font* FindFont(int32_t handle);
// Frees every font.
void DeleteAllFonts();
// Number of fonts alive.
int FontCount();

}  // namespace media
