#include "media/Log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "media/Platform.h"

namespace media {

namespace {

struct LogFile {
    std::mutex mutex;
    std::FILE* file = nullptr;
    uint32_t start = 0;
    bool started = false;
};

LogFile& TheLog() {
    static LogFile* log = new LogFile();  // lives until process exit
    return *log;
}

}  // namespace

void LogStart(uint32_t nowMillis) {
    LogFile& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    // Entries written before the start (ChangeWindowMode) stay in the file.
    if (log.file) return;
    log.file = std::fopen("Log.txt", "wb");
    log.start = nowMillis;
    log.started = true;
}

void LogEnd() {
    LogFile& log = TheLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (log.file) std::fclose(log.file);
    log.file = nullptr;
    log.started = false;
}

void LogPrintf(const char* format, ...) {
    LogFile& log = TheLog();
    const uint32_t now = CurrentPlatform().NowMillis();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (!log.file) {
        // Entries before the start (or after the end) still reach the file.
        log.file = std::fopen("Log.txt", log.started ? "ab" : "wb");
        if (!log.started) {
            log.start = now;
            log.started = true;
        }
        if (!log.file) return;
    }
    std::fprintf(log.file, "%d:", static_cast<int>(now - log.start));
    va_list args;
    va_start(args, format);
    std::vfprintf(log.file, format, args);
    va_end(args);
    std::fflush(log.file);
}

}  // namespace media
