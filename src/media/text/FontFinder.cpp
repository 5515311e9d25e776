#include "media/text/FontFinder.h"

#include <fontconfig/fontconfig.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <future>

namespace media {

namespace {

struct LoadedConfig {
    FcConfig* config = nullptr;
    std::string path;  // the game's configuration loaded on top, empty when none
};

struct FinderState {
    FcConfig* config = nullptr;
    std::string configPath;
    std::future<LoadedConfig> ahead;  // a load under way on a thread of its own
};

FinderState& State() {
    static FinderState* state = new FinderState();  // lives until process exit
    return *state;
}

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The game's configuration lies beside the data folders, in the data folder
// that the game runs in.
std::string FindGameConfig() {
    const char* candidate = "fonts/fonts.conf";
    if (!FileExists(candidate)) return {};
    // fontconfig resolves a relative name against its own folder: hand it an absolute one.
    char* absolute = realpath(candidate, nullptr);
    if (!absolute) return {};
    std::string path(absolute);
    std::free(absolute);
    return path;
}

// The system's configuration with the game's on top. Touches no shared state.
LoadedConfig LoadConfig() {
    LoadedConfig loaded;
    FcConfig* config = FcInitLoadConfig();
    if (!config) return loaded;
    const std::string path = FindGameConfig();
    if (!path.empty() && FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(path.c_str()), FcFalse))
        loaded.path = path;
    if (!FcConfigBuildFonts(config)) {
        FcConfigDestroy(config);
        return loaded;
    }
    loaded.config = config;
    return loaded;
}

// Takes over a load made ahead, once it is done.
void TakeLoadAhead(FinderState& state) {
    if (!state.ahead.valid()) return;
    LoadedConfig loaded = state.ahead.get();
    if (state.config) {
        if (loaded.config) FcConfigDestroy(loaded.config);
        return;
    }
    state.config = loaded.config;
    state.configPath = loaded.config ? loaded.path : std::string();
}

FcConfig* Config() {
    FinderState& state = State();
    TakeLoadAhead(state);
    if (state.config) return state.config;
    LoadedConfig loaded = LoadConfig();
    state.config = loaded.config;
    state.configPath = loaded.config ? loaded.path : std::string();
    return state.config;
}

// Characters a font must have to count as covering the character set.
bool CoversCharSet(FcPattern* match, FontCharSet charSet) {
    if (charSet == FontCharSet::Any) return true;
    FcCharSet* chars = nullptr;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) != FcResultMatch || !chars) return false;
    static const FcChar32 kJapanese[] = {0x3042, 0x30A2, 0x65E5, 0xFF01};
    static const FcChar32 kHangul[] = {0xAC00, 0xD55C};
    if (charSet == FontCharSet::ShiftJis) {
        for (FcChar32 c : kJapanese)
            if (!FcCharSetHasChar(chars, c)) return false;
    } else {
        for (FcChar32 c : kHangul)
            if (!FcCharSetHasChar(chars, c)) return false;
    }
    return true;
}

}  // namespace

std::optional<FontFile> FindFontFile(const FontRequest& request) {
    FcConfig* config = Config();
    if (!config) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return std::nullopt;
    if (!request.faceUtf8.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.faceUtf8.c_str()));
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, request.pixelSize);
    if (request.weight > 0) FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(request.weight));
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    // The game's text is Japanese whatever the character set says; prefer faces that have it.
    FcPatternAddString(pattern, FC_LANG,
                       reinterpret_cast<const FcChar8*>(request.charSet == FontCharSet::Hangul ? "ko" : "ja"));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;

    std::optional<FontFile> found;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file &&
        CoversCharSet(match, request.charSet)) {
        FontFile font;
        font.path = reinterpret_cast<const char*>(file);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) font.index = index;
        FcChar8* family = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
            font.family = reinterpret_cast<const char*>(family);
        FcBool embolden = FcFalse;
        if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) font.embolden = embolden;
        font.japanese = CoversCharSet(match, FontCharSet::ShiftJis);
        found = font;
    }
    FcPatternDestroy(match);
    return found;
}

std::string LoadedFontConfigPath() {
    Config();
    return State().configPath;
}

void LoadFontConfigAhead() {
    FinderState& state = State();
    if (state.config || state.ahead.valid()) return;
    state.ahead = std::async(std::launch::async, [] {
        // Below the game thread and the display server, whose work to show the
        // window it would otherwise delay on a busy machine (Linux: per thread).
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
        return LoadConfig();
    });
}

void ReleaseFontConfig() {
    FinderState& state = State();
    TakeLoadAhead(state);
    if (state.config) FcConfigDestroy(state.config);
    state.config = nullptr;
    state.configPath.clear();
}

}  // namespace media
