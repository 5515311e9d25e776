// The diagnostic log "Log.txt" (in the working folder unless SetLogFolder names
// another). Each entry starts with the milliseconds since the media layer
// started ("%d:"), then the message; a "\n" in a message ends the line.
// Messages are Shift-JIS, written byte for byte.
//
// The log belongs to the copy of the program that runs: entries are kept in
// memory until the single-instance check has passed (LogCommit), and only then
// is the file made. A copy refused as a second one drops its entries
// (LogDiscard) and says why on stderr only, leaving the running copy's log alone.
#pragma once

#include <cstdint>
#include <string>

namespace media {

// printf-style entry, written as given. Thread-safe.
void LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// printf-style entry on a line of its own: it starts a new line when the entry
// before it left one open, and ends its own. Thread-safe.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Folder that holds "Log.txt" from the next file made on; "" is the working folder.
void SetLogFolder(const std::string& folder);
// Sets the clock value that counts as time 0 of the log and starts keeping
// entries (entries already kept, or a file already open, stay with their time 0).
void LogStart(uint32_t nowMillis);
// This copy may write the log: makes the file and writes the entries kept so
// far. A file that cannot be made gives one warning on stderr; the entries are
// then dropped and the program runs on.
void LogCommit();
// This copy must not write the log: drops the entries kept so far and those to come until the next start.
void LogDiscard();
// Closes the file.
void LogEnd();

}  // namespace media
