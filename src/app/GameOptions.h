// The game's command line. Each option is one row of a table in
// GameOptions.cpp: a new option is a new field here and a new row there.
#pragma once

#include <string>

namespace app {

struct GameOptions {
    std::string dataDir;  // --data DIR: the folder holding image/, sound/, Data/, fonts/
    bool help = false;    // --help, -h
};

// Parses argv into `options`; false with a message in `error` on a bad command line.
bool ParseGameOptions(int argc, char** argv, GameOptions& options, std::string& error);

// The usage text printed by --help.
const char* GameUsage();

}  // namespace app
