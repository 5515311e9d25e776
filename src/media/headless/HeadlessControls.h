// Controls of the headless platform, for tests and tools. The headless platform
// has no window and no devices: the screen lives in memory, the keyboard is
// whatever the caller says, the clock may be virtual, sound is mixed on demand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/platform/InputSink.h"
#include "media/platform/OverlayText.h"
#include "media/platform/Platform.h"

namespace media::headless {

// Selects the headless platform; call before InitMediaLayer. With
// virtualClock the millisecond clock only moves through Sleep/AdvanceClock.
// Keys reach the game as they are (the shell in plain mode: no hotkeys, no panels).
void Install(bool virtualClock = true);
// The shell in player mode, as a window platform runs it (hotkeys, panels), on
// a platform of these traits; after Install, which undoes it.
void UsePlayerKeys(const PlatformTraits& traits);

// The headless sound device is pulled by RenderAudio, which feeds the streams
// first. With this set (before InitMediaLayer; Install clears it) streams are
// fed as beside a device that pulls by itself: by the media layer's feeder thread.
void FeedStreamsOnAThread(bool on);

// A key goes down or up, reported as a window reports it (down again while
// down is the system's repeat); true when the shell took it. The next
// GetKeyStateAll sees what the shell makes of it.
bool SetKeyDown(int dikCode, bool down);
// Every key down goes up.
void ReleaseAllKeys();
// A gamepad's or touch control's button goes down or up.
void SetButtonDown(ButtonSource source, PlayerButton button, bool down);
// The player resizes the window to this whole multiple.
void ChooseWindowScale(int scale);
// The overlay the platform was last given to show.
OverlayText ShownOverlay();

// Moves the virtual clock.
void AdvanceClock(uint32_t ms);

// Seed used by InitMediaLayer instead of the clock (unset: the clock value).
void SetRandomSeed(uint32_t seed);
void ClearRandomSeed();

// Name of the single-instance lock (tests run copies side by side).
void SetInstanceLockName(const std::string& name);

// Pushes a window-close request: the next ProcessMessage returns -1.
void RequestQuit();

// The last picture FlipScreen made visible, as 0xRRGGBB per pixel
// (width x height of the screen mode). Empty before the first flip.
std::vector<uint32_t> PresentedPixels();
// The back screen as it is now, 0xRRGGBB per pixel.
std::vector<uint32_t> BackScreenPixels();

// Mixes `frames` stereo frames at 48 kHz from every playing sound
// (interleaved L, R) and returns them; also feeds streams.
std::vector<int16_t> RenderAudio(int frames);
// The same into out (2 x frames samples; silence when no sound output runs).
void RenderAudio(int16_t* out, int frames);

}  // namespace media::headless
