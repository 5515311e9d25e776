#include "app/GameFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/AtomicFile.h"
#include "media/core/Log.h"
#include "media/core/SmallFile.h"

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

// Makes the player folder and copies the installed key file into it unless the
// player has one (a missing installed file is told by the key loading).
void PreparePlayerFolder(const GameFolders& folders) {
    std::error_code ec;
    const fs::path own = fs::path(folders.player) / kKeyFile;
    const fs::path installed = fs::path(folders.data) / kKeyFile;
    fs::create_directories(own.parent_path(), ec);
    std::string problem;
    if (!ec && !fs::exists(own, ec) && fs::exists(installed, ec)) {
        std::string bytes;
        if (media::ReadSmallFile(installed.string(), media::kKeyFileCap, bytes, problem))
            WriteFileAtomically(own.string(), bytes, problem);
    }
    if (ec) problem = ec.message();
    if (!problem.empty())
        std::fprintf(stderr, "anagura: cannot prepare the player folder %s (%s)\n", folders.player.c_str(),
                     problem.c_str());
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
    // A relative home is taken from where the game was started, as the shell
    // that gave it meant: the game works in its data folder.
    const fs::path home = HomeFolder();
    places.home = home.empty() || home.is_absolute()
                      ? home.string()
                      : (fs::path(places.workingFolder) / home).lexically_normal().string();
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
