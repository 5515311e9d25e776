// The signals that ask the game to end (a closed terminal, Ctrl+C, kill, ...):
// the handler only notes the request; the message pump turns it into a close
// request between two frames, so the game ends as when its window is closed.
// SIGPIPE is ignored: a write to a closed pipe fails as a write instead.
#pragma once

namespace media {

// Installs the handlers; call once, before the window opens.
void CatchEndSignals();

// True once one of the signals has come. A second one of the same kind ends
// the program at once (its default action), should the clean end hang.
bool EndSignalCaught();

}  // namespace media
