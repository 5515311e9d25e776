// Finds font files through fontconfig, with the game's own configuration
// (fonts/fonts.conf in the working folder, which is the data folder) loaded on
// top of the system's. A build without fontconfig (the browser's) answers from
// the fonts it ships instead (ShippedFontFinder.cpp).
#pragma once

#include <optional>
#include <string>

namespace media {

// Which characters a requested font must cover.
enum class FontCharSet { Any = 0, ShiftJis = 1, Hangul = 2 };

struct FontRequest {
    std::string faceUtf8;  // empty: the system's default face
    int pixelSize = 16;    // cell height in pixels
    int weight = 0;        // 100..900 (OpenType scale); 0 = the face's regular weight
    bool italic = false;
    FontCharSet charSet = FontCharSet::ShiftJis;
};

struct FontFile {
    std::string path;
    int index = 0;          // face index inside the file
    std::string family;     // family name fontconfig chose
    bool embolden = false;  // the face lacks the weight asked for: thicken the strokes
    bool japanese = false;  // the face has the Japanese characters

    bool operator==(const FontFile&) const = default;
};

// The font file fontconfig matches for the request, or nothing when no font
// can be found or the match lacks the characters the character set asks for.
std::optional<FontFile> FindFontFile(const FontRequest& request);

// Path of the game's fontconfig configuration that was loaded, empty when none.
std::string LoadedFontConfigPath();

// Starts loading the configuration on a thread of its own; the first lookup
// takes it over (waiting for it if need be). Start-up overlaps the load, which
// reads every font cache of the system, with opening the window.
void LoadFontConfigAhead();

// Frees the fontconfig configuration (a later lookup loads it again).
void ReleaseFontConfig();

}  // namespace media
