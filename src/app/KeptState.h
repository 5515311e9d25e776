// The state kept beside the last game (last-game.state beside last-game.txt),
// so that continuing a game does not play all of it again: the whole state of
// the run (RunState.h) after one of its frames, with what it must match to be
// put back: the build, the data folder's names and sizes (the last game's
// stamp) and its pictures' bytes, and the recording up to that frame. The
// recording stays the truth: a state that does not match it, or cannot be read,
// is not used, and the game is played from its start as before.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/LastGame.h"

namespace app {

// The kept state's file beside a recording: "X.txt" becomes "X.state" (any other name gets ".state" added).
std::string KeptStatePath(const std::string& recordingPath);

// What of a recorded game decides its frames up to `frame`: its seed and keys,
// its keys down at start, each change of the keys down (Escape left out) and
// of the key codes, as one number.
uint64_t RecordingDigest(const ContinuedGame& game, uint64_t frame);

// The bytes of the pictures of the data folder that is the working folder (image/), as one number.
uint64_t PicturesDigest();

// A kept state's file: the state of a run after frame `frame` (KeepRunState)
// of the recorded game with that digest, in the data of `stamp` and `pictures`.
std::string KeptStateFile(const std::string& stamp, uint64_t pictures, uint64_t frame, uint64_t digest,
                          const std::string& runState);

// Reads a kept state's file for the recorded game `game` as it is now: true
// with the frame it was kept after and the run's state; false with the reason
// when it was kept by another build, with other data, of another game or of a
// frame the recording does not reach, or is damaged.
bool ReadKeptStateFile(std::string_view file, const std::string& stamp, const ContinuedGame& game, uint64_t& frame,
                       std::string& runState, std::string& reason);

}  // namespace app
