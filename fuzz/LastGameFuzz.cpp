// The last game read back on any bytes: a refusal gives its reason, and a game
// that can be continued (never longer than the most frames a game may hold) is
// written out to go on with and reads back the same, its changes of the key
// codes too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/LastGame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string stamp = "# version 1\n# data 0123\n";
    app::ContinuedGame game;
    std::string reason;
    const app::LastGameRead read = app::ParseLastGame(bytes, stamp, game, reason);
    if (read == app::LastGameRead::Bad && reason.empty()) std::abort();
    if (read != app::LastGameRead::Continue) return 0;
    app::ContinuedGame again;
    if (app::ParseLastGame(app::ContinuedRecording(game, stamp), stamp, again, reason) != app::LastGameRead::Continue)
        std::abort();
    if (again.frames != game.frames || again.header.seed != game.header.seed ||
        again.header.downAtStart != game.header.downAtStart ||
        again.header.keyChanges.size() != game.header.keyChanges.size())
        std::abort();
    for (size_t i = 0; i < game.header.keyChanges.size(); ++i)
        if (again.header.keyChanges[i].frame != game.header.keyChanges[i].frame ||
            again.header.keyChanges[i].codes != game.header.keyChanges[i].codes ||
            app::KeyCodesAt(again, game.header.keyChanges[i].frame) != game.header.keyChanges[i].codes)
            std::abort();
    if (game.frames > app::kMaxFrames) std::abort();
    for (size_t i = 0; i < game.changes.size(); ++i)
        if (again.changes[i].frame != game.changes[i].frame || again.changes[i].codes != game.changes[i].codes)
            std::abort();
    return 0;
}
