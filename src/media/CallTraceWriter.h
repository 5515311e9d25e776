// The call trace file: JSON Lines, one object {"frame":f,"calls":[CALL,...]}
// per traced frame, holding the calls recorded since the previous frame's
// trace point (see CallRecorder.h). Frame 0 is start-up, up to the first frame.
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

    // Creates the file and starts the call recorder. Frames f with f % every == 0
    // are traced (every 0 counts as 1). False when the file cannot be made.
    bool Open(const std::string& path, uint64_t every);
    // The trace point of frame `frame`: writes the calls made since the previous
    // trace point when the frame is traced (frame 0, f % every == 0, or `last`),
    // else drops them.
    void EndFrame(uint64_t frame, bool last);
    // Stops the recorder and closes the file. False when a write failed.
    bool Close();

private:
    std::FILE* m_file = nullptr;
    uint64_t m_every = 1;
    bool m_failed = false;
};

}  // namespace media
