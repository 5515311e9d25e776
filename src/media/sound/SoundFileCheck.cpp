#include "media/sound/SoundFileCheck.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "media/core/Log.h"
#include "media/core/OperationLock.h"

namespace media {

namespace {

constexpr const char kTooLarge[] = "is larger than 256 MB";

}  // namespace

std::string SoundFileProblem(const char* path) {
    struct stat info;
    if (::stat(path, &info) != 0) return std::string("cannot be read (") + std::strerror(errno) + ")";
    if (S_ISDIR(info.st_mode)) return "is a folder";
    if (!S_ISREG(info.st_mode)) return "is not a regular file";
    if (info.st_size > kMaxSoundFileBytes) return kTooLarge;
    return {};
}

bool IsSoundFileTooLarge(const std::string& problem) { return problem == kTooLarge; }

void ReportSoundLoadFailure(const char* logFormat, const char* path, const std::string& reason) {
    OperationGuard guard;
    static auto* told = new std::set<std::string>();  // lives until process exit
    LogPrintf(logFormat, path);
    if (told->insert(path).second) std::fprintf(stderr, "anagura: sound %s %s\n", path, reason.c_str());
}

}  // namespace media
