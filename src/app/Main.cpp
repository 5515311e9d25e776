// Entry point: finds the game's folders, puts the player's settings in force
// and runs the game. Exit status 1 when the game could not start (no display,
// another copy already running, no data folder to enter) or a file asked for
// on the command line could not be written, 2 for a bad command line.
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "app/GameFolders.h"
#include "app/GameOptions.h"
#include "app/KeyConfigFile.h"
#include "app/LastGameKeeper.h"
#include "app/MainLoop.h"
#include "app/PlayerStart.h"
#include "app/RunOutputs.h"
#include "app/StartKeys.h"
#include "media/core/StartFailure.h"
#include "media/platform/WindowPlatform.h"

namespace {

// The keys the game starts with: the key file's, else the default ones (told when the game starts).
std::vector<int32_t> KeysInForce(const std::string& keyFile) {
    KeyConfig keys;
    if (LoadKeyConfigFrom(keys, keyFile, nullptr) == 0) return keys.keys;
    return {std::begin(app::kDefaultKeyCodes), std::end(app::kDefaultKeyCodes)};
}

}  // namespace

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
    // The game runs in a window (SDL's on the desktop, the page's in a browser):
    // the keyboard and gamepads, the sound device.
    media::UseWindowPlatform();
    // Made before the data folder is entered: their paths are taken from where the game was started.
    // Only when no other copy runs: a refused copy leaves the running one's files alone.
    app::RunOutputs outputs;
    if (media::ClaimSingleInstance() &&
        !outputs.Open({options.recordFile, options.traceFile, options.callsFile, options.traceEvery, true}, error)) {
        std::fprintf(stderr, "anagura: %s\n", error.c_str());
        return 1;
    }
    // Taken from where the game was started, before the data folder is entered.
    std::error_code ec;
    if (!options.continueFrom.empty()) options.continueFrom = std::filesystem::absolute(options.continueFrom, ec);
    const app::FolderPlaces places = app::CurrentFolderPlaces(options.dataDir);
    app::GameFolders folders;
    if (!app::EnterGameFolders(places, folders, error)) {
        std::fprintf(stderr, "anagura: %s\n", error.c_str());
        return 1;
    }
    app::StartPlayerSettings(options.player, app::SettingsFolder(places), folders.player);
    MainLoopOptions loop;
    loop.keyFile = app::PlayerKeyFile(folders);
    app::LastGameKeeper keeper(app::PlayerDataFolder(places));
    if (options.continueGame || !options.continueFrom.empty())
        keeper.PrepareContinue(loop, KeysInForce(loop.keyFile), options.continueFrom);
    // The loop counts its frames from 0; the outputs' frame 1 is the loop's frame 0.
    // The outputs see only the frames played live.
    loop.afterStart = [&](const KeyConfig& keys) {
        if (!media::MediaStartFailed()) app::TellUnpressableButtons(loop.keyFile, keys.keys);
        keeper.AfterStart(keys);
        outputs.EndOfStart(keys);
    };
    loop.betweenFrames = [&](LoopState& state) { keeper.BetweenFrames(state); };
    loop.beforeFrame = [&](uint64_t frame) { keeper.BeforeFrame(frame + 1); };
    loop.keysChanged = [&](uint64_t frame, const std::vector<int32_t>& codes) {
        if (keeper.Live()) outputs.KeysChanged(frame + 1, codes);
        keeper.KeysChanged(frame + 1, codes);
    };
    loop.afterFrame = [&](uint64_t frame, CScene& scene) {
        const bool live = keeper.Live();
        keeper.AfterFrame(frame + 1, scene);
        if (live) outputs.EndOfFrame(frame + 1, scene);
    };
    loop.afterLastFrame = [&](uint64_t frame, CScene& scene) {
        keeper.EndOfRun(frame + 1);
        if (keeper.Live()) outputs.EndOfRun(frame + 1, scene);
    };
    const int status = RunMainLoop(loop);
    if (!outputs.Close(error)) {
        std::fprintf(stderr, "anagura: %s\n", error.c_str());
        return 1;
    }
    return status;
}
