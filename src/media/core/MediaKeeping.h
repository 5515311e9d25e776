// The media layer's part of a kept state: everything of it the game can tell
// apart. The screens and the drawing state, the image and sound handles (slots,
// check values, what each was loaded from), the default font's settings, the
// random generator, the game's clock and the call recorder's names. Put back,
// the game's next calls get the same answers and make the same pixels as they
// would have in the run that was kept.
//
// Only the program's start-up and its tools use this; none of it is a game
// operation or shows in the call trace.
#pragma once

#include <memory>
#include <string>

#include "media/core/StateArchive.h"

namespace media {

// Writes the state as it is now.
void KeepMediaState(StateArchive& archive);

// A kept state read back, with its images and sounds loaded again: ready to be
// put in force, which then cannot fail.
class PreparedMediaState;
struct PreparedMediaDeleter {
    void operator()(PreparedMediaState* prepared) const;
};
using PreparedMedia = std::unique_ptr<PreparedMediaState, PreparedMediaDeleter>;

// Reads what KeepMediaState wrote; null with the reason in `reason` when it is
// damaged or cannot be put back here (another screen mode, sound then and none
// now, a file that no longer loads). The media layer is not changed.
PreparedMedia ReadMediaState(StateArchive& archive, std::string& reason);
// Puts a state read by ReadMediaState in force.
void PutMediaState(PreparedMedia prepared);

}  // namespace media
