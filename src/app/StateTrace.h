// The state trace: one JSON Lines object describing the scene at the end of a
// frame (the fields are listed in tools/replay/README.md).
#pragma once

#include <cstdint>
#include <string>

class CScene;

namespace app {

// Appends the trace object of frame `frame` (one line, ending in '\n') to `out`.
void AppendTrace(std::string& out, uint64_t frame, CScene& scene);

}  // namespace app
