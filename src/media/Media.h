// The media layer: the game's only door to the window, the screen, images,
// fonts, sounds, the keyboard, the clock and random numbers.
//
// Every operation takes the process-wide operation lock (core/OperationLock.h).
// Handles are positive 32-bit integers (core/HandleTable.h); -1 means failure or none,
// kBackScreen (-2) names the back screen and kFrontScreen (-4) the front screen.
// All strings are Shift-JIS (code page 932). Diagnostic lines go to "Log.txt" in
// the working folder.
// While the call recorder is on, the operations are recorded (core/CallRecorder.h):
// Media.cpp defines each recorded operation with the values it shows.
// The rooms beside this header hold the implementation: core/ (start-up and the
// message pump in MediaLifecycle.cpp, keyboard and clock, state, handles, lock,
// log), video/, text/, sound/, and the platforms the layer runs on (platform/
// the interface, sdl/ and headless/ the two backends).
#pragma once

#include <cstdint>

// ---------------------------------------------------------------- window and screen

// Records the screen size, depth and refresh (-1 keeps a value; the refresh rate
// is kept only, the display's own refresh paces the flips). 0 done; -1 when
// width/height is 0 or bits is not 8, 16 or 32; -2 when the mode could not be
// made and 640 x 480 x 16 is in force.
int SetScreenMode(int width, int height, int bitsPerPixel, int refreshRate);
// Client area = screen size x rate; 0 or NaN becomes 1.0; resizes a running window. Always 0.
int SetWindowScale(double rate);
// 1 windowed, 0 full screen. Logs "ChangeWindowMode実行 \n". 0, or -1 when the switch failed.
int ChangeWindowMode(int windowed);
// Opens window, screen, sound and keyboard; seeds the random generator. 0 started, -1 failed.
int InitMediaLayer();
// Closes everything InitMediaLayer opened and frees every image, font and sound. 0.
int EndMediaLayer();
// Pumps window messages, feeds streams, refreshes the keyboard; freezes while the
// window is inactive. 0 go on; -1 the window was closed (for ever after a failed start).
int ProcessMessage();
// The two screens' pseudo-handles, for SetDrawTarget and GetImageSize.
inline constexpr int kBackScreen = -2;
inline constexpr int kFrontScreen = -4;
// kBackScreen or kFrontScreen. 0, or -1 for any other value.
int SetDrawTarget(int target);
// Fills the draw target with black. 0.
int ClearScreen();
// Shows the back screen (waiting for the vertical blank where the platform does), never
// twice within one refresh period (see core/MediaLifecycle.cpp). 0; -1 without screen.
int FlipScreen();

// ---------------------------------------------------------------- colours

// Colour in the screen's pixel format (palette index nearest in RGB at 8 bits).
uint32_t MakeColor(int r, int g, int b);
// Images loaded from now on mark pixels of exactly this colour transparent. 0.
int SetTransparentColor(int r, int g, int b);

// ---------------------------------------------------------------- images

// Loads a BMP, PNG or JPEG file as one image; flag is ignored. Handle, or -1 (logged).
int LoadImageFile(const char* path, int flag);
// Cuts a picture into xCount x yCount cells of cellWidth x cellHeight, row by row,
// writing at most `total` handles (the rest of handlesOut is left alone); flag is ignored.
// 0, or -1 (logged; cells made so far are freed). total < 1 writes nothing and returns 0.
int LoadImageDivided(const char* path, int total, int xCount, int yCount, int cellWidth, int cellHeight,
                     int* handlesOut, int flag);
// Frees an image; logFlag nonzero logs its file name. 0; -1 for a bad handle.
int DeleteImage(int handle, int logFlag);
// Size of an image or of a screen (-2/-4). Either pointer may be null. 0; -1 for a bad handle.
int GetImageSize(int handle, int* width, int* height);

// ---------------------------------------------------------------- drawing

// Draws the whole image at (x, y); transparent != 0 skips colour-keyed pixels. 0; -1 bad handle.
int DrawImage(int x, int y, int handle, int transparent);
// As DrawImage, mirrored left-right. 0; -1 bad handle.
int DrawImageMirrored(int x, int y, int handle, int transparent);
// fill 1: fills [x1, x2) x [y1, y2); fill 0: one-pixel outline. Corners in any order. 0.
int DrawRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill);
// Blend modes: none writes the source; alpha writes source x param/255 +
// destination x (255 - param)/255.
inline constexpr int kBlendNone = 0;
inline constexpr int kBlendAlpha = 1;
// mode kBlendNone or kBlendAlpha; param clamped to 0..255. 0.
int SetBlendMode(int mode, int param);
// Each component clamped to 0..255; multiplies every source colour by c/255. 0.
int SetDrawBrightness(int r, int g, int b);
// The opacity and brightness of one draw.
struct DrawShade {
    int alpha = 255, r = 255, g = 255, b = 255;
};
// SetBlendMode(kBlendAlpha, shade.alpha), SetDrawBrightness(shade.r, shade.g,
// shade.b), then DrawImage (or DrawImageMirrored) with transparent 1, in one call:
// the usual draw of a display object. The call trace shows the three operations.
int DrawImageBlended(int x, int y, int handle, bool mirrored, const DrawShade& shade);

// ---------------------------------------------------------------- fonts and text

// -1 means 16. Brings the default font up to date. 0.
int SetDefaultFontSize(int size);
// -1 means 6. Brings the default font up to date. 0.
int SetDefaultFontThickness(int thickness);
// null = built-in face; charSet -1 = system default. Brings the default font up to date. 0.
int SetDefaultFontFace(const char* face, int charSet);
// Draws Shift-JIS text with its top-left at (x, y) with the default font; edgeColour is
// ignored (no edge is drawn). Always 0.
int DrawTextAt(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour);

// ---------------------------------------------------------------- sound

// 0 buffered, 1..3 streamed. 0; -1 for any other value (mode unchanged).
int SetSoundDataMode(int mode);
// Loads a WAV, MP3 or Ogg Vorbis file; bufferCount (clamped to 1..10) is how many plays of a
// buffered sound may overlap; unionHandle is ignored (always a new handle). Handle, or -1
// (logged with the path, reason on stderr once per file; files over 256 MB are refused
// unread; quiet while there is no sound output).
int LoadSound(const char* path, int bufferCount, int unionHandle);
// Play types: once and return when it has finished, once in the background, in
// a loop in the background.
inline constexpr int kPlayWait = 0;
inline constexpr int kPlayBackground = 1;
inline constexpr int kPlayLoop = 3;
// fromTop: start at the beginning, or go on from where the sound is.
inline constexpr int kFromTop = 1;
inline constexpr int kFromWhereItIs = 0;
// playType kPlayWait, kPlayBackground or kPlayLoop. 0; -1 on failure.
int PlaySoundHandle(int handle, int playType, int fromTop);
// Stops every buffer or the stream (what sounds fades out over 5 ms). 0; -1 bad handle.
int StopSoundHandle(int handle);
// volume 0..255 -> 1000 x log10(v/255) hundredths of a decibel, reached within 5 ms. 0; -1 bad handle.
int SetSoundVolume(int volume, int handle);
// Stops (fading out over 5 ms) and frees the sound; flag is ignored. 0; -1 bad handle.
int DeleteSound(int handle, int flag);

// ---------------------------------------------------------------- keyboard, clock, random

// keys[k] = 1 while the key with DIK scan code k is down, else 0. 0.
int GetKeyStateAll(uint8_t keys[256]);
// Monotonic millisecond clock, wrapping at 2^32; the argument is ignored.
uint32_t GetNowMillis(int unused);
// Sleeps ms milliseconds (the headless virtual clock advances instead).
void Sleep(int ms);
// Next MT19937 number scaled into 0..max: (r * (max + 1)) >> 32.
int GetRandom(int max);
