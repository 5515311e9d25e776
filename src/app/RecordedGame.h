// A recorded game: a replay input script (InputScript.h) whose
// comment lines also say how the game began and how long it ran:
//
//   # seed N              first line: the seed the random generator was given
//   # keys C...           the key codes in force (the key file's, or the defaults)
//   # down-at-start C...  keys already down when the game started (only when some were)
//   ...                   one line per frame in which the keys down changed
//   # keys-from F C...    the key codes in force from frame F on (keys changed
//                         while playing), before the line of frame F
//   # frames N            the frames the game ran (written when it ended)
//
// A script is a recorded game when its first line is "# seed"; only then are
// the other lines read, and a malformed one (the first too) is an error. A
// recording without "# frames" was cut short (the game was killed, the power
// went): it is played to its last whole line. No frame goes beyond kMaxFrames.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/InputScript.h"

namespace app {

// The key codes in force from frame `frame` on.
struct KeyCodesChange {
    uint64_t frame = 0;
    std::vector<int32_t> codes;
};

struct RecordedGame {
    bool recorded = false;  // the script is a recorded game
    uint32_t seed = 0;
    std::optional<std::vector<int32_t>> keyCodes;
    std::vector<int> downAtStart;  // DIK codes 1..255, as written
    std::optional<uint64_t> frames;
    std::vector<KeyCodesChange> keyChanges;  // in frame order
};

// The header lines: "# seed", "# keys" and, when `downAtStart` is not empty, "# down-at-start".
std::string RecordedGameHeader(uint32_t seed, const std::vector<int32_t>& keyCodes,
                               const std::vector<int>& downAtStart);

// The line "# keys-from F C...".
std::string KeysFromLine(uint64_t frame, const std::vector<int32_t>& codes);

// `bytes` without a last line that has no line end, unless it is the only line:
// every line of a recording is written whole, so such a line was cut short.
std::string_view WholeLines(std::string_view bytes);

// Reads the recorded-game lines of a script's bytes (any bytes; nothing else is
// looked at). False with "line N: ..." in `error` for a malformed or repeated
// one; a script that is not a recorded game gives true and `recorded` false.
bool ParseRecordedGame(std::string_view bytes, RecordedGame& game, std::string& error);

}  // namespace app
