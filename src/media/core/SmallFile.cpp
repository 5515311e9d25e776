#include "media/core/SmallFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace media {
namespace {

// What a file that is no plain file is, or "" for a plain one.
const char* NotPlain(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISDIR(mode)) return "is a folder";
    if (S_ISFIFO(mode)) return "is not a plain file but a FIFO";
    if (S_ISSOCK(mode)) return "is not a plain file but a socket";
    return "is not a plain file but a device";
}

std::string WithReason(const char* what) { return std::string(what) + " (" + std::strerror(errno) + ")"; }

// Reads at most cap + 1 bytes: a file that grew past its size is still caught.
bool ReadUpTo(int fd, size_t cap, std::string& bytes) {
    char block[16384];
    while (bytes.size() <= cap) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        bytes.append(block, static_cast<size_t>(got));
    }
    return true;
}

}  // namespace

bool ReadSmallFile(const std::string& path, size_t cap, std::string& bytes, std::string& problem) {
    bytes.clear();
    // Without waiting: opening a FIFO for reading would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = WithReason("cannot be opened");
        return false;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) problem = WithReason("cannot be examined");
    else problem = NotPlain(info.st_mode);
    if (problem.empty() && static_cast<uint64_t>(info.st_size) > cap)
        problem = "is larger than " + std::to_string(cap) + " bytes";
    if (problem.empty() && !ReadUpTo(fd, cap, bytes)) problem = WithReason("cannot be read");
    if (problem.empty() && bytes.size() > cap) problem = "is larger than " + std::to_string(cap) + " bytes";
    ::close(fd);
    if (!problem.empty()) bytes.clear();
    return problem.empty();
}

}  // namespace media
