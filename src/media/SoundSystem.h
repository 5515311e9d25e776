// Internal hooks of the sound part of the media layer, called by the rest of it.
#pragma once

namespace media {

// Starts sound output on the current platform (InitMediaLayer). False when there is no device.
bool StartSoundOutput();
// Stops output and frees every sound (EndMediaLayer).
void EndSoundOutput();
// Decodes ahead for every playing stream (ProcessMessage, and while frozen).
void FeedStreams();

}  // namespace media
