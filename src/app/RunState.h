// A run's whole state between two frames, as bytes: the game data, the scene
// with every object it owns, the stores, the keys, the frame pacer, the key
// arrays and the media layer's part (core/MediaKeeping.h). Put back in a run of
// the same build with the same data, the frames that follow are the frames
// that followed in the run it was kept from: the same state after each, the
// same calls, the same pictures. Only the sounds differ: one that played
// starts again from its beginning.
#pragma once

#include <string>
#include <string_view>

#include "app/MainLoop.h"

namespace app {

// The state of the run the loop's state belongs to, now.
std::string KeepRunState(const LoopState& loop);

// Puts a state written by KeepRunState in force: the loop's scene and count of
// frames are replaced (the scene there was is freed). False with the reason in
// `reason` when the bytes are damaged or the state cannot be put back here (the
// game's language, the screen mode or the sound output differ, a picture or a
// sound no longer loads); the run is then left as it was.
bool PutRunState(std::string_view bytes, LoopState& loop, std::string& reason);

}  // namespace app
