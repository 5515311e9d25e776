// The page around the game (page/anagura-page.js): its canvas, its sound, its
// notices and the data files it brings. The web platform's only way to it.
#pragma once

#include <cstdint>

namespace media::webpage {

// Shows a finished 32-bit RGBA picture on the canvas.
void ShowPicture(const uint8_t* rgba, int width, int height);
// Tells the page how long the game worked for the frame just shown, and how
// much of it was the picture's upload to the canvas (for measuring).
void NoteFrameWork(double millis, double uploadMillis);
// Returns at the browser's next animation frame (or after 100 ms in a hidden tab).
void AwaitAnimationFrame();
// The whole multiple the picture is shown at now.
int ShownScale();
// Says on the page that the game has ended.
void Ended();
// True while the tab is shown.
bool Visible();
// Asks the browser for fullscreen or back; false when it refused at once.
bool SetFullscreen(bool fullscreen);
// True while the page is fullscreen.
bool Fullscreen();
// The player pressed a key or clicked: the moment sound may be unlocked.
void PlayerGesture();
// Sound out at `rate` frames a second; the page pulls it through WebSoundPull.
bool OpenSound(int rate);
void CloseSound();
// True while the data file at `path` (relative to the data folder, or absolute) is on its way.
bool DataFilePending(const char* path);
// Shows or hides the page's "loading" line.
void ShowLoading(bool shown);
// Shows text above the picture (UTF-8 lines): the help panel, or else a
// notice across the picture's top; nothing when `lines` is empty.
void ShowOverlay(const char* lines, bool panel);

}  // namespace media::webpage

// Fills `frames` stereo int16 frames for the page's sound; returns where they are.
extern "C" int16_t* WebSoundPull(int frames);
// The page's touch controls: player button `button` (media/platform/InputSink.h:
// 0 up, 1 down, 2 right, 3 left, 4 decide, 5 cancel, 6 help, 7 settings,
// 8 fast-forward) went down (1) or up (0).
extern "C" void WebPlayerButton(int button, int down);
