// Reading a small file whole (settings, a key file, a recorded game): only a
// plain file is opened without waiting (a FIFO or a device would block or
// never end), and only up to a size the kind of file never reaches in use.
#pragma once

#include <cstddef>
#include <string>

namespace media {

// Sizes beyond any real file of the kind, far below what could hurt.
inline constexpr size_t kSettingsFileCap = 64 * 1024;         // a real one: under 1 KB
inline constexpr size_t kKeyFileCap = 64 * 1024;              // six codes: 28 bytes
inline constexpr size_t kRecordedGameCap = 16 * 1024 * 1024;  // about an hour of a key change every frame

// Reads the file at `path` into `bytes`. False, with `problem` saying why in
// words ("cannot be opened (No such file or directory)", "is a folder", "is
// not a plain file but a FIFO", "is larger than 65536 bytes", "cannot be read
// (...)"), when it cannot be opened, is not a plain file or holds more than `cap` bytes.
bool ReadSmallFile(const std::string& path, size_t cap, std::string& bytes, std::string& problem);

}  // namespace media
