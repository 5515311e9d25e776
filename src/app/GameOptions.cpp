#include "app/GameOptions.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace app {

namespace {

struct OptionRow {
    const char* name;
    const char* alias;  // nullptr when none
    bool takesValue;
    // Stores the option; false when the value is not acceptable.
    bool (*apply)(GameOptions& options, const char* value);
};

const OptionRow kOptions[] = {
    {"--data", nullptr, true,
     [](GameOptions& o, const char* value) {
         o.dataDir = value;
         return !o.dataDir.empty();
     }},
    {"--help", "-h", false,
     [](GameOptions& o, const char*) {
         o.help = true;
         return true;
     }},
    {"--record", nullptr, true,
     [](GameOptions& o, const char* value) {
         o.recordFile = value;
         return !o.recordFile.empty();
     }},
    {"--trace", nullptr, true,
     [](GameOptions& o, const char* value) {
         o.traceFile = value;
         return !o.traceFile.empty();
     }},
    {"--trace-every", nullptr, true,
     [](GameOptions& o, const char* value) {
         const char* end = value + std::strlen(value);
         const bool digits = *value >= '0' && *value <= '9';
         return digits && std::from_chars(value, end, o.traceEvery).ptr == end && o.traceEvery > 0;
     }},
    {"--calls", nullptr, true,
     [](GameOptions& o, const char* value) {
         o.callsFile = value;
         return !o.callsFile.empty();
     }},
};

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptions)
        if (name == row.name || (row.alias && name == row.alias)) return &row;
    return nullptr;
}

}  // namespace

const char* GameUsage() {
    return "usage: anagura [OPTION]...\n"
           "  --data DIR  the folder holding image/, sound/, Data/ and fonts/. Without it: the\n"
           "              working folder when it holds image/, else ../share/games/anagura\n"
           "              beside the program\n"
           "  --record FILE     records the game (its seed, keys and key presses) for anagura-replay\n"
           "  --trace FILE      writes the game's state after each frame (JSON Lines, as anagura-replay)\n"
           "  --trace-every K   traces only the frames f with f % K == 0, and the last (default 1)\n"
           "  --calls FILE      writes the media-layer calls of each traced frame (JSON Lines)\n"
           "  --help      this text\n";
}

bool ParseGameOptions(int argc, char** argv, GameOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        const OptionRow* row = FindOption(name);
        if (!row) {
            error = "unknown option \"" + std::string(name) + "\"";
            return false;
        }
        if (row->takesValue && i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return false;
        }
        const char* value = row->takesValue ? argv[++i] : "";
        if (!row->apply(options, value)) {
            error = "bad value \"" + std::string(value) + "\" for " + std::string(name);
            return false;
        }
    }
    return true;
}

}  // namespace app
