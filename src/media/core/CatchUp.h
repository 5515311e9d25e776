// Catching up: the frames of a recorded game played again at full speed before
// the game goes on live. While it lasts, the frames are drawn but not shown,
// the clock is virtual (only Sleep moves it), the keyboard is what the program
// says, sound is silent and the window is looked at only now and then.
// Only the program's start-up uses this interface; none of it is a game
// operation or shows in the call trace.
#pragma once

#include <cstdint>

namespace media {

// Starts catching up; may come before InitMediaLayer (the keyboard arrays
// filled at start then read `keys` too). keys[k] = 1: DIK code k is down.
void BeginCatchUp(const uint8_t keys[256]);
// The keys GetKeyStateAll reports from now on while catching up.
void SetCatchUpKeys(const uint8_t keys[256]);
// How far it has come (0..1): once catching up has taken half a second, a bar
// in the window shows it (at most every 50 ms).
void ShowCatchUpProgress(double done);
// Goes live: the clock goes on from the virtual time, sounds played once are
// stopped (so that the game's live frames hear only their own), the music sounds.
void EndCatchUp();
bool CatchingUp();

// ------------------------------------------------ for the media layer itself

// Fills `keys` with the keys given while catching up; false (untouched) when live.
bool ReadCatchUpKeys(uint8_t keys[256]);
// The clock the game reads: the platform's, or the virtual one while catching up.
uint32_t GameMillis();
// Sets the clock the game reads to `millis` (a kept state put back); it goes on from there.
void SetGameMillis(uint32_t millis);
// Sleep on the game's clock; false when the platform should sleep.
bool SleepCaughtUp(uint32_t ms);
// True when ProcessMessage may skip looking at the window this time.
bool SkipMessagePump();

}  // namespace media
