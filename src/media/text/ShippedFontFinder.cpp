// The font finder of a build without fontconfig (the browser's): the game's
// text is drawn at 8 pixels with Misaki Gothic, which such a build ships in the
// data folder's fonts/. Every request is answered with that face, as the game's
// fontconfig configuration answers the 8-pixel gothic face on the desktop; a
// bold request thickens its strokes, as fontconfig's synthetic emboldening does.
#include <sys/stat.h>

#include <cstdlib>

#include "media/text/FontFinder.h"

namespace media {

namespace {

constexpr const char* kShippedFont = "misaki_gothic.ttf";
constexpr const char* kShippedFamily = "Misaki Gothic";
constexpr int kMediumWeight = 500;  // OpenType scale; heavier asks are emboldened

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The data folder's fonts/ (the working folder is the data folder), then the
// folder the program names in ANAGURA_FONTS (the node replay tool: the fonts
// of the web folder it lies in).
std::string ShippedFontPath() {
    const std::string inData = std::string("fonts/") + kShippedFont;
    if (FileExists(inData)) return inData;
    const char* folder = std::getenv("ANAGURA_FONTS");
    if (folder && *folder) {
        const std::string beside = std::string(folder) + "/" + kShippedFont;
        if (FileExists(beside)) return beside;
    }
    return {};
}

}  // namespace

std::optional<FontFile> FindFontFile(const FontRequest& request) {
    FontFile font;
    font.path = ShippedFontPath();
    if (font.path.empty()) return std::nullopt;
    font.family = kShippedFamily;
    font.japanese = true;  // Misaki covers JIS X 0208
    font.embolden = request.weight > kMediumWeight;
    return font;
}

std::string LoadedFontConfigPath() { return {}; }

void LoadFontConfigAhead() {}

void ReleaseFontConfig() {}

}  // namespace media
