// Entry point: finds the game's folders, puts the player's settings in force
// and runs the game. Exit status 1 when the game could not start (no display,
// another copy already running, no data folder to enter), 2 for a bad command line.
#include <cstdio>
#include <string>

#include "app/GameFolders.h"
#include "app/GameOptions.h"
#include "app/MainLoop.h"
#include "app/PlayerStart.h"

int main(int argc, char** argv) {
    app::GameOptions options;
    std::string error;
    if (!app::ParseGameOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "anagura: %s\n%s", error.c_str(), app::GameUsage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(app::GameUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("anagura %s\n", app::GameVersion());
        return 0;
    }
    const app::FolderPlaces places = app::CurrentFolderPlaces(options.dataDir);
    app::GameFolders folders;
    if (!app::EnterGameFolders(places, folders, error)) {
        std::fprintf(stderr, "anagura: %s\n", error.c_str());
        return 1;
    }
    app::StartPlayerSettings(options.player, app::SettingsFolder(places), folders.player);
    MainLoopOptions loop;
    loop.keyFile = app::PlayerKeyFile(folders);
    return RunMainLoop(loop);
}
