// The replay's --write-last-game: the last game the game itself would keep
// after the run's last frame (the recording in the last game's format, and the
// state kept beside it), so that long kept games can be made for tests and
// benchmarks without playing them in a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/GameRecorder.h"

class CScene;
struct KeyConfig;
struct LoopState;

namespace replay {

class LastGameOut {
public:
    // Keeps the game in `path` (and the state beside it) when the run ends; "" keeps nothing.
    explicit LastGameOut(std::string path) : m_path(std::move(path)) {}

    // The end of start-up, in the data folder, with the keys in force.
    void EndOfStart(const KeyConfig& keys);
    void KeysChanged(uint64_t frame, const std::vector<int32_t>& codes);
    void EndOfFrame(uint64_t frame);
    // The loop's state, from its first betweenFrames on.
    void Watch(const LoopState& loop) { m_loop = &loop; }
    // Writes the files after the last frame `frame`. False with the reason in
    // `error` when they cannot be written, or when no game is under way then
    // (the game would keep nothing to continue).
    bool EndOfRun(uint64_t frame, const CScene& scene, std::string& error);

private:
    std::string m_path;
    std::string m_stamp;
    app::GameRecorder m_recorder;
    const LoopState* m_loop = nullptr;
};

}  // namespace replay
