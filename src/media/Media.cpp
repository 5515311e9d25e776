// The public operations of Media.h that the call trace lists, each defined here
// once: the room doing its work (the rooms' media::op functions) and the values
// the call recorder writes for it while it is on. A new operation is declared in
// Media.h and defined here; there is no other place that records calls.
//
// Not recorded (queries and plumbing), and so defined in their rooms: ProcessMessage,
// GetKeyStateAll, GetNowMillis, Sleep, GetImageSize, MakeColor.
#include "media/Media.h"

#include <algorithm>

#include "media/core/CallRecorder.h"
#include "media/core/MediaLifecycle.h"
#include "media/core/Random.h"
#include "media/sound/SoundOperations.h"
#include "media/text/DefaultFont.h"
#include "media/text/TextDrawing.h"
#include "media/video/Colour.h"
#include "media/video/DrawOperations.h"
#include "media/video/Images.h"

namespace {

using media::ImageArg;
using media::RecordedCall;
using media::ScreenArg;
using media::SoundArg;
using media::TextArg;
namespace op = media::op;

// While the recorder is on: the operation kRun run with recording suspended,
// then written by kWrite(call, result, arguments...).
template <auto kRun, auto kWrite, typename... Args>
[[gnu::noinline]] int Recorded(Args... args) {
    RecordedCall call;
    const int result = kRun(args...);
    kWrite(call, result, args...);
    return result;
}

// Runs an operation; while the recorder is on, as one recorded call. The usual
// way is a test and a jump to the room, the arguments left where they came.
template <auto kRun, auto kWrite, typename... Args>
[[gnu::always_inline]] inline int Op(Args... args) {
    if (media::RecordingCalls()) [[unlikely]]
        return Recorded<kRun, kWrite>(args...);
    return kRun(args...);
}

}  // namespace

// ---------------------------------------------------------------- window and screen

int SetScreenMode(int width, int height, int bitsPerPixel, int refreshRate) {
    return Op<op::SetScreenMode, [](RecordedCall& call, int result, int width, int height, int bits, int rate) {
        call.Write("SetScreenMode", width, height, bits, rate, result);
    }>(width, height, bitsPerPixel, refreshRate);
}

int SetWindowScale(double rate) {
    return Op<op::SetWindowScale, [](RecordedCall& call, int, double rate) { call.Write("SetWindowScale", rate); }>(
        rate);
}

int ChangeWindowMode(int windowed) {
    return Op<op::ChangeWindowMode, [](RecordedCall& call, int result, int windowed) {
        call.Write("ChangeWindowMode", windowed, result);
    }>(windowed);
}

int InitMediaLayer() {
    return Op<op::InitMediaLayer, [](RecordedCall& call, int result) { call.Write("InitMediaLayer", result); }>();
}

int EndMediaLayer() {
    return Op<op::EndMediaLayer, [](RecordedCall& call, int) {
        call.EndAllSounds();
        call.Write("EndMediaLayer");
    }>();
}

int SetDrawTarget(int target) {
    return Op<op::SetDrawTarget,
              [](RecordedCall& call, int, int target) { call.Write("SetDrawTarget", ScreenArg{target}); }>(target);
}

int ClearScreen() {
    return Op<op::ClearScreen, [](RecordedCall& call, int) { call.Write("ClearScreen"); }>();
}

int FlipScreen() {
    return Op<op::FlipScreen, [](RecordedCall& call, int) { call.Write("FlipScreen"); }>();
}

// ---------------------------------------------------------------- colours

int SetTransparentColor(int r, int g, int b) {
    return Op<op::SetTransparentColor, [](RecordedCall& call, int, int r, int g, int b) {
        call.Write("SetTransparentColor", r, g, b);
    }>(r, g, b);
}

// ---------------------------------------------------------------- images

int LoadImageFile(const char* path, int flag) {
    return Op<op::LoadImageFile, ([](RecordedCall& call, int handle, const char* path, int flag) {
                  if (handle > 0) call.NameImage(handle, path, -1);
                  call.Write("LoadImageFile", TextArg{path}, flag, ImageArg{handle});
              })>(path, flag);
}

int LoadImageDivided(const char* path, int total, int xCount, int yCount, int cellWidth, int cellHeight,
                     int* handlesOut, int flag) {
    return Op<op::LoadImageDivided, ([](RecordedCall& call, int result, const char* path, int total, int xCount,
                                        int yCount, int cellWidth, int cellHeight, int* handlesOut, int flag) {
                  // A load that succeeds writes one handle per cell until `total` are written or the grid is used up.
                  if (result == 0 && total > 0) {
                      const int64_t written = std::min<int64_t>(total, int64_t{xCount} * yCount);
                      for (int64_t k = 0; k < written; ++k) call.NameImage(handlesOut[k], path, static_cast<int>(k));
                  }
                  call.Write("LoadImageDivided", TextArg{path}, total, xCount, yCount, cellWidth, cellHeight, flag,
                             result);
              })>(path, total, xCount, yCount, cellWidth, cellHeight, handlesOut, flag);
}

int DeleteImage(int handle, int logFlag) {
    return Op<op::DeleteImage, [](RecordedCall& call, int, int handle, int logFlag) {
        call.Write("DeleteImage", ImageArg{handle}, logFlag);
    }>(handle, logFlag);
}

// ---------------------------------------------------------------- drawing

int DrawImage(int x, int y, int handle, int transparent) {
    return Op<op::DrawImage, [](RecordedCall& call, int, int x, int y, int handle, int transparent) {
        call.Write("DrawImage", x, y, ImageArg{handle}, transparent);
    }>(x, y, handle, transparent);
}

int DrawImageMirrored(int x, int y, int handle, int transparent) {
    return Op<op::DrawImageMirrored, [](RecordedCall& call, int, int x, int y, int handle, int transparent) {
        call.Write("DrawImageMirrored", x, y, ImageArg{handle}, transparent);
    }>(x, y, handle, transparent);
}

int DrawRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill) {
    return Op<op::DrawRect, [](RecordedCall& call, int, int x1, int y1, int x2, int y2, uint32_t colour, int fill) {
        call.Write("DrawRect", x1, y1, x2, y2, colour, fill);
    }>(x1, y1, x2, y2, colour, fill);
}

int SetBlendMode(int mode, int param) {
    return Op<op::SetBlendMode, [](RecordedCall& call, int, int mode, int param) {
        call.Write("SetBlendMode", mode, param);
    }>(mode, param);
}

int SetDrawBrightness(int r, int g, int b) {
    return Op<op::SetDrawBrightness, [](RecordedCall& call, int, int r, int g, int b) {
        call.Write("SetDrawBrightness", r, g, b);
    }>(r, g, b);
}

namespace {

// Recorded as the three operations it stands for.
[[gnu::noinline]] int DrawImageBlendedRecorded(int x, int y, int handle, bool mirrored, const DrawShade& shade) {
    SetBlendMode(kBlendAlpha, shade.alpha);
    SetDrawBrightness(shade.r, shade.g, shade.b);
    return mirrored ? DrawImageMirrored(x, y, handle, 1) : DrawImage(x, y, handle, 1);
}

}  // namespace

int DrawImageBlended(int x, int y, int handle, bool mirrored, const DrawShade& shade) {
    if (media::RecordingCalls()) [[unlikely]]
        return DrawImageBlendedRecorded(x, y, handle, mirrored, shade);
    return op::DrawImageBlended(x, y, handle, mirrored, shade);
}

// ---------------------------------------------------------------- fonts and text

int SetDefaultFontSize(int size) {
    return Op<op::SetDefaultFontSize,
              [](RecordedCall& call, int, int size) { call.Write("SetDefaultFontSize", size); }>(size);
}

int SetDefaultFontThickness(int thickness) {
    return Op<op::SetDefaultFontThickness, [](RecordedCall& call, int, int thickness) {
        call.Write("SetDefaultFontThickness", thickness);
    }>(thickness);
}

int SetDefaultFontFace(const char* face, int charSet) {
    return Op<op::SetDefaultFontFace, [](RecordedCall& call, int, const char* face, int charSet) {
        call.Write("SetDefaultFontFace", TextArg{face}, charSet);
    }>(face, charSet);
}

int DrawTextAt(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour) {
    return Op<op::DrawTextAt,
              [](RecordedCall& call, int, int x, int y, const char* text, uint32_t colour, uint32_t edgeColour) {
                  call.Write("DrawTextAt", x, y, TextArg{text}, colour, edgeColour);
              }>(x, y, text, colour, edgeColour);
}

// ---------------------------------------------------------------- sound

int SetSoundDataMode(int mode) {
    return Op<op::SetSoundDataMode, [](RecordedCall& call, int, int mode) { call.Write("SetSoundDataMode", mode); }>(
        mode);
}

int LoadSound(const char* path, int bufferCount, int unionHandle) {
    return Op<op::LoadSound, ([](RecordedCall& call, int handle, const char* path, int bufferCount, int unionHandle) {
                  if (handle > 0) call.NameSound(handle, path);
                  call.Write("LoadSound", TextArg{path}, bufferCount, unionHandle, SoundArg{handle});
              })>(path, bufferCount, unionHandle);
}

int PlaySoundHandle(int handle, int playType, int fromTop) {
    return Op<op::PlaySoundHandle, [](RecordedCall& call, int, int handle, int playType, int fromTop) {
        call.Write("PlaySoundHandle", SoundArg{handle}, playType, fromTop);
    }>(handle, playType, fromTop);
}

int StopSoundHandle(int handle) {
    return Op<op::StopSoundHandle,
              [](RecordedCall& call, int, int handle) { call.Write("StopSoundHandle", SoundArg{handle}); }>(handle);
}

int SetSoundVolume(int volume, int handle) {
    return Op<op::SetSoundVolume, [](RecordedCall& call, int, int volume, int handle) {
        call.Write("SetSoundVolume", volume, SoundArg{handle});
    }>(volume, handle);
}

int DeleteSound(int handle, int flag) {
    return Op<op::DeleteSound, [](RecordedCall& call, int result, int handle, int flag) {
        call.Write("DeleteSound", SoundArg{handle}, flag);
        if (result == 0) call.EndSound(handle);
    }>(handle, flag);
}

// ---------------------------------------------------------------- random

int GetRandom(int max) {
    return Op<op::GetRandom, [](RecordedCall& call, int result, int max) { call.Write("GetRandom", max, result); }>(
        max);
}
