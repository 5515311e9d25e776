#include "app/RunOutputs.h"

#include "app/SystemContext.h"
#include "app/input/KeyConfig.h"
#include "media/core/Random.h"

namespace app {

bool RunOutputs::Open(const RunOutputFiles& files, std::string& error) {
    m_frames = 0;
    if (!files.record.empty() && !m_record.Open(files.record)) {
        error = "cannot write the recording \"" + files.record + "\"";
        return false;
    }
    if (!files.trace.empty() && !m_trace.Open(files.trace, files.traceEvery, files.live)) {
        error = "cannot write the trace \"" + files.trace + "\"";
        return false;
    }
    if (!files.calls.empty() && !m_calls.Open(files.calls, files.traceEvery)) {
        error = "cannot write the calls \"" + files.calls + "\"";
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
