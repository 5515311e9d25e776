#include "replay/Options.h"

#include <cstring>

#include "app/UnsignedNumber.h"

namespace replay {

using app::ParseUnsigned;

const char* Usage() {
    return "usage: anagura-replay [--data DIR] [--seed S] [--input FILE] [--frames N]\n"
           "                      [--trace FILE] [--calls FILE] [--trace-every K]\n"
           "                      [--screenshots DIR [--shot-every K]] [--audio-out FILE.wav]\n"
           "                      [--lang en|ja] [--write-last-game FILE] [--keep-state-every K]\n"
           "Runs the game headless with a virtual clock, feeding the keys of the input script.\n"
           "A game recorded by anagura --record plays with its own seed, keys and length.\n";
}

bool ParseOptions(int argc, char** argv, Options& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            o.help = true;
            continue;
        }
        const bool known = name == "--data" || name == "--seed" || name == "--input" || name == "--frames" ||
                           name == "--trace" || name == "--trace-every" || name == "--calls" ||
                           name == "--screenshots" || name == "--shot-every" || name == "--audio-out" ||
                           name == "--lang" || name == "--keep-state-every" || name == "--write-last-game";
        if (!known) {
            error = "unknown option \"" + name + "\"";
            return false;
        }
        if (i + 1 >= argc) {
            error = name + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        bool ok = true;
        if (name == "--data") {
            o.dataDir = value;
        } else if (name == "--seed") {
            uint32_t seed = 0;
            ok = ParseUnsigned(value, seed);
            if (ok) o.seed = seed;
        } else if (name == "--input") {
            o.inputFile = value;
        } else if (name == "--frames") {
            uint64_t frames = 0;
            ok = ParseUnsigned(value, frames);
            if (ok) o.frames = frames;
        } else if (name == "--trace") {
            o.traceFile = value;
        } else if (name == "--calls") {
            o.callsFile = value;
        } else if (name == "--trace-every") {
            ok = ParseUnsigned(value, o.traceEvery) && o.traceEvery > 0;
        } else if (name == "--screenshots") {
            o.screenshotDir = value;
        } else if (name == "--shot-every") {
            ok = ParseUnsigned(value, o.shotEvery) && o.shotEvery > 0;
        } else if (name == "--audio-out") {
            o.audioFile = value;
        } else if (name == "--write-last-game") {
            o.lastGameFile = value;
        } else if (name == "--keep-state-every") {
            ok = ParseUnsigned(value, o.keepStateEvery) && o.keepStateEvery > 0;
        } else if (name == "--lang") {
            o.english = std::strcmp(value, "en") == 0;
            ok = o.english || std::strcmp(value, "ja") == 0;
        }
        if (!ok || (*value == '\0')) {
            error = "bad value \"" + std::string(value) + "\" for " + name;
            return false;
        }
    }
    return true;
}

}  // namespace replay
