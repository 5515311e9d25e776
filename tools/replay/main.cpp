// anagura-replay: runs the game's own main loop headless with a virtual clock,
// feeding keys from an input script, and records a JSON Lines trace, PNG
// screenshots and the mixed audio. Same seed and script, same run.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "app/MainLoop.h"
#include "app/Scene.h"
#include "app/SystemContext.h"
#include "media/CallTraceWriter.h"
#include "media/Headless.h"
#include "replay/AudioOut.h"
#include "replay/InputScript.h"
#include "replay/Options.h"
#include "replay/PngFile.h"
#include "replay/Trace.h"

namespace {

constexpr int kScreenWidth = 160;
constexpr int kScreenHeight = 120;
constexpr size_t kTraceFlushBytes = 1 << 20;
constexpr int kEscape = 1;

int Fail(const std::string& message, int status) {
    std::cerr << "anagura-replay: " << message << "\n";
    return status;
}

class Recorder {
public:
    explicit Recorder(const replay::Options& o) : m_options(o) {}

    bool Open(std::string& error) {
        if (!m_options.traceFile.empty()) {
            m_trace = std::fopen(m_options.traceFile.c_str(), "wb");
            if (!m_trace) {
                error = "cannot write the trace \"" + m_options.traceFile + "\"";
                return false;
            }
        }
        if (!m_options.callsFile.empty() && !m_calls.Open(m_options.callsFile, m_options.traceEvery)) {
            error = "cannot write the calls \"" + m_options.callsFile + "\"";
            return false;
        }
        if (!m_options.audioFile.empty() && !m_audio.Open(m_options.audioFile)) {
            error = "cannot write the audio \"" + m_options.audioFile + "\"";
            return false;
        }
        return true;
    }

    // The end of start-up: the calls made so far are frame 0's.
    void EndOfStart() { m_calls.EndFrame(0); }

    // The end of frame `frame`, after the loop's scene switch.
    void EndOfFrame(uint64_t frame, CScene& scene, bool last) {
        m_calls.EndFrame(frame);
        if (m_trace && (frame % m_options.traceEvery == 0 || last)) {
            replay::AppendTrace(m_buffer, frame, scene);
            if (m_buffer.size() >= kTraceFlushBytes) Flush();
        }
        if (!m_options.screenshotDir.empty() && frame % m_options.shotEvery == 0) Screenshot(frame);
        if (!m_options.audioFile.empty() && !m_audio.WriteFrame() && m_failed.empty())
            m_failed = "cannot write the audio";
    }

    // Finishes every output; false with the first failure in `error`.
    bool Close(std::string& error) {
        if (m_trace) {
            Flush();
            if (std::fclose(m_trace) != 0 && m_failed.empty()) m_failed = "cannot write the trace";
            m_trace = nullptr;
        }
        if (!m_options.audioFile.empty() && !m_audio.Close() && m_failed.empty()) m_failed = "cannot write the audio";
        if (!m_calls.Close() && m_failed.empty()) m_failed = "cannot write the calls";
        error = m_failed;
        return m_failed.empty();
    }

private:
    void Flush() {
        if (!m_buffer.empty() && std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_trace) != m_buffer.size() &&
            m_failed.empty())
            m_failed = "cannot write the trace";
        m_buffer.clear();
    }

    void Screenshot(uint64_t frame) {
        std::vector<uint32_t> pixels = media::headless::PresentedPixels();
        if (pixels.size() != static_cast<size_t>(kScreenWidth * kScreenHeight))
            pixels.assign(static_cast<size_t>(kScreenWidth * kScreenHeight), 0);  // nothing shown yet
        char name[32];
        std::snprintf(name, sizeof name, "/%08llu.png", static_cast<unsigned long long>(frame));
        if (!replay::WritePng(m_options.screenshotDir + name, pixels, kScreenWidth, kScreenHeight) &&
            m_failed.empty())
            m_failed = "cannot write the screenshot " + m_options.screenshotDir + name;
    }

    const replay::Options& m_options;
    FILE* m_trace = nullptr;
    std::string m_buffer;
    replay::AudioOut m_audio;
    media::CallTraceWriter m_calls;
    std::string m_failed;
};

}  // namespace

int main(int argc, char** argv) {
    replay::Options options;
    std::string error;
    if (!replay::ParseOptions(argc, argv, options, error)) return Fail(error + "\n" + replay::Usage(), 2);
    if (options.help) {
        std::cout << replay::Usage();
        return 0;
    }

    replay::InputScript script;
    if (!options.inputFile.empty()) {
        std::ifstream in(options.inputFile, std::ios::binary);
        if (!in) return Fail("cannot read the input script \"" + options.inputFile + "\"", 2);
        replay::ScriptError scriptError;
        if (!script.Parse(in, scriptError)) {
            if (scriptError.line == 0) return Fail(options.inputFile + ": " + scriptError.message, 2);
            return Fail(options.inputFile + ": line " + std::to_string(scriptError.line) + ": " +
                            scriptError.message + "; nothing was run",
                        2);
        }
    }

    // Output paths are taken from where the tool was started, before the data folder is entered.
    std::error_code ec;
    for (std::string* path : {&options.traceFile, &options.callsFile, &options.screenshotDir, &options.audioFile})
        if (!path->empty()) *path = std::filesystem::absolute(*path, ec).string();
    if (!options.screenshotDir.empty()) std::filesystem::create_directories(options.screenshotDir, ec);

    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0)
        return Fail("cannot enter the data folder \"" + options.dataDir + "\"", 2);

    Recorder recorder(options);
    if (!recorder.Open(error)) return Fail(error, 1);

    media::headless::Install(true);
    if (options.seed) media::headless::SetRandomSeed(*options.seed);
    media::headless::ReleaseAllKeys();
    if (options.frames && *options.frames == 0) media::headless::RequestQuit();

    MainLoopOptions loop;
    // The loop counts its frames from 0; the replay's frame 1 is the loop's frame 0.
    loop.afterStart = [&] { recorder.EndOfStart(); };
    loop.beforeFrame = [&](uint64_t loopFrame) {
        const uint64_t frame = loopFrame + 1;
        if (const replay::KeyChange* change = script.ChangeAt(frame)) {
            media::headless::ReleaseAllKeys();
            for (int code : change->codes) media::headless::SetKeyDown(code, true);
        }
    };
    loop.afterFrame = [&](uint64_t loopFrame, CScene& scene) {
        const uint64_t frame = loopFrame + 1;
        const KeyboardState& keys = *GetSystem()->keyboard;
        const bool stop = options.frames && frame >= *options.frames;
        const bool escape = keys.current[kEscape] == 1 || keys.previous[kEscape] == 1;
        recorder.EndOfFrame(frame, scene, stop || escape);
        if (stop) media::headless::RequestQuit();  // the loop ends after this frame
    };
    const int status = RunMainLoop(loop);

    if (!recorder.Close(error)) return Fail(error, 1);
    if (status != 0) return Fail("the media layer could not start", 1);
    return 0;
}
