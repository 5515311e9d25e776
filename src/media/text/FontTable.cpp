#include "media/text/FontTable.h"

#include <cstdio>
#include <map>
#include <new>
#include <optional>
#include <vector>

#include "media/core/HandleTable.h"
#include "media/core/Log.h"
#include "media/core/MediaAvTexts.h"
#include "media/text/ShiftJis.h"

namespace media {

namespace {

// Fonts freed lately, kept with their glyphs: the game switches between a few
// sizes all the time, and a font made again from the same file and size takes
// one of these instead of opening and rendering everything anew.
constexpr size_t kSpareFonts = 8;

struct FontTableState {
    HandleTable<Font> table{HandleType::Font, kMaxFonts};
    std::vector<std::unique_ptr<Font>> spare;                // oldest first
    std::map<std::string, std::optional<FontFile>> lookups;  // fontconfig's answers
};

FontTableState& State() {
    static FontTableState* state = new FontTableState();  // lives until process exit
    return *state;
}

HandleTable<Font>& Table() { return State().table; }

std::optional<FontFile> Lookup(const FontRequest& request) {
    const std::string key = request.faceUtf8 + '\n' + std::to_string(request.pixelSize) + ',' +
                            std::to_string(request.weight) + ',' + std::to_string(request.italic) + ',' +
                            std::to_string(static_cast<int>(request.charSet));
    auto& lookups = State().lookups;
    auto it = lookups.find(key);
    if (it == lookups.end()) it = lookups.emplace(key, FindFontFile(request)).first;
    return it->second;
}

// One request to the system: the face (empty: the system's default face) with a character set.
std::unique_ptr<Font> TryFont(const std::string& faceSjis, const FontSettings& settings, FontCharSet charSet) {
    FontRequest request;
    request.faceUtf8 = SjisToUtf8(faceSjis);
    request.pixelSize = settings.size;
    request.weight = settings.thickness * 100;
    request.italic = settings.italic;
    request.charSet = charSet;
    const std::optional<FontFile> file = Lookup(request);
    if (!file) return nullptr;
    auto& spare = State().spare;
    for (auto it = spare.begin(); it != spare.end(); ++it) {
        if ((*it)->CellHeight() == settings.size && (*it)->File() == *file) {
            std::unique_ptr<Font> font = std::move(*it);
            spare.erase(it);
            return font;
        }
    }
    return Font::Open(*file, settings.size);
}

FontCharSet CharSetOf(int charSet) {
    switch (charSet) {
        case 0: return FontCharSet::Any;
        case 2: return FontCharSet::Hangul;
        default: return FontCharSet::ShiftJis;
    }
}

// Text in a face without the Japanese characters shows boxes, and without a
// face nothing at all: the player is told why, once.
void TellWhenNotJapanese(const Font* font, int charSet) {
    static bool told = false;
    if (told || CharSetOf(charSet) == FontCharSet::Hangul || (font && font->File().japanese)) return;
    told = true;
    const char* why = "no font with Japanese characters was found: the text shows as boxes or not at all";
    const char* remedy = "install fonts-misaki and fonts-ipafont-gothic";
    LogLine("Fonts: %s (%s)", why, remedy);
    std::fprintf(stderr, "anagura: %s (%s)\n", why, remedy);
}

}  // namespace

int32_t CreateFontHandle(const FontSettings& settings) {
    HandleTable<Font>& table = Table();
    if (table.Count() >= table.Capacity()) {
        LogPrintf(texts::kFontLimitExceeded, kMaxFonts);
        return -1;
    }
    FontSettings checked = settings;
    if (checked.size < 1) checked.size = 1;
    std::unique_ptr<Font> font;
    try {
        if (!checked.face.empty()) {
            font = TryFont(checked.face, checked, CharSetOf(checked.charSet));
            if (!font) font = TryFont(checked.face, checked, FontCharSet::Any);
            if (!font) font = TryFont(checked.face, checked, FontCharSet::ShiftJis);
            if (!font) {
                TellWhenNotJapanese(nullptr, checked.charSet);
                LogPrintf("%s", texts::kNamedFontFailed);
                return -1;
            }
        } else {
            font = TryFont(texts::kBuiltInFace, checked, CharSetOf(checked.charSet));
            if (!font) font = TryFont(texts::kBuiltInFace, checked, FontCharSet::Any);
            if (!font) font = TryFont(std::string(), checked, FontCharSet::Any);
            if (!font) {
                TellWhenNotJapanese(nullptr, checked.charSet);
                LogPrintf("%s", texts::kDefaultFontFailed);
                return -1;
            }
        }
    } catch (const std::bad_alloc&) {
        LogPrintf("%s", texts::kFontCacheMemoryFailed);
        return -1;
    }
    TellWhenNotJapanese(font.get(), checked.charSet);
    const int32_t handle = table.Add(std::move(font));
    if (handle < 0) LogPrintf(texts::kFontLimitExceeded, kMaxFonts);
    return handle;
}

bool DeleteFontHandle(int32_t handle) {
    std::unique_ptr<Font> font = Table().Remove(handle);
    if (!font) return false;
    auto& spare = State().spare;
    spare.push_back(std::move(font));
    if (spare.size() > kSpareFonts) spare.erase(spare.begin());
    return true;
}

Font* FindFont(int32_t handle) { return Table().Find(handle); }

void DeleteAllFonts() {
    FontTableState& state = State();
    state.table.Clear();
    state.spare.clear();
    state.lookups.clear();
}

int FontCount() { return Table().Count(); }

}  // namespace media
