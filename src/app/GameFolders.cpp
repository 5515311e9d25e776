#include "app/GameFolders.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "media/core/Log.h"

namespace app {

namespace fs = std::filesystem;

namespace {

constexpr const char kInstalledData[] = "../share/games/anagura";
constexpr const char kKeyFile[] = "Data/KeyData.dat";
// A data folder holding this file is kept as it is: the source's assets/ has
// one, so that playing from a checkout leaves the checkout unchanged.
constexpr const char kNoPlayerFiles[] = ".no-player-files";

bool HoldsPictures(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder / "image", ec);
}

bool TakesPlayerFiles(const GameFolders& folders) {
    std::error_code ec;
    return !folders.installed && !fs::exists(fs::path(folders.data) / kNoPlayerFiles, ec) &&
           access(folders.data.c_str(), W_OK) == 0;
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder() {
    const std::string home = Env("HOME");
    if (!home.empty()) return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

// An XDG base folder: `value` when absolute (the XDG base directory rule
// ignores a relative one), else `fallback` in the home folder; empty without a home.
fs::path XdgBase(const std::string& value, const std::string& home, const char* fallback) {
    if (fs::path(value).is_absolute()) return value;
    return home.empty() ? fs::path() : fs::path(home) / fallback;
}

// Writes all of `bytes` to `fd`; false with errno set when it cannot.
bool WriteAll(int fd, const char* bytes, size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, bytes, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            if (put == 0) errno = EIO;
            return false;
        }
        bytes += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

// Copies `from` into a new file `to` (never over one); on failure `ec` says
// why and no part of `to` is left.
void CopyToNewFile(const fs::path& from, const fs::path& to, std::error_code& ec) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = in < 0 ? -1 : ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    bool ok = out >= 0;
    char chunk[16384];
    while (ok) {
        const ssize_t got = ::read(in, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) break;
        ok = got > 0 && WriteAll(out, chunk, static_cast<size_t>(got));
    }
    if (!ok) ec = std::error_code(errno, std::generic_category());
    if (out >= 0 && ::close(out) != 0 && ok) {
        ok = false;
        ec = std::error_code(errno, std::generic_category());
    }
    if (in >= 0) ::close(in);
    if (!ok && out >= 0) ::unlink(to.c_str());
}

// Makes the player folder and copies the installed key file into it unless the
// player has one (a missing installed file is told by the key loading).
void PreparePlayerFolder(const GameFolders& folders) {
    std::error_code ec;
    const fs::path own = fs::path(folders.player) / kKeyFile;
    const fs::path installed = fs::path(folders.data) / kKeyFile;
    fs::create_directories(own.parent_path(), ec);
    if (!ec && !fs::exists(own, ec) && fs::exists(installed, ec)) CopyToNewFile(installed, own, ec);
    if (ec)
        std::fprintf(stderr, "anagura: cannot prepare the player folder %s (%s)\n", folders.player.c_str(),
                     ec.message().c_str());
}

}  // namespace

FolderPlaces CurrentFolderPlaces(const std::string& dataOption) {
    FolderPlaces places;
    places.dataOption = dataOption;
    std::error_code ec;
    places.workingFolder = fs::current_path(ec).string();
    places.executable = fs::read_symlink("/proc/self/exe", ec).string();
    places.xdgDataHome = Env("XDG_DATA_HOME");
    places.xdgConfigHome = Env("XDG_CONFIG_HOME");
    places.home = HomeFolder();
    return places;
}

GameFolders FindDataFolder(const FolderPlaces& places) {
    GameFolders folders;
    const fs::path working(places.workingFolder);
    if (!places.dataOption.empty()) {
        folders.data = (working / places.dataOption).lexically_normal().string();
        return folders;
    }
    if (HoldsPictures(working)) {
        folders.data = places.workingFolder;
        return folders;
    }
    const fs::path installed = (fs::path(places.executable).parent_path() / kInstalledData).lexically_normal();
    if (!places.executable.empty() && HoldsPictures(installed)) {
        folders.data = installed.string();
        folders.installed = true;
        return folders;
    }
    folders.data = places.workingFolder;
    folders.found = false;
    return folders;
}

void ChoosePlayerFolder(const FolderPlaces& places, GameFolders& folders) {
    folders.player = folders.data;
    if (TakesPlayerFiles(folders)) return;
    const std::string own = PlayerDataFolder(places);
    if (!own.empty()) folders.player = own;
}

std::string PlayerDataFolder(const FolderPlaces& places) {
    const fs::path base = XdgBase(places.xdgDataHome, places.home, ".local/share");
    return base.empty() ? "" : (base / "anagura").string();
}

std::string SettingsFolder(const FolderPlaces& places) {
    const fs::path base = XdgBase(places.xdgConfigHome, places.home, ".config");
    return base.empty() ? "" : (base / "anagura").string();
}

std::string PlayerKeyFile(const GameFolders& folders) {
    if (folders.player == folders.data) return kKeyFile;
    const fs::path own = fs::path(folders.player) / kKeyFile;
    std::error_code ec;
    return fs::exists(own, ec) ? own.string() : kKeyFile;  // the installed one when no copy could be made
}

bool EnterGameFolders(const FolderPlaces& places, GameFolders& folders, std::string& error) {
    folders = FindDataFolder(places);
    if (chdir(folders.data.c_str()) != 0) {
        error = "cannot enter the data folder \"" + folders.data + "\"";
        return false;
    }
    if (!folders.found)
        std::fprintf(stderr,
                     "anagura: no data folder found (no image/ here nor in %s beside the program): "
                     "running in the working folder\n",
                     kInstalledData);
    ChoosePlayerFolder(places, folders);
    if (folders.player == folders.data) return true;
    PreparePlayerFolder(folders);
    media::SetLogFolder(folders.player);
    return true;
}

}  // namespace app
