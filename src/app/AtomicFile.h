// Replacing a file whole: readers see the old contents or the new, never a part.
#pragma once

#include <string>
#include <string_view>

namespace app {

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and
// renames it over `path` (the folder must exist). The file keeps the
// permissions of the one it replaces (0644 when new). False with the reason in
// `error` when anything fails; `path` is then as it was and no temporary file is left.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace app
