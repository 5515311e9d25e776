// What is checked before a sound file is read, and how a failed load is told:
// one log line naming the file each time, one stderr line with the reason the
// first time for that file.
#pragma once

#include <cstdint>
#include <string>

namespace media {

// Sound files larger than this are refused before reading, as pictures are.
constexpr int64_t kMaxSoundFileBytes = int64_t{1} << 28;

// "" when `path` is a regular file of at most kMaxSoundFileBytes; else what is wrong.
std::string SoundFileProblem(const char* path);
// True when the problem is the size (the load fails for want of memory, not of data).
bool IsSoundFileTooLarge(const std::string& problem);

// Logs `logFormat` (one %s: the path) and, the first time for this path, writes
// the reason to stderr.
void ReportSoundLoadFailure(const char* logFormat, const char* path, const std::string& reason);

}  // namespace media
