// The last game read back on any bytes: a refusal gives its reason, and a game
// that can be continued is written out to go on with and reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/LastGame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string stamp = "# version 1\n# data 0123\n";
    const std::vector<int32_t> keys = {200, 208, 205, 203, 44, 45};
    app::ContinuedGame game;
    std::string reason;
    const app::LastGameRead read = app::ParseLastGame(bytes, stamp, keys, game, reason);
    if (read == app::LastGameRead::Bad && reason.empty()) std::abort();
    if (read != app::LastGameRead::Continue) return 0;
    app::ContinuedGame again;
    if (app::ParseLastGame(app::ContinuedRecording(game, stamp), stamp, keys, again, reason) !=
        app::LastGameRead::Continue)
        std::abort();
    if (again.frames != game.frames || again.header.seed != game.header.seed ||
        again.header.downAtStart != game.header.downAtStart)
        std::abort();
    for (size_t i = 0; i < game.changes.size(); ++i)
        if (again.changes[i].frame != game.changes[i].frame || again.changes[i].codes != game.changes[i].codes)
            std::abort();
    return 0;
}
