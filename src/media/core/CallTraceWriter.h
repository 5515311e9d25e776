// The call trace file: JSON Lines, one object {"frame":f,"calls":[CALL,...]}
// per traced frame, holding the calls recorded since the previous frame's
// trace point (see CallRecorder.h). Frame 0 is start-up, up to the first frame.
// Traced are frame 0, the frames f with f % every == 0, and the last frame run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace media {

class CallTraceWriter {
public:
    CallTraceWriter() = default;
    ~CallTraceWriter();
    CallTraceWriter(const CallTraceWriter&) = delete;
    CallTraceWriter& operator=(const CallTraceWriter&) = delete;

    // Creates the file and starts the call recorder (every 0 counts as 1).
    // False when the file cannot be made.
    bool Open(const std::string& path, uint64_t every);
    // The trace point of frame `frame`: the calls made since the previous trace
    // point belong to it. A frame that is not traced is held back until the next
    // trace point, in case it is the last one.
    void EndFrame(uint64_t frame);
    // Writes the last frame if it was held back, stops the recorder and closes
    // the file. False when a write failed.
    bool Close();
    // A write has failed (the file stays open; what follows is lost).
    bool Failed() const { return m_failed; }

private:
    void WriteFrame(uint64_t frame, const std::string& calls);

    std::FILE* m_file = nullptr;
    uint64_t m_every = 1;
    bool m_failed = false;
    bool m_held = false;
    uint64_t m_heldFrame = 0;
    std::string m_heldCalls;
};

}  // namespace media
