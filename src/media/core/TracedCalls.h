// The traced form of each recorded public operation. While the call recorder
// is on, an operation's first step hands the call to its traced form, which
// runs the operation with recording suspended and then records it:
//
//     if (RecordingCalls()) return traced::DrawImage(x, y, handle, transparent);
//
// Not recorded: ProcessMessage, GetKeyStateAll, GetNowMillis, Sleep,
// GetImageSize, MakeColor (queries and plumbing).
#pragma once

#include <atomic>
#include <cstdint>

namespace media {

// True while the recorder is on and no recorded call is under way.
extern std::atomic<bool> g_recordingCalls;
inline bool RecordingCalls() { return g_recordingCalls.load(std::memory_order_relaxed); }

namespace traced {

int SetScreenMode(int width, int height, int bitsPerPixel, int refreshRate);
int SetWindowScale(double rate);
int ChangeWindowMode(int windowed);
int InitMediaLayer();
int EndMediaLayer();
int SetDrawTarget(int target);
int ClearScreen();
int FlipScreen();
int SetTransparentColor(int r, int g, int b);
int LoadImageFile(const char* path, int flag);
int LoadImageDivided(const char* path, int total, int xCount, int yCount, int cellWidth, int cellHeight,
                     int* handlesOut, int flag);
int DeleteImage(int handle, int logFlag);
int DrawImage(int x, int y, int handle, int transparent);
int DrawImageMirrored(int x, int y, int handle, int transparent);
int DrawRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill);
int SetBlendMode(int mode, int param);
int SetDrawBrightness(int r, int g, int b);
int SetDefaultFontSize(int size);
int SetDefaultFontThickness(int thickness);
int SetDefaultFontFace(const char* face, int charSet);
int DrawTextAt(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour);
int SetSoundDataMode(int mode);
int LoadSound(const char* path, int bufferCount, int unionHandle);
int PlaySoundHandle(int handle, int playType, int fromTop);
int StopSoundHandle(int handle);
int SetSoundVolume(int volume, int handle);
int DeleteSound(int handle, int flag);
int GetRandom(int max);

}  // namespace traced
}  // namespace media
