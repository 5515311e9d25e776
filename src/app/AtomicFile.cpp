#include "app/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
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

// The file a path names once its links are followed (a link that leads nowhere
// names the file it would make); the path itself when it is no link.
std::string FollowLinks(std::string path) {
    std::error_code ec;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, ec); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
        if (ec) break;
        path = (std::filesystem::path(path).parent_path() / target).lexically_normal().string();
    }
    return path;
}

// mkostemp's six letters and digits.
bool IsTemporaryOf(const std::string& name, const std::string& file) {
    if (name.size() != file.size() + 7 || name.compare(0, file.size(), file) != 0 || name[file.size()] != '.')
        return false;
    for (size_t i = file.size() + 1; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

}  // namespace

void RemoveLeftoverTemporaries(const std::string& path, std::time_t before) {
    namespace fs = std::filesystem;
    const fs::path target = FollowLinks(path);
    const std::string file = target.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(target.parent_path().empty() ? "." : target.parent_path(), ec), end;
         !ec && it != end; it.increment(ec)) {
        struct stat info;
        const std::string name = it->path().filename().string();
        if (IsTemporaryOf(name, file) && lstat(it->path().c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_mtime < before)
            unlink(it->path().c_str());
    }
}

bool RewriteFile(const std::string& linkedPath, std::string_view bytes) {
    const std::string path = FollowLinks(linkedPath);
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
    return close(fd) == 0 && written;
}

bool WriteFileAtomically(const std::string& linkedPath, std::string_view bytes, std::string& error,
                         Durability durability) {
    // Through links to the file they name, which keeps its links and its mode.
    const std::string path = FollowLinks(linkedPath);
    struct stat old;
    const bool exists = stat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        error = path + " is not a plain file: not written";
        return false;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create a file beside " + path + " (" + std::strerror(errno) + ")";
        return false;
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : 0644;
    int failure = 0;
    const bool flush = durability == Durability::Flushed;
    if (fchmod(fd, mode) != 0 || !WriteAll(fd, bytes) || (flush && fsync(fd) != 0)) failure = errno ? errno : EIO;
    if (close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
    if (failure == 0) {
        if (flush) SyncFolder(path);
        return true;
    }
    error = "cannot write " + path + " (" + std::strerror(failure) + ")";
    unlink(temporary.c_str());
    return false;
}

}  // namespace app
