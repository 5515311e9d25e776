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

    // Before the run, for --continue: reads the last game (or, with `from`, a
    // game saved elsewhere, which becomes the last game). When it can be
    // continued, its seed, keys and keys down at start are put in force
    // (`loop.keyCodes`, the media layer's catch-up) and true is returned.
    // `deviceKeys`: the keys of this player (the key file's, else the
    // defaults), in force from the game's last frame on.
    bool PrepareContinue(MainLoopOptions& loop, const std::vector<int32_t>& deviceKeys, const std::string& from = "");
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
    // The key codes in force change from frame `frame` on (the loop's keysChanged).
    void KeysChanged(uint64_t frame, const std::vector<int32_t>& codes);
    // True when frame `frame` is played live (not caught up).
    bool Live() const { return m_catchUpTo == 0; }
    void AfterFrame(uint64_t frame, CScene& scene);
    // The run's last frame was `frame`.
    void EndOfRun(uint64_t frame);

private:
    void Tell(const std::string& message) const;
    void GoLive(CScene& scene);
    void NoteScene(const CGameScene* game);
    // Reads the state kept beside `recording` when it matches the game read from it.
    void FindKeptState(const std::string& recording);
    void PutKeptState(LoopState& loop);
    // Keeps the state of the run after its frame loop.frames.
    void KeepState(const LoopState& loop);
    // Sets the last game aside as damaged, and says so.
    void SetAside();
    // The recording's file: last-game.txt while a game is under way, else last-game-ended.txt.
    const std::string& RecordingPath() const { return m_inGame ? m_files.current : m_files.ended; }
    // Writes the whole recording to its file, which the recorder then goes on
    // appending to. False (the game stays in memory) when it cannot.
    bool WriteRecording();
    // Says once that the game cannot be written, and tries again now and then.
    void KeepTrying(uint64_t frame);

    bool m_enabled;
    LastGameFiles m_files;
    std::string m_stamp;
    std::string m_statePath;  // last-game.state
    bool m_asked = false;     // --continue
    std::string m_from;       // --continue-from: the file the game comes from
    LastGameRead m_found = LastGameRead::Nothing;
    std::string m_reason;
    ContinuedGame m_game;
    std::vector<int32_t> m_deviceKeys;
    size_t m_nextChange = 0;     // the next change of the keys down to catch up
    size_t m_nextKeyChange = 0;  // the next change of the key codes to catch up
    uint64_t m_catchUpTo = 0;    // the last frame caught up; 0 when live
    uint8_t m_keys[256] = {};
    std::string m_keptFile;   // the kept state's file, when its state is to be put back
    std::string m_keptState;  // the run's state kept after frame m_keptFrame
    uint64_t m_keptFrame = 0;
    uint64_t m_keptAt = 0;               // the frame the state was last kept after in this run
    std::optional<uint64_t> m_pictures;  // the pictures' digest, once known
    const LoopState* m_loop = nullptr;   // the loop's state, from the first BetweenFrames on
    bool m_started = false;              // recording (the media layer started)
    bool m_inGame = false;               // the recording is last-game.txt
    bool m_behind = false;               // the file does not hold the whole recording
    bool m_failureTold = false;
    uint64_t m_retryAt = 0;
    std::string m_writeError;
    int32_t m_day = 0;
    GameRecorder m_recorder;
};

}  // namespace app
