// Replacing a file whole: readers see the old contents or the new, never a part.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace app {

// How far a write is seen through: flushed to the disk (it outlasts a power
// cut), or handed to the system only (quicker: for a file that may be lost).
enum class Durability { Flushed, Handed };

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and
// renames it over `path` (the folder must exist). When `path` is a link, the
// file it leads to is replaced and the link kept. The file keeps the
// permissions of the one it replaces (0644 when new); what is not a plain file
// (a device, a FIFO) is not written. False with the reason in `error` when
// anything fails; `path` is then as it was and no temporary file is left.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         Durability durability = Durability::Flushed);

// Writes `bytes` over the plain file at `path` in place (the file must be
// there): for a file that cannot be replaced because its folder cannot be
// written. Not atomic: a reader may see part of it. False when it cannot.
bool RewriteFile(const std::string& path, std::string_view bytes);

// Removes the temporary files of `path` (WriteFileAtomically's, left by a
// program killed while writing) last changed before `before`.
void RemoveLeftoverTemporaries(const std::string& path, std::time_t before);

}  // namespace app
