// The recorded-game lines on any bytes: what the parser takes, the header
// writer writes back so that the parser reads the same game again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/RecordedGame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    app::RecordedGame game;
    std::string error;
    if (!app::ParseRecordedGame(std::string_view(reinterpret_cast<const char*>(data), size), game, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (!game.recorded) return 0;
    const std::string header =
        app::RecordedGameHeader(game.seed, game.keyCodes.value_or(std::vector<int32_t>{}), game.downAtStart);
    app::RecordedGame again;
    if (!app::ParseRecordedGame(header, again, error)) std::abort();
    if (!again.recorded || again.seed != game.seed || again.downAtStart != game.downAtStart ||
        again.keyCodes.value_or(std::vector<int32_t>{}) != game.keyCodes.value_or(std::vector<int32_t>{}))
        std::abort();
    return 0;
}
