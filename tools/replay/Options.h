// Command-line options of anagura-replay.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace replay {

struct Options {
    std::string dataDir;             // becomes the working folder when set
    std::optional<uint32_t> seed;    // random seed in place of the clock
    std::string inputFile;           // input script; none: no key is ever down
    std::optional<uint64_t> frames;  // stop after this frame
    std::string traceFile;           // JSON Lines trace
    uint64_t traceEvery = 1;         // also selects the frames of the call trace
    std::string callsFile;           // JSON Lines of the media-layer calls
    std::string screenshotDir;       // PNG screenshots
    uint64_t shotEvery = 1;
    std::string audioFile;        // WAV of the mixed output
    bool english = false;         // --lang en: the game's words in English
    std::string lastGameFile;     // --write-last-game: the game kept after the last frame, as the game keeps it
    uint64_t keepStateEvery = 0;  // after every K-th frame the run's state is kept and put back (0: never)
    bool help = false;
};

// Parses argv; false with a message in `error` on a bad command line.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);

const char* Usage();

}  // namespace replay
