// Internal hooks of the sound part of the media layer, called by the rest of it.
#pragma once

namespace media {

// Starts sound output on the current platform (InitMediaLayer). False when there is no device.
bool StartSoundOutput();
// Stops output and frees every sound (EndMediaLayer).
void EndSoundOutput();
// Decodes ahead for every playing stream until its ring is full (the headless
// device's pull; tests).
void FeedStreams();
// Sees that the playing streams get fed: wakes the feeder beside a device that
// pulls by itself when a stream has started or runs low (ProcessMessage,
// PlaySoundHandle). Decodes nothing on the calling thread.
void KeepStreamsFed();

// While silenced (also when set before the output starts) the output is
// silence and what plays waits where it is (catching up, core/CatchUp.h).
void SilenceSound(bool on);
// Stops every sound whose last play was not a loop.
void StopSoundsPlayedOnce();

}  // namespace media
