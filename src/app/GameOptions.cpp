#include "app/GameOptions.h"

#include <algorithm>
#include <string_view>

#include "app/UnsignedNumber.h"

namespace app {

namespace {

struct OptionRow {
    const char* name;
    const char* alias;  // nullptr when none
    const char* value;  // the value's name in the usage text; nullptr when it takes none
    const char* help;   // lines of the usage text, separated by "\n"
    // Stores the option; false when the value is not acceptable.
    bool (*apply)(GameOptions& options, const char* value);
};

// Stores a setting given on the command line as the settings file would.
bool Setting(GameOptions& options, std::string_view name, std::string_view value) {
    std::string problem;
    return SetSetting(options.player, name, value, problem);
}

const OptionRow kOptions[] = {
    {"--data", nullptr, "DIR",
     "the folder holding image/, sound/, Data/ and fonts/.\n"
     "Without it: the working folder when it holds image/,\n"
     "else ../share/games/anagura beside the program",
     [](GameOptions& o, const char* value) {
         o.dataDir = value;
         return !o.dataDir.empty();
     }},
    {"--continue", nullptr, nullptr, "go on with the last game where it was left",
     [](GameOptions& o, const char*) {
         o.continueGame = true;
         return true;
     }},
    {"--continue-from", nullptr, "FILE",
     "go on with the game saved in FILE (a last-game.txt saved\nelsewhere): it becomes the last game",
     [](GameOptions& o, const char* value) {
         o.continueFrom = value;
         return !o.continueFrom.empty();
     }},
    {"--scale", nullptr, "N", "start with the window N times 160 x 120 (1 to 8)",
     [](GameOptions& o, const char* value) { return Setting(o, "scale", value); }},
    {"--fullscreen", nullptr, nullptr, "start in fullscreen (F11 or Alt+Enter switches)",
     [](GameOptions& o, const char*) { return Setting(o, "fullscreen", "1"); }},
    {"--window", nullptr, nullptr, "start in a window",
     [](GameOptions& o, const char*) { return Setting(o, "fullscreen", "0"); }},
    {"--music-volume", nullptr, "N", "music volume, 0 to 100 (100: as the game plays it)",
     [](GameOptions& o, const char* value) { return Setting(o, "music_volume", value); }},
    {"--effect-volume", nullptr, "N", "sound effect volume, 0 to 100",
     [](GameOptions& o, const char* value) { return Setting(o, "effect_volume", value); }},
    {"--mute", nullptr, nullptr, "no sound", [](GameOptions& o, const char*) { return Setting(o, "mute", "1"); }},
    {"--lang", nullptr, "en|ja", "the language of the game's words (default ja)",
     [](GameOptions& o, const char* value) { return Setting(o, "language", value); }},
    {"--record", nullptr, "FILE", "record the game (its seed, keys and key presses)\nfor anagura-replay",
     [](GameOptions& o, const char* value) {
         o.recordFile = value;
         return !o.recordFile.empty();
     }},
    {"--trace", nullptr, "FILE", "write the game's state after each frame (JSON Lines,\nas anagura-replay does)",
     [](GameOptions& o, const char* value) {
         o.traceFile = value;
         return !o.traceFile.empty();
     }},
    {"--trace-every", nullptr, "K", "trace only the frames f with f % K == 0, and the\nlast (default 1)",
     [](GameOptions& o, const char* value) { return ParseUnsigned(value, o.traceEvery) && o.traceEvery > 0; }},
    {"--calls", nullptr, "FILE", "write the media-layer calls of each traced frame\n(JSON Lines)",
     [](GameOptions& o, const char* value) {
         o.callsFile = value;
         return !o.callsFile.empty();
     }},
    {"--version", nullptr, nullptr, "print the version",
     [](GameOptions& o, const char*) {
         o.version = true;
         return true;
     }},
    {"--help", "-h", nullptr, "this text",
     [](GameOptions& o, const char*) {
         o.help = true;
         return true;
     }},
};

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptions)
        if (name == row.name || (row.alias && name == row.alias)) return &row;
    return nullptr;
}

std::string Synopsis(const OptionRow& row) {
    std::string text = row.name;
    if (row.alias) text += std::string(", ") + row.alias;
    if (row.value) text += std::string(" ") + row.value;
    return text;
}

}  // namespace

std::string GameUsage() {
    size_t column = 0;
    for (const OptionRow& row : kOptions) column = std::max(column, Synopsis(row).size());
    column += 4;
    std::string usage = "usage: anagura [OPTION...]\n";
    for (const OptionRow& row : kOptions) {
        std::string line = "  " + Synopsis(row);
        std::string_view help = row.help;
        while (!help.empty()) {
            const size_t end = std::min(help.find('\n'), help.size());
            line.resize(column, ' ');
            usage += line;
            usage.append(help.substr(0, end));
            usage += '\n';
            line.clear();
            help.remove_prefix(std::min(end + 1, help.size()));
        }
    }
    usage +=
        "Settings: settings.ini in $XDG_CONFIG_HOME/anagura (default ~/.config/anagura);\n"
        "the window, sound and language options win over it.\n";
    return usage;
}

const char* GameVersion() { return ANAGURA_VERSION; }

bool ParseGameOptions(int argc, char** argv, GameOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        const OptionRow* row = FindOption(name);
        if (!row) {
            error = "unknown option \"" + std::string(name) + "\"";
            return false;
        }
        if (row->value && i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return false;
        }
        const char* value = row->value ? argv[++i] : "";
        if (!row->apply(options, value)) {
            error = "bad value \"" + std::string(value) + "\" for " + std::string(name);
            return false;
        }
    }
    if ((options.continueGame || !options.continueFrom.empty()) && !options.recordFile.empty()) {
        error = "--continue records into the last game itself: it does not go with --record";
        return false;
    }
    return true;
}

}  // namespace app
