// The diagnostic log "Log.txt" in the working folder. Each entry starts with the
// milliseconds since the media layer started ("%d:"), then the message; a "\n"
// in a message ends the line. Messages are Shift-JIS, written byte for byte.
#pragma once

#include <cstdint>

namespace media {

// printf-style entry. Thread-safe.
void LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Sets the clock value that counts as time 0 of the log and starts a new file
// (a file already holding entries of this run is kept, with its time 0).
void LogStart(uint32_t nowMillis);
// Closes the file.
void LogEnd();

}  // namespace media
