// One JSON Lines trace object describing the current scene at the end of a frame.
#pragma once

#include <cstdint>
#include <string>

class CScene;

namespace replay {

// Appends the trace object of frame `frame` (one line, ending in '\n') to `out`.
void AppendTrace(std::string& out, uint64_t frame, CScene& scene);

}  // namespace replay
