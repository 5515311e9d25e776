// Keeps every game as it is played, so that quitting, a closed window or a
// killed process never loses it: the run is recorded (LastGame.h) as it goes,
// a line at least every game day, and `anagura --continue` plays the last game
// again at full speed (core/CatchUp.h) and goes on live from its last frame,
// recording on into the same file.
//
// The recording is named last-game-ended.txt while no game is under way (the
// title) and last-game.txt while one is, so a run that ends on the title
// leaves nothing to continue and does not touch the game left before it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/GameRecorder.h"
#include "app/LastGame.h"

class CGameScene;
class CScene;
struct KeyConfig;
struct MainLoopOptions;

namespace app {

class LastGameKeeper {
public:
    // `folder`: the player's data folder (made when missing); "" keeps nothing.
    explicit LastGameKeeper(std::string folder);

    // Before the run, for --continue: reads the last game. When it can be
    // continued, its seed, keys and keys down at start are put in force
    // (`loop.keyCodes`, the media layer's catch-up) and true is returned.
    // `keyCodes`: the keys the run would have without it.
    bool PrepareContinue(MainLoopOptions& loop, const std::vector<int32_t>& keyCodes);
    // The end of start-up: says what PrepareContinue found, sets a bad
    // recording aside and starts recording. Nothing when the media layer did not
    // start (another copy runs: its files are left alone).
    void AfterStart(const KeyConfig& keys);
    // Frames are numbered from 1.
    void BeforeFrame(uint64_t frame);
    // True when frame `frame` is played live (not caught up).
    bool Live() const { return m_catchUpTo == 0; }
    void AfterFrame(uint64_t frame, CScene& scene);
    // The run's last frame was `frame`.
    void EndOfRun(uint64_t frame);

private:
    void Tell(const std::string& message) const;
    void GoLive(CScene& scene);
    void NoteScene(const CGameScene* game);

    bool m_enabled;
    LastGameFiles m_files;
    std::string m_stamp;
    bool m_asked = false;  // --continue
    LastGameRead m_found = LastGameRead::Nothing;
    std::string m_reason;
    ContinuedGame m_game;
    size_t m_nextChange = 0;   // the next key change to catch up
    uint64_t m_catchUpTo = 0;  // the last frame caught up; 0 when live
    uint8_t m_keys[256] = {};
    bool m_recording = false;
    bool m_inGame = false;  // the recording is last-game.txt
    int32_t m_day = 0;
    GameRecorder m_recorder;
};

}  // namespace app
