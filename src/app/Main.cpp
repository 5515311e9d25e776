// Entry point: finds the game's folders and runs the game. Exit status 1 when
// the game could not start (no display, another copy already running, no data
// folder to enter), 2 for a bad command line.
#include <cstdio>
#include <string>

#include "app/GameFolders.h"
#include "app/GameOptions.h"
#include "app/MainLoop.h"

int main(int argc, char** argv) {
    app::GameOptions options;
    std::string error;
    if (!app::ParseGameOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "anagura: %s\n%s", error.c_str(), app::GameUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(app::GameUsage(), stdout);
        return 0;
    }
    app::GameFolders folders;
    if (!app::EnterGameFolders(app::CurrentFolderPlaces(options.dataDir), folders, error)) {
        std::fprintf(stderr, "anagura: %s\n", error.c_str());
        return 1;
    }
    MainLoopOptions loop;
    loop.keyFile = app::PlayerKeyFile(folders);
    return RunMainLoop(loop);
}
