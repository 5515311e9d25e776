#include "app/RunOutputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/SystemContext.h"
#include "app/input/KeyConfig.h"
#include "media/core/Log.h"
#include "media/core/Random.h"

namespace app {

namespace {

std::string Reason() { return std::string(" (") + std::strerror(errno) + ")"; }

}  // namespace

bool RunOutputs::Open(const RunOutputFiles& files, std::string& error) {
    m_files = files;
    m_frames = 0;
    if (!files.record.empty() && !m_record.Open(files.record)) {
        error = "cannot write the recording \"" + files.record + "\"" + Reason();
        return false;
    }
    if (!files.trace.empty() && !m_trace.Open(files.trace, files.traceEvery, files.live)) {
        error = "cannot write the trace \"" + files.trace + "\"" + Reason();
        return false;
    }
    if (!files.calls.empty() && !m_calls.Open(files.calls, files.traceEvery)) {
        error = "cannot write the calls \"" + files.calls + "\"" + Reason();
        return false;
    }
    return true;
}

void RunOutputs::EndOfStart(const KeyConfig& keys) {
    m_calls.EndFrame(0);
    m_record.Begin(media::RandomSeed(), keys.keys, GetSystem()->keyboard->current);
}

void RunOutputs::EndOfFrame(uint64_t frame, CScene& scene) {
    m_frames = frame;
    m_calls.EndFrame(frame);
    m_trace.EndFrame(frame, scene);
    m_record.EndFrame(frame, GetSystem()->keyboard->current);
    if (m_record.Failed() || m_trace.Failed() || m_calls.Failed()) SayFailures();
}

void RunOutputs::SayFailures() {
    const struct {
        bool failed;
        const std::string& path;
        const char* what;
    } files[] = {{m_record.Failed(), m_files.record, "recording"},
                 {m_trace.Failed(), m_files.trace, "trace"},
                 {m_calls.Failed(), m_files.calls, "calls"}};
    for (size_t i = 0; i < 3; ++i) {
        if (!files[i].failed || m_failureSaid[i]) continue;
        m_failureSaid[i] = true;
        const std::string message = std::string("cannot write the ") + files[i].what + " \"" + files[i].path +
                                    "\": the game plays on without it";
        std::fprintf(stderr, "anagura: %s\n", message.c_str());
        media::LogLine("%s", message.c_str());
    }
    if (m_record.Failed()) m_record.Abandon();  // a part of a game is no recording of it
}

void RunOutputs::EndOfRun(uint64_t frame, CScene& scene) { m_trace.EndRun(frame, scene); }

bool RunOutputs::Close(std::string& error) {
    m_record.EndRun(m_frames);
    const struct {
        bool ok;
        const char* what;
    } closed[] = {
        {m_record.Close(), "the recording"}, {m_trace.Close(), "the trace"}, {m_calls.Close(), "the calls"}};
    for (const auto& c : closed)
        if (!c.ok) {
            error = std::string("cannot write ") + c.what;
            return false;
        }
    return true;
}

}  // namespace app
