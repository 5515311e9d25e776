// The program's one function: start, the frame loop, shutdown.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CScene;
class GameData;
struct FramePacer;
struct KeyConfig;

// What the loop holds between two frames: with the system context, the stores
// and the media layer, the whole state of a run (see RunState.h).
struct LoopState {
    uint64_t frames = 0;  // frames run so far
    CScene* scene = nullptr;
    GameData* gameData = nullptr;
    KeyConfig* keyConfig = nullptr;
    FramePacer* pacer = nullptr;
};

struct MainLoopOptions {
    // Makes the scene for a scene-change code (1 title, 2 game); the game's own
    // scenes when empty. Called for the first scene with 1.
    std::function<CScene*(int code)> makeScene;
    // Called once when start-up is done (first scene begun, key file read), with
    // the keys in force, just before the loop's first message check; also when no frame runs.
    std::function<void(const KeyConfig& keys)> afterStart;
    // Frames count from 0 in 64 bits (no wrap in any real run).
    // Called at the start of every frame, before the keyboard snapshot.
    std::function<void(uint64_t frame)> beforeFrame;
    // Called at the end of every frame, after the scene switch and before the exit check.
    std::function<void(uint64_t frame, CScene& scene)> afterFrame;
    // Called before the first frame (after afterStart) and after every frame
    // (after afterFrame, before the exit check), with the loop's state: it may
    // keep that state, or put a kept one in force (a scene put in its place is
    // the loop's from then on, and so is the count of frames run).
    std::function<void(LoopState& state)> betweenFrames;
    // Called once when the loop has ended, with its last frame (after that
    // frame's afterFrame) and the scene it ended with; not called when no frame ran.
    std::function<void(uint64_t frame, CScene& scene)> afterLastFrame;
    // Called when key codes given to ChangeKeys are put in force, at the start
    // of frame `frame` (before its keyboard snapshot).
    std::function<void(uint64_t frame, const std::vector<int32_t>& codes)> keysChanged;
    // The key file read after the first scene's Begin; when it cannot be used
    // the default keys are taken (and the reason logged).
    std::string keyFile = "Data/KeyData.dat";
    // The key codes to start with instead of the key file's (a recorded game's).
    std::optional<std::vector<int32_t>> keyCodes;
};

// Puts these key codes in force from the next frame on, as a key file holding
// them would (gamepads too): the keys changed in the game, or a recorded change
// played again. The loop calls its keysChanged with that frame.
void ChangeKeys(const std::vector<int32_t>& codes);

// One frame of a scene as the loop runs it: Update, then Draw, as one batch of
// media operations (the media layer's lock is held across both, so each
// operation inside re-enters it cheaply and no other thread's operation falls
// between them).
void RunSceneFrame(CScene& scene);

// Runs the game: the system context (made here when the program has not made
// it yet), the long-lived objects, frames until Escape, a
// closed window or a scene-change code other than 0, 1, 2; then shutdown.
// Returns 0, or 1 when the media layer could not start. To run without a window,
// call media::headless::Install() first.
int RunMainLoop(const MainLoopOptions& options = {});
