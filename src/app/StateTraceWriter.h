// The state trace file (StateTrace.h): JSON Lines, one object per traced frame.
// Traced are the frames f with f % every == 0, and the last frame run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class CScene;

namespace app {

class StateTraceWriter {
public:
    StateTraceWriter() = default;
    ~StateTraceWriter();
    StateTraceWriter(const StateTraceWriter&) = delete;
    StateTraceWriter& operator=(const StateTraceWriter&) = delete;

    // Creates the file (every 0 counts as 1). False when it cannot be made.
    // `live`: every traced frame is written out at once instead of in large blocks.
    bool Open(const std::string& path, uint64_t every, bool live = false);
    // The end of frame `frame`, after the loop's scene switch.
    void EndFrame(uint64_t frame, CScene& scene);
    // The end of the run: `frame` was the last frame run; traced unless it was already.
    void EndRun(uint64_t frame, CScene& scene);
    // Writes what is left and closes the file. False when a write failed.
    bool Close();
    // A write has failed (the file stays open; what follows is lost).
    bool Failed() const { return m_failed; }

private:
    void Append(uint64_t frame, CScene& scene);
    void Flush();

    std::FILE* m_file = nullptr;
    uint64_t m_every = 1;
    bool m_live = false;
    bool m_lastTraced = false;  // the frame last ended was traced
    bool m_failed = false;
    std::string m_buffer;
};

}  // namespace app
