#include "media/core/Log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "media/platform/Platform.h"

namespace media {

namespace {

// Closed: nothing logged since the last end. Holding: entries kept in memory
// until the single-instance check has passed. Writing: the file is open.
// Dropping: entries are not kept (a refused copy, or a file that cannot be written).
enum class LogMode { Closed, Holding, Writing, Dropping };

struct LogFile {
    std::mutex mutex;
    LogMode mode = LogMode::Closed;
    std::FILE* file = nullptr;
    std::string held;
    std::string folder;
    uint32_t start = 0;
    bool warned = false;
    bool lineOpen = false;  // the last entry kept or written did not end its line
};

LogFile& TheLog() {
    static LogFile* log = new LogFile();  // lives until process exit
    return *log;
}

std::string PathOf(const LogFile& log) { return log.folder.empty() ? "Log.txt" : log.folder + "/Log.txt"; }

void BeginHolding(LogFile& log, uint32_t nowMillis) {
    log.mode = LogMode::Holding;
    log.start = nowMillis;
    log.held.clear();
    log.lineOpen = false;
}

// Opens the file over whatever was there and writes the held entries into it.
void OpenFile(LogFile& log) {
    const std::string path = PathOf(log);
    log.file = std::fopen(path.c_str(), "wb");
    if (!log.file) {
        if (!log.warned)
            std::fprintf(stderr, "anagura: cannot write %s (%s): the game runs without a log\n", path.c_str(),
                         std::strerror(errno));
        log.warned = true;
        log.mode = LogMode::Dropping;
    } else {
        std::fwrite(log.held.data(), 1, log.held.size(), log.file);
        std::fflush(log.file);
        log.mode = LogMode::Writing;
    }
    log.held.clear();
    log.held.shrink_to_fit();
}

}  // namespace

void SetLogFolder(const std::string& folder) {
    LogFile& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    log.folder = folder;
}

void LogStart(uint32_t nowMillis) {
    LogFile& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    // Entries made before the start (ChangeWindowMode) stay, with their time 0;
    // a file already open for this run is kept.
    if (log.mode == LogMode::Closed || log.mode == LogMode::Dropping) BeginHolding(log, nowMillis);
}

void LogCommit() {
    LogFile& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (log.mode == LogMode::Holding) OpenFile(log);
}

void LogDiscard() {
    LogFile& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (log.mode != LogMode::Holding) return;
    log.held.clear();
    log.mode = LogMode::Dropping;
}

void LogEnd() {
    LogFile& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (log.file) std::fclose(log.file);
    log.file = nullptr;
    log.held.clear();
    log.mode = LogMode::Closed;
}

namespace {

// Formats and appends one entry: a new line first when `ownLine` and the last
// entry left its line open, then the time stamp and the message, then a line end when `ownLine`.
void Append(bool ownLine, const char* format, va_list args) {
    LogFile& log = TheLog();
    const uint32_t now = CurrentPlatform().NowMillis();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (log.mode == LogMode::Closed) BeginHolding(log, now);
    if (log.mode == LogMode::Dropping) return;
    std::string entry = ownLine && log.lineOpen ? "\n" : "";
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%d:", static_cast<int>(now - log.start));
    entry += stamp;
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length > 0) {
        const size_t at = entry.size();
        entry.resize(at + static_cast<size_t>(length) + 1);
        std::vsnprintf(entry.data() + at, static_cast<size_t>(length) + 1, format, args);
        entry.resize(at + static_cast<size_t>(length));
    }
    if (ownLine) entry += '\n';
    log.lineOpen = entry.back() != '\n';
    if (log.mode == LogMode::Holding) {
        log.held += entry;
        return;
    }
    std::fwrite(entry.data(), 1, entry.size(), log.file);
    std::fflush(log.file);
}

}  // namespace

void LogPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Append(false, format, args);
    va_end(args);
}

void LogLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Append(true, format, args);
    va_end(args);
}

}  // namespace media
