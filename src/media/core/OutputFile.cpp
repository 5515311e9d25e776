#include "media/core/OutputFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace media {

std::FILE* OpenOutputFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    int failure = 0;
    struct stat info;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) failure = errno == EWOULDBLOCK ? EBUSY : errno;
    else if (::fstat(fd, &info) != 0) failure = errno;
    else if (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0)
        failure = errno;  // a device or pipe is written as it is
    std::FILE* file = failure ? nullptr : ::fdopen(fd, "wb");
    if (!file) {
        if (!failure) failure = errno;
        ::close(fd);
        errno = failure;
    }
    return file;
}

}  // namespace media
