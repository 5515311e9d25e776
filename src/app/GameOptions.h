// The game's command line. Each option is one row of a table in
// GameOptions.cpp, with its help text: a new option is a new field here and a
// new row there.
#pragma once

#include <cstdint>
#include <string>

#include "app/PlayerSettings.h"

namespace app {

struct GameOptions {
    std::string dataDir;        // --data DIR: the folder holding image/, sound/, Data/, fonts/
    bool help = false;          // --help, -h
    bool version = false;       // --version
    PlayerSettings player;      // --scale, --fullscreen, --window, --music-volume, --effect-volume, --mute, --lang
    std::string recordFile;     // --record FILE: the game's keys, for anagura-replay
    std::string traceFile;      // --trace FILE: the state trace, as anagura-replay writes it
    uint64_t traceEvery = 1;    // --trace-every K: the frames of both traces
    std::string callsFile;      // --calls FILE: the media-layer calls of each traced frame
    bool continueGame = false;  // --continue: go on with the last game
    std::string continueFrom;   // --continue-from FILE: go on with a game saved elsewhere (it becomes the last game)
};

// Parses argv into `options`; false with a message in `error` on a bad command line.
bool ParseGameOptions(int argc, char** argv, GameOptions& options, std::string& error);

// The usage text printed by --help: every option with its help.
std::string GameUsage();

// The program's version, printed by --version.
const char* GameVersion();

}  // namespace app
