// anagura-replay: runs the game's own main loop headless with a virtual clock,
// feeding keys from an input script, and records a JSON Lines trace, PNG
// screenshots and the mixed audio. Same seed and script, same run.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/GameFolders.h"
#include "app/MainLoop.h"
#include "app/PlayerStart.h"
#include "app/RecordedGame.h"
#include "app/RunOutputs.h"
#include "app/RunState.h"
#include "media/core/Log.h"
#include "media/headless/HeadlessControls.h"
#include "media/video/PngFile.h"
#include "replay/AudioOut.h"
#include "replay/LastGameOut.h"
#include "app/InputScript.h"
#include "app/InputScriptFile.h"
#include "replay/Options.h"
#include "app/scene/Scene.h"

namespace {

constexpr int kScreenWidth = 160;
constexpr int kScreenHeight = 120;

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "anagura-replay: %s\n", message.c_str());
    return status;
}

// The log goes where the game's would from the data folder entered: into the
// player folder, which is not a source's or an install's data folder.
void PointLogToPlayerFolder() {
    const app::FolderPlaces places = app::CurrentFolderPlaces("");
    app::GameFolders folders;
    folders.data = places.workingFolder;
    app::ChoosePlayerFolder(places, folders);
    if (folders.player == folders.data) return;
    std::error_code ec;
    std::filesystem::create_directories(folders.player, ec);
    media::SetLogFolder(folders.player);
}

// A recording without "# frames" (the game was killed or the power went) plays
// to its last key change and ends there (after frame 1 when it holds none).
void EndCutRecording(const std::string& path, const app::InputScript& script, replay::Options& options) {
    const uint64_t last = script.Changes().empty() ? 1 : script.Changes().back().frame;
    std::fprintf(stderr,
                 "anagura-replay: %s: the recording has no \"# frames\" line (it was cut short): "
                 "played to its last key change, frame %llu\n",
                 path.c_str(), static_cast<unsigned long long>(last));
    options.frames = last;
}

// The replay's own outputs (screenshots, audio) beside the run's traces.
class Recorder {
public:
    explicit Recorder(const replay::Options& o) : m_options(o) {}

    bool Open(std::string& error) {
        if (!m_run.Open({"", m_options.traceFile, m_options.callsFile, m_options.traceEvery}, error)) return false;
        if (!m_options.audioFile.empty() && !m_audio.Open(m_options.audioFile)) {
            error = "cannot write the audio \"" + m_options.audioFile + "\"";
            return false;
        }
        return true;
    }

    void EndOfStart(const KeyConfig& keys) { m_run.EndOfStart(keys); }

    // The end of frame `frame`, after the loop's scene switch.
    void EndOfFrame(uint64_t frame, CScene& scene) {
        m_run.EndOfFrame(frame, scene);
        if (!m_options.screenshotDir.empty() && frame % m_options.shotEvery == 0) Screenshot(frame);
        if (!m_options.audioFile.empty() && !m_audio.WriteFrame() && m_failed.empty())
            m_failed = "cannot write the audio";
    }

    void EndOfRun(uint64_t frame, CScene& scene) { m_run.EndOfRun(frame, scene); }

    // Finishes every output; false with the first failure in `error`.
    bool Close(std::string& error) {
        std::string runError;
        if (!m_run.Close(runError) && m_failed.empty()) m_failed = runError;
        if (!m_options.audioFile.empty() && !m_audio.Close() && m_failed.empty()) m_failed = "cannot write the audio";
        error = m_failed;
        return m_failed.empty();
    }

private:
    void Screenshot(uint64_t frame) {
        std::vector<uint32_t> pixels = media::headless::PresentedPixels();
        if (pixels.size() != static_cast<size_t>(kScreenWidth * kScreenHeight))
            pixels.assign(static_cast<size_t>(kScreenWidth * kScreenHeight), 0);  // nothing shown yet
        char name[32];
        std::snprintf(name, sizeof name, "/%08llu.png", static_cast<unsigned long long>(frame));
        if (!media::WritePng(m_options.screenshotDir + name, pixels, kScreenWidth, kScreenHeight) && m_failed.empty())
            m_failed = "cannot write the screenshot " + m_options.screenshotDir + name;
    }

    const replay::Options& m_options;
    app::RunOutputs m_run;
    replay::AudioOut m_audio;
    std::string m_failed;
};

}  // namespace

int main(int argc, char** argv) {
    replay::Options options;
    std::string error;
    if (!replay::ParseOptions(argc, argv, options, error)) return Fail(error + "\n" + replay::Usage(), 2);
    if (options.help) {
        std::fputs(replay::Usage(), stdout);
        return 0;
    }

    app::InputScript script;
    app::RecordedGame recorded;
    if (!options.inputFile.empty() && !app::ReadInputScript(options.inputFile, script, recorded, error))
        return Fail(error, 2);
    // A recorded game plays as it was recorded: its seed and keys unless --seed
    // is given, its keys down at start, its length unless --frames is given.
    MainLoopOptions loop;
    std::vector<app::KeyCodesChange> keyChanges;  // the recording's changes of the key codes, when its keys are used
    if (recorded.recorded && !options.seed) {
        options.seed = recorded.seed;
        loop.keyCodes = recorded.keyCodes;
        keyChanges = recorded.keyChanges;
    }
    if (!options.frames) options.frames = recorded.frames;
    if (recorded.recorded && !options.frames) EndCutRecording(options.inputFile, script, options);

    // Output paths are taken from where the tool was started, before the data folder is entered.
    std::error_code ec;
    for (std::string* path :
         {&options.traceFile, &options.callsFile, &options.screenshotDir, &options.audioFile, &options.lastGameFile})
        if (!path->empty()) *path = std::filesystem::absolute(*path, ec).string();
    if (!options.screenshotDir.empty()) std::filesystem::create_directories(options.screenshotDir, ec);

    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0)
        return Fail("cannot enter the data folder \"" + options.dataDir + "\"", 2);
    PointLogToPlayerFolder();

    Recorder recorder(options);
    if (!recorder.Open(error)) return Fail(error, 1);
    replay::LastGameOut lastGame(options.lastGameFile);
    std::string lastGameError;

    media::headless::Install(true);
    app::UseEnglish(options.english);
    if (options.seed) media::headless::SetRandomSeed(*options.seed);
    media::headless::ReleaseAllKeys();
    for (int code : recorded.downAtStart) media::headless::SetKeyDown(code, true);
    if (options.frames && *options.frames == 0) media::headless::RequestQuit();

    // The loop counts its frames from 0; the replay's frame 1 is the loop's frame 0.
    loop.afterStart = [&](const KeyConfig& keys) {
        recorder.EndOfStart(keys);
        lastGame.EndOfStart(keys);
    };
    size_t nextKeyChange = 0;
    loop.beforeFrame = [&](uint64_t loopFrame) {
        const uint64_t frame = loopFrame + 1;
        if (nextKeyChange < keyChanges.size() && keyChanges[nextKeyChange].frame == frame)
            ChangeKeys(keyChanges[nextKeyChange++].codes);
        if (const app::KeyChange* change = script.ChangeAt(frame)) {
            media::headless::ReleaseAllKeys();
            for (int code : change->codes) media::headless::SetKeyDown(code, true);
        }
    };
    loop.keysChanged = [&](uint64_t loopFrame, const std::vector<int32_t>& codes) {
        lastGame.KeysChanged(loopFrame + 1, codes);
    };
    loop.afterFrame = [&](uint64_t loopFrame, CScene& scene) {
        const uint64_t frame = loopFrame + 1;
        recorder.EndOfFrame(frame, scene);
        lastGame.EndOfFrame(frame);
        // --frames: the loop ends after this frame.
        if (options.frames && frame >= *options.frames) media::headless::RequestQuit();
    };
    loop.afterLastFrame = [&](uint64_t loopFrame, CScene& scene) {
        recorder.EndOfRun(loopFrame + 1, scene);
        if (!lastGame.EndOfRun(loopFrame + 1, scene, lastGameError))
            lastGameError = "--write-last-game: " + lastGameError;
    };
    // --keep-state-every: the whole state written out and put back in place of the run's own, which must change
    // nothing.
    std::string keepError;
    loop.betweenFrames = [&](LoopState& state) { lastGame.Watch(state); };
    if (options.keepStateEvery > 0) {
        loop.betweenFrames = [&](LoopState& state) {
            lastGame.Watch(state);
            if (state.frames == 0 || state.frames % options.keepStateEvery != 0 || !keepError.empty()) return;
            std::string reason;
            if (!app::PutRunState(app::KeepRunState(state), state, reason)) {
                keepError =
                    "the state kept after frame " + std::to_string(state.frames) + " cannot be put back: " + reason;
                media::headless::RequestQuit();
            }
        };
    }
    const int status = RunMainLoop(loop);

    if (!recorder.Close(error)) return Fail(error, 1);
    if (!keepError.empty()) return Fail(keepError, 1);
    if (!lastGameError.empty()) return Fail(lastGameError, 1);
    if (status != 0) return Fail("the media layer could not start", 1);
    return 0;
}
