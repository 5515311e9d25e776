// Keeps every game as it is played, so that quitting, a closed window or a
// killed process never loses it: the run is recorded (LastGame.h) as it goes,
// a line at least every game day, and `anagura --continue` plays the last game
// again at full speed (core/CatchUp.h) and goes on live from its last frame,
// recording on into the same file.
//
// So that a long game does not take long to continue, the run's whole state
// is kept beside the recording (KeptState.h) when the run ends and every minute
// of play: --continue puts it back and plays only the frames recorded after it.
//
// The recording is named last-game-ended.txt while no game is under way (the
// title) and last-game.txt while one is, so a run that ends on the title
// leaves nothing to continue and does not touch the game left before it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/GameRecorder.h"
#include "app/LastGame.h"

class CGameScene;
class CScene;
struct KeyConfig;
struct LoopState;
struct MainLoopOptions;

namespace app {

// A game is under way in the scene: a lost one (or none) leaves nothing to continue.
bool GameUnderWay(const CScene& scene);

// The kept state's file (KeptState.h) of the run the loop's state belongs to,
// as it is now (after its frame loop.frames), in the data of `stamp` and
// `pictures`, with `recording` the last game's bytes so far; "" when the
// recording does not reach that frame.
std::string KeptStateOfRun(const LoopState& loop, const std::string& recording, const std::string& stamp,
                           uint64_t pictures);

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
    // Before the first frame and after every frame (the main loop's
    // betweenFrames): puts the kept state back before the first, keeps the
    // state now and then while a game is played live.
    void BetweenFrames(LoopState& loop);
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
    // Reads the state kept beside the last game when it matches it.
    void FindKeptState();
    void PutKeptState(LoopState& loop);
    // Keeps the state of the run after its frame loop.frames.
    void KeepState(const LoopState& loop);

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
    std::string m_statePath;  // last-game.state
    std::string m_keptState;  // the run's state kept after frame m_keptFrame, to be put back
    uint64_t m_keptFrame = 0;
    uint64_t m_keptAt = 0;               // the frame the state was last kept after in this run
    std::optional<uint64_t> m_pictures;  // the pictures' digest, once known
    const LoopState* m_loop = nullptr;   // the loop's state, from the first BetweenFrames on
    bool m_recording = false;
    bool m_inGame = false;  // the recording is last-game.txt
    int32_t m_day = 0;
    GameRecorder m_recorder;
};

}  // namespace app
