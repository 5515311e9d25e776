#include "media/core/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace media {

namespace {

std::string BellPathOf(const std::string& lockPath) { return lockPath + ".bell"; }

}  // namespace

std::string InstanceLock::PathOf(const std::string& name) {
    std::string safe;
    for (char c : name) safe += (c == '/' || c == '\0') ? '_' : c;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && ::access(runtime, W_OK) == 0) return std::string(runtime) + "/" + safe + ".lock";
    return "/tmp/" + safe + "-" + std::to_string(::getuid()) + ".lock";
}

bool InstanceLock::Acquire(const std::string& name) {
    if (m_fd >= 0) return true;  // taken early (ClaimSingleInstance), kept by the start
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
    m_fd = fd;
    m_bellPath = BellPathOf(path);
    OpenDoorbell();
    return true;
}

// Opened for reading and writing, so that it never reads as closed and a ring
// never finds it without a reader. Only a pipe of this user's serves; without
// one the program simply cannot be asked to show itself.
void InstanceLock::OpenDoorbell() {
    if (::mkfifo(m_bellPath.c_str(), 0600) != 0 && errno != EEXIST) return;
    const int bell = ::open(m_bellPath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (bell < 0) return;
    struct stat info;
    if (::fstat(bell, &info) != 0 || !S_ISFIFO(info.st_mode) || info.st_uid != ::getuid()) {
        ::close(bell);
        return;
    }
    m_bell = bell;
}

void InstanceLock::Release() {
    if (m_bell >= 0) {
        ::unlink(m_bellPath.c_str());  // before the lock goes: the next holder makes its own
        ::close(m_bell);
        m_bell = -1;
    }
    if (m_fd < 0) return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

bool InstanceLock::ShowRequested() {
    if (m_bell < 0) return false;
    char rings[64];
    bool rung = false;
    while (::read(m_bell, rings, sizeof rings) > 0) rung = true;
    return rung;
}

void InstanceLock::AskHolderToShow(const std::string& name) {
    const int bell = ::open(BellPathOf(PathOf(name)).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (bell < 0) return;
    struct stat info;
    if (::fstat(bell, &info) == 0 && S_ISFIFO(info.st_mode)) {
        const char ring = 1;
        [[maybe_unused]] const ssize_t written = ::write(bell, &ring, 1);  // a full pipe has rung already
    }
    ::close(bell);
}

}  // namespace media
