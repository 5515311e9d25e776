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
#include "media/video/Images.h"
#include "media/video/Renderer.h"

namespace {

using media::ImageArg;
using media::RecordedCall;
using media::ScreenArg;
using media::SoundArg;
using media::TextArg;
namespace op = media::op;

// While the recorder is on: the operation run with recording suspended, then
// written with the values shown.
template <typename Run, typename... Shown>
[[gnu::noinline]] int Recorded(const char* name, Run run, const Shown&... shown) {
    RecordedCall call;
    const int result = run();
    call.Write(name, shown...);
    return result;
}

// The same, with the result as the last value shown.
template <typename Run, typename... Shown>
[[gnu::noinline]] int RecordedWithResult(const char* name, Run run, const Shown&... shown) {
    RecordedCall call;
    const int result = run();
    call.Write(name, shown..., result);
    return result;
}

// Runs an operation; while the recorder is on, as one recorded call.
template <typename Run, typename... Shown>
[[gnu::always_inline]] inline int Op(const char* name, Run run, const Shown&... shown) {
    if (!media::RecordingCalls()) [[likely]]
        return run();
    return Recorded(name, run, shown...);
}

template <typename Run, typename... Shown>
[[gnu::always_inline]] inline int OpWithResult(const char* name, Run run, const Shown&... shown) {
    if (!media::RecordingCalls()) [[likely]]
        return run();
    return RecordedWithResult(name, run, shown...);
}

}  // namespace

// ---------------------------------------------------------------- window and screen

int SetScreenMode(int width, int height, int bitsPerPixel, int refreshRate) {
    return OpWithResult(
        "SetScreenMode", [&] { return op::SetScreenMode(width, height, bitsPerPixel, refreshRate); }, width, height,
        bitsPerPixel, refreshRate);
}

int SetWindowScale(double rate) {
    return Op(
        "SetWindowScale", [&] { return op::SetWindowScale(rate); }, rate);
}

int ChangeWindowMode(int windowed) {
    return OpWithResult(
        "ChangeWindowMode", [&] { return op::ChangeWindowMode(windowed); }, windowed);
}

int InitMediaLayer() {
    return OpWithResult("InitMediaLayer", [] { return op::InitMediaLayer(); });
}

int EndMediaLayer() {
    if (!media::RecordingCalls()) return op::EndMediaLayer();
    RecordedCall call;
    const int result = op::EndMediaLayer();
    call.EndAllSounds();
    call.Write("EndMediaLayer");
    return result;
}

int SetDrawTarget(int target) {
    return Op(
        "SetDrawTarget", [&] { return op::SetDrawTarget(target); }, ScreenArg{target});
}

int ClearScreen() {
    return Op("ClearScreen", [] { return op::ClearScreen(); });
}

int FlipScreen() {
    return Op("FlipScreen", [] { return op::FlipScreen(); });
}

// ---------------------------------------------------------------- colours

int SetTransparentColor(int r, int g, int b) {
    return Op(
        "SetTransparentColor", [&] { return op::SetTransparentColor(r, g, b); }, r, g, b);
}

// ---------------------------------------------------------------- images

int LoadImageFile(const char* path, int flag) {
    if (!media::RecordingCalls()) return op::LoadImageFile(path, flag);
    RecordedCall call;
    const int handle = op::LoadImageFile(path, flag);
    if (handle > 0) call.NameImage(handle, path, -1);
    call.Write("LoadImageFile", TextArg{path}, flag, ImageArg{handle});
    return handle;
}

int LoadImageDivided(const char* path, int total, int xCount, int yCount, int cellWidth, int cellHeight,
                     int* handlesOut, int flag) {
    if (!media::RecordingCalls())
        return op::LoadImageDivided(path, total, xCount, yCount, cellWidth, cellHeight, handlesOut, flag);
    RecordedCall call;
    const int result = op::LoadImageDivided(path, total, xCount, yCount, cellWidth, cellHeight, handlesOut, flag);
    // A load that succeeds writes one handle per cell until `total` are written or the grid is used up.
    if (result == 0 && total > 0) {
        const int64_t written = std::min<int64_t>(total, int64_t{xCount} * yCount);
        for (int64_t k = 0; k < written; ++k) call.NameImage(handlesOut[k], path, static_cast<int>(k));
    }
    call.Write("LoadImageDivided", TextArg{path}, total, xCount, yCount, cellWidth, cellHeight, flag, result);
    return result;
}

int DeleteImage(int handle, int logFlag) {
    return Op(
        "DeleteImage", [&] { return op::DeleteImage(handle, logFlag); }, ImageArg{handle}, logFlag);
}

// ---------------------------------------------------------------- drawing

int DrawImage(int x, int y, int handle, int transparent) {
    return Op(
        "DrawImage", [&] { return op::DrawImage(x, y, handle, transparent); }, x, y, ImageArg{handle}, transparent);
}

int DrawImageMirrored(int x, int y, int handle, int transparent) {
    return Op(
        "DrawImageMirrored", [&] { return op::DrawImageMirrored(x, y, handle, transparent); }, x, y, ImageArg{handle},
        transparent);
}

int DrawRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill) {
    return Op(
        "DrawRect", [&] { return op::DrawRect(x1, y1, x2, y2, colour, fill); }, x1, y1, x2, y2, colour, fill);
}

int SetBlendMode(int mode, int param) {
    return Op(
        "SetBlendMode", [&] { return op::SetBlendMode(mode, param); }, mode, param);
}

int SetDrawBrightness(int r, int g, int b) {
    return Op(
        "SetDrawBrightness", [&] { return op::SetDrawBrightness(r, g, b); }, r, g, b);
}

// Recorded as the three operations it stands for.
int DrawImageBlended(int x, int y, int handle, bool mirrored, const DrawShade& shade) {
    if (!media::RecordingCalls()) [[likely]]
        return op::DrawImageBlended(x, y, handle, mirrored, shade);
    SetBlendMode(kBlendAlpha, shade.alpha);
    SetDrawBrightness(shade.r, shade.g, shade.b);
    return mirrored ? DrawImageMirrored(x, y, handle, 1) : DrawImage(x, y, handle, 1);
}

// ---------------------------------------------------------------- fonts and text

int SetDefaultFontSize(int size) {
    return Op(
        "SetDefaultFontSize", [&] { return op::SetDefaultFontSize(size); }, size);
}

int SetDefaultFontThickness(int thickness) {
    return Op(
        "SetDefaultFontThickness", [&] { return op::SetDefaultFontThickness(thickness); }, thickness);
}

int SetDefaultFontFace(const char* face, int charSet) {
    return Op(
        "SetDefaultFontFace", [&] { return op::SetDefaultFontFace(face, charSet); }, TextArg{face}, charSet);
}

int DrawTextAt(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour) {
    return Op(
        "DrawTextAt", [&] { return op::DrawTextAt(x, y, text, colour, edgeColour); }, x, y, TextArg{text}, colour,
        edgeColour);
}

// ---------------------------------------------------------------- sound

int SetSoundDataMode(int mode) {
    return Op(
        "SetSoundDataMode", [&] { return op::SetSoundDataMode(mode); }, mode);
}

int LoadSound(const char* path, int bufferCount, int unionHandle) {
    if (!media::RecordingCalls()) return op::LoadSound(path, bufferCount, unionHandle);
    RecordedCall call;
    const int handle = op::LoadSound(path, bufferCount, unionHandle);
    if (handle > 0) call.NameSound(handle, path);
    call.Write("LoadSound", TextArg{path}, bufferCount, unionHandle, SoundArg{handle});
    return handle;
}

int PlaySoundHandle(int handle, int playType, int fromTop) {
    return Op(
        "PlaySoundHandle", [&] { return op::PlaySoundHandle(handle, playType, fromTop); }, SoundArg{handle}, playType,
        fromTop);
}

int StopSoundHandle(int handle) {
    return Op(
        "StopSoundHandle", [&] { return op::StopSoundHandle(handle); }, SoundArg{handle});
}

int SetSoundVolume(int volume, int handle) {
    return Op(
        "SetSoundVolume", [&] { return op::SetSoundVolume(volume, handle); }, volume, SoundArg{handle});
}

int DeleteSound(int handle, int flag) {
    if (!media::RecordingCalls()) return op::DeleteSound(handle, flag);
    RecordedCall call;
    const int result = op::DeleteSound(handle, flag);
    call.Write("DeleteSound", SoundArg{handle}, flag);
    if (result == 0) call.EndSound(handle);
    return result;
}

// ---------------------------------------------------------------- random

int GetRandom(int max) {
    return OpWithResult(
        "GetRandom", [&] { return op::GetRandom(max); }, max);
}
