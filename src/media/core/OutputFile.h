// Opening a file the program writes as it runs (a recording, a trace, audio).
#pragma once

#include <cstdio>
#include <string>

namespace media {

// Opens `path` for writing from its start, as fopen(path, "wb") does, except
// that a file another program is writing through this function is left alone:
// each file is locked (flock) while open, and a locked one is refused with
// errno EBUSY, untouched. Null, with errno set, when it cannot be opened.
std::FILE* OpenOutputFile(const std::string& path);

}  // namespace media
