#include "media/FontTable.h"

#include <new>

#include "media/HandleTable.h"
#include "media/Log.h"
#include "media/MediaAvTexts.h"
#include "media/ShiftJis.h"

namespace media {

namespace {

HandleTable<Font>& Table() {
    static HandleTable<Font>* table = new HandleTable<Font>(HandleType::Font, kMaxFonts);  // lives until exit
    return *table;
}

// One request to the system: the face (empty: the system's default face) with a character set.
std::unique_ptr<Font> TryFont(const std::string& faceSjis, const FontSettings& settings, FontCharSet charSet) {
    FontRequest request;
    request.faceUtf8 = SjisToUtf8(faceSjis);
    request.pixelSize = settings.size;
    request.weight = settings.thickness * 100;
    request.italic = settings.italic;
    request.charSet = charSet;
    const std::optional<FontFile> file = FindFontFile(request);
    if (!file) return nullptr;
    return Font::Open(*file, settings.size);
}

FontCharSet CharSetOf(int charSet) {
    switch (charSet) {
        case 0: return FontCharSet::Any;
        case 2: return FontCharSet::Hangul;
        default: return FontCharSet::ShiftJis;
    }
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
            LogPrintf("%s", texts::kNamedFontFailed);
            return -1;
        }
    } else {
        font = TryFont(texts::kBuiltInFace, checked, CharSetOf(checked.charSet));
        if (!font) font = TryFont(texts::kBuiltInFace, checked, FontCharSet::Any);
        if (!font) font = TryFont(std::string(), checked, FontCharSet::Any);
        if (!font) {
            LogPrintf("%s", texts::kDefaultFontFailed);
            return -1;
        }
    }
    } catch (const std::bad_alloc&) {
        LogPrintf("%s", texts::kFontCacheMemoryFailed);
        return -1;
    }
    const int32_t handle = table.Add(std::move(font));
    if (handle < 0) LogPrintf(texts::kFontLimitExceeded, kMaxFonts);
    return handle;
}

bool DeleteFontHandle(int32_t handle) { return Table().Remove(handle) != nullptr; }

Font* FindFont(int32_t handle) { return Table().Find(handle); }

void DeleteAllFonts() { Table().Clear(); }

int FontCount() { return Table().Count(); }

}  // namespace media
