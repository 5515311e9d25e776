// Numbers in the call trace are written as std::to_chars writes them; where the
// standard library has no floating-point std::to_chars (emscripten's libc++),
// this writes the same text.
#pragma once

#include <string>

namespace media {

// The shortest decimal text that reads back as exactly `v` (finite), laid out as
// std::to_chars(first, last, v) lays it out: fixed or scientific notation,
// whichever is shorter, fixed on a tie.
std::string ShortestDoubleText(double v);

}  // namespace media
