// The files a run of the game can write as it goes, for the game and the
// replay tool alike: the recorded game, the state trace and the call trace.
// Frames are numbered from 1, the first run of the loop's body.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/GameRecorder.h"
#include "app/StateTraceWriter.h"
#include "media/core/CallTraceWriter.h"

class CScene;
struct KeyConfig;

namespace app {

struct RunOutputFiles {
    std::string record;       // recorded game; "" for none
    std::string trace;        // state trace
    std::string calls;        // call trace
    uint64_t traceEvery = 1;  // selects the frames of both traces
    bool live = false;        // each traced frame reaches the state trace's file at once (a game
                              // played in real time: the file can be followed, and outlives a crash)
};

class RunOutputs {
public:
    // Creates the files asked for. False with a message in `error` when one cannot be made.
    bool Open(const RunOutputFiles& files, std::string& error);
    // The end of start-up, with the keys in force.
    void EndOfStart(const KeyConfig& keys);
    // The key codes in force change from frame `frame` on.
    void KeysChanged(uint64_t frame, const std::vector<int32_t>& codes) { m_record.KeysFrom(frame, codes); }
    // The end of frame `frame`, after the loop's scene switch.
    void EndOfFrame(uint64_t frame, CScene& scene);
    // The run's last frame was `frame`.
    void EndOfRun(uint64_t frame, CScene& scene);
    // Finishes every file. False with the first failure in `error`.
    bool Close(std::string& error);

private:
    // Says at once, on stderr and in the log, a file whose writing has failed.
    void SayFailures();

    RunOutputFiles m_files;
    bool m_failureSaid[3] = {};
    GameRecorder m_record;
    StateTraceWriter m_trace;
    media::CallTraceWriter m_calls;
    uint64_t m_frames = 0;
};

}  // namespace app
