// The last game, kept in the player's data folder so that it can be continued:
// last-game.txt is a recorded game (RecordedGame.h) with two more comment
// lines after the header, "# version V" (the game's version) and "# data H"
// (a fingerprint of the data folder's pictures and sounds); last-game-ended.txt
// is the last run that ended with no game under way, last-game.bad.txt the
// last recording that could not be continued.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/InputScript.h"
#include "app/RecordedGame.h"

namespace app {

struct LastGameFiles {
    std::string current;  // last-game.txt
    std::string ended;    // last-game-ended.txt
    std::string bad;      // last-game.bad.txt
};

LastGameFiles LastGameFilesIn(const std::string& folder);

// "# version V" and "# data H" for the data folder that is the working folder.
std::string LastGameStamp(const std::string& version);

// A recording read back to be played again: its header, its key changes with
// Escape left out (Escape only ends the run), and the frames it reaches (its
// "# frames", else its last key line).
struct ContinuedGame {
    RecordedGame header;
    std::vector<KeyChange> changes;
    uint64_t frames = 0;
};

enum class LastGameRead { Continue, Nothing, Bad };

// Reads the recording at `path`: Continue, Nothing (no such file, or no frame
// in it) or Bad with the reason in `reason` (not a file of a recording's size,
// or as ParseLastGame says).
LastGameRead ReadLastGame(const std::string& path, const std::string& stamp, ContinuedGame& game,
                          std::string& reason);
// The same for a recording's bytes (any bytes; lines may end in CR LF): Bad
// when damaged (a frame beyond kMaxFrames too), or of another version or other
// data than `stamp`. A game recorded with keys other than those in force now
// is played with its own.
LastGameRead ParseLastGame(const std::string& bytes, const std::string& stamp, ContinuedGame& game,
                           std::string& reason);

// The key codes in force at frame `frame` of the game (its "# keys", or its last change of them by then).
const std::vector<int32_t>& KeyCodesAt(const ContinuedGame& game, uint64_t frame);

// The recording to go on with, as a file's bytes: header, stamp, key lines
// and changes of the key codes, ending with a line for its last frame; no "# frames".
std::string ContinuedRecording(const ContinuedGame& game, const std::string& stamp);

}  // namespace app
