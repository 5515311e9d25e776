// The game's and the replay tool's command lines on any words (the bytes split
// at NUL): a refused command line always says why, a taken one holds only the
// values the options allow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/GameOptions.h"
#include "replay/Options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words{"program"};
    std::string word;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] != 0) word += static_cast<char>(data[i]);
        else words.push_back(std::move(word)), word.clear();
    }
    words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    std::string error;
    app::GameOptions game;
    if (!app::ParseGameOptions(argc, argv.data(), game, error) && error.empty()) std::abort();
    if (game.player.scale && (*game.player.scale < 1 || *game.player.scale > app::kMaxWindowScale)) std::abort();
    error.clear();
    replay::Options replay;
    if (!replay::ParseOptions(argc, argv.data(), replay, error)) {
        if (error.empty()) std::abort();
    } else if (replay.traceEvery == 0 || replay.shotEvery == 0) {
        std::abort();
    }
    return 0;
}
