// Entry point: finds the game's folders, puts the player's settings in force
// and runs the game. Exit status 1 when the game could not start (no display,
// another copy already running, no data folder to enter) or a file asked for
// on the command line could not be written, 2 for a bad command line.
#include <cstdio>
#include <string>

#include "app/GameFolders.h"
#include "app/GameOptions.h"
#include "app/MainLoop.h"
#include "app/PlayerStart.h"
#include "app/RunOutputs.h"
#include "media/sdl/SdlPlatform.h"

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
    // The game runs on SDL: a window, the keyboard and gamepads, the sound device.
    media::UseSdlPlatform();
    // Made before the data folder is entered: their paths are taken from where the game was started.
    app::RunOutputs outputs;
    if (!outputs.Open({options.recordFile, options.traceFile, options.callsFile, options.traceEvery, true}, error)) {
        std::fprintf(stderr, "anagura: %s\n", error.c_str());
        return 1;
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
    // The loop counts its frames from 0; the outputs' frame 1 is the loop's frame 0.
    loop.afterStart = [&](const KeyConfig& keys) { outputs.EndOfStart(keys); };
    loop.afterFrame = [&](uint64_t frame, CScene& scene) { outputs.EndOfFrame(frame + 1, scene); };
    loop.afterLastFrame = [&](uint64_t frame, CScene& scene) { outputs.EndOfRun(frame + 1, scene); };
    const int status = RunMainLoop(loop);
    if (!outputs.Close(error)) {
        std::fprintf(stderr, "anagura: %s\n", error.c_str());
        return 1;
    }
    return status;
}
