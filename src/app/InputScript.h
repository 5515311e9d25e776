// The replay input script: which keys are down from which frame on.
//
// Text; blank lines and lines starting with '#' are ignored. Every other line is
// "<frame> [<code> ...]": from the keyboard snapshot of that frame on, exactly the
// listed DIK codes (decimal 1..255) are down, until the next line. Frames start at 1,
// strictly increase and go no further than kMaxFrames.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// The most frames a script or a recorded game may name: 2^32, over two years
// of play; a frame beyond is refused (a damaged recording, not a game).
inline constexpr uint64_t kMaxFrames = uint64_t{1} << 32;

struct KeyChange {
    uint64_t frame = 0;
    std::vector<int> codes;  // sorted, without duplicates
};

struct ScriptError {
    int line = 0;  // 1-based line number; 0 when the file could not be read
    std::string message;
};

class InputScript {
public:
    // Parses the whole script (lines end with '\n'; the last may not); false
    // with `error` filled on the first malformed line.
    bool Parse(std::string_view text, ScriptError& error);

    const std::vector<KeyChange>& Changes() const { return m_changes; }

    // The change that takes effect with frame f's snapshot, or null.
    const KeyChange* ChangeAt(uint64_t frame);

private:
    std::vector<KeyChange> m_changes;
    size_t m_next = 0;
};

}  // namespace app
