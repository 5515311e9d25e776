#include "media/core/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace media {

std::string InstanceLock::PathOf(const std::string& name) {
    std::string safe;
    for (char c : name) safe += (c == '/' || c == '\0') ? '_' : c;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && ::access(runtime, W_OK) == 0) return std::string(runtime) + "/" + safe + ".lock";
    return "/tmp/" + safe + "-" + std::to_string(::getuid()) + ".lock";
}

bool InstanceLock::Acquire(const std::string& name) {
    if (fd_ >= 0) return true;  // taken early (ClaimSingleInstance), kept by the start
    const std::string path = PathOf(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    fd_ = fd;
    return true;
}

void InstanceLock::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace media
