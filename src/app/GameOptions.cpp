#include "app/GameOptions.h"

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
};

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptions)
        if (name == row.name || (row.alias && name == row.alias)) return &row;
    return nullptr;
}

}  // namespace

const char* GameUsage() {
    return "usage: anagura [--data DIR]\n"
           "  --data DIR  the folder holding image/, sound/, Data/ and fonts/. Without it: the\n"
           "              working folder when it holds image/, else ../share/games/anagura\n"
           "              beside the program\n"
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
