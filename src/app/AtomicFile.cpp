#include "app/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace app {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Makes the rename itself last across a power cut; a failure here loses nothing.
void SyncFolder(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create a file beside " + path + " (" + std::strerror(errno) + ")";
        return false;
    }
    struct stat old;
    const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    int failure = 0;
    if (fchmod(fd, mode) != 0 || !WriteAll(fd, bytes) || fsync(fd) != 0) failure = errno ? errno : EIO;
    if (close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
    if (failure == 0) {
        SyncFolder(path);
        return true;
    }
    error = "cannot write " + path + " (" + std::strerror(failure) + ")";
    unlink(temporary.c_str());
    return false;
}

}  // namespace app
