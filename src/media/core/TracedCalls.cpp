#include "media/core/TracedCalls.h"

#include <algorithm>

#include "media/Media.h"
#include "media/core/CallRecorder.h"

namespace media::traced {
namespace {

// Runs the operation with recording suspended, then records it with the values shown.
template <typename Op, typename... Shown>
int Plain(const char* name, Op op, const Shown&... shown) {
    RecordedCall call;
    const int result = op();
    call.Write(name, shown...);
    return result;
}

// The same, with the result as the last value shown.
template <typename Op, typename... Shown>
int WithResult(const char* name, Op op, const Shown&... shown) {
    RecordedCall call;
    const int result = op();
    call.Write(name, shown..., result);
    return result;
}

}  // namespace

int SetScreenMode(int width, int height, int bitsPerPixel, int refreshRate) {
    return WithResult(
        "SetScreenMode", [&] { return ::SetScreenMode(width, height, bitsPerPixel, refreshRate); }, width, height,
        bitsPerPixel, refreshRate);
}

int SetWindowScale(double rate) {
    return Plain(
        "SetWindowScale", [&] { return ::SetWindowScale(rate); }, rate);
}

int ChangeWindowMode(int windowed) {
    return WithResult(
        "ChangeWindowMode", [&] { return ::ChangeWindowMode(windowed); }, windowed);
}

int InitMediaLayer() {
    return WithResult("InitMediaLayer", [] { return ::InitMediaLayer(); });
}

int EndMediaLayer() {
    RecordedCall call;
    const int result = ::EndMediaLayer();
    call.EndAllSounds();
    call.Write("EndMediaLayer");
    return result;
}

int SetDrawTarget(int target) {
    return Plain(
        "SetDrawTarget", [&] { return ::SetDrawTarget(target); }, ScreenArg{target});
}

int ClearScreen() {
    return Plain("ClearScreen", [] { return ::ClearScreen(); });
}

int FlipScreen() {
    return Plain("FlipScreen", [] { return ::FlipScreen(); });
}

int SetTransparentColor(int r, int g, int b) {
    return Plain(
        "SetTransparentColor", [&] { return ::SetTransparentColor(r, g, b); }, r, g, b);
}

int LoadImageFile(const char* path, int flag) {
    RecordedCall call;
    const int handle = ::LoadImageFile(path, flag);
    if (handle > 0) call.NameImage(handle, path, -1);
    call.Write("LoadImageFile", TextArg{path}, flag, ImageArg{handle});
    return handle;
}

int LoadImageDivided(const char* path, int total, int xCount, int yCount, int cellWidth, int cellHeight,
                     int* handlesOut, int flag) {
    RecordedCall call;
    const int result = ::LoadImageDivided(path, total, xCount, yCount, cellWidth, cellHeight, handlesOut, flag);
    // A load that succeeds writes one handle per cell until `total` are written or the grid is used up.
    if (result == 0 && total > 0) {
        const int64_t written = std::min<int64_t>(total, int64_t{xCount} * yCount);
        for (int64_t k = 0; k < written; ++k) call.NameImage(handlesOut[k], path, static_cast<int>(k));
    }
    call.Write("LoadImageDivided", TextArg{path}, total, xCount, yCount, cellWidth, cellHeight, flag, result);
    return result;
}

int DeleteImage(int handle, int logFlag) {
    return Plain(
        "DeleteImage", [&] { return ::DeleteImage(handle, logFlag); }, ImageArg{handle}, logFlag);
}

int DrawImage(int x, int y, int handle, int transparent) {
    return Plain(
        "DrawImage", [&] { return ::DrawImage(x, y, handle, transparent); }, x, y, ImageArg{handle}, transparent);
}

int DrawImageMirrored(int x, int y, int handle, int transparent) {
    return Plain(
        "DrawImageMirrored", [&] { return ::DrawImageMirrored(x, y, handle, transparent); }, x, y, ImageArg{handle},
        transparent);
}

int DrawRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill) {
    return Plain(
        "DrawRect", [&] { return ::DrawRect(x1, y1, x2, y2, colour, fill); }, x1, y1, x2, y2, colour, fill);
}

int SetBlendMode(int mode, int param) {
    return Plain(
        "SetBlendMode", [&] { return ::SetBlendMode(mode, param); }, mode, param);
}

int SetDrawBrightness(int r, int g, int b) {
    return Plain(
        "SetDrawBrightness", [&] { return ::SetDrawBrightness(r, g, b); }, r, g, b);
}

int SetDefaultFontSize(int size) {
    return Plain(
        "SetDefaultFontSize", [&] { return ::SetDefaultFontSize(size); }, size);
}

int SetDefaultFontThickness(int thickness) {
    return Plain(
        "SetDefaultFontThickness", [&] { return ::SetDefaultFontThickness(thickness); }, thickness);
}

int SetDefaultFontFace(const char* face, int charSet) {
    return Plain(
        "SetDefaultFontFace", [&] { return ::SetDefaultFontFace(face, charSet); }, TextArg{face}, charSet);
}

int DrawTextAt(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour) {
    return Plain(
        "DrawTextAt", [&] { return ::DrawTextAt(x, y, text, colour, edgeColour); }, x, y, TextArg{text}, colour,
        edgeColour);
}

int SetSoundDataMode(int mode) {
    return Plain(
        "SetSoundDataMode", [&] { return ::SetSoundDataMode(mode); }, mode);
}

int LoadSound(const char* path, int bufferCount, int unionHandle) {
    RecordedCall call;
    const int handle = ::LoadSound(path, bufferCount, unionHandle);
    if (handle > 0) call.NameSound(handle, path);
    call.Write("LoadSound", TextArg{path}, bufferCount, unionHandle, SoundArg{handle});
    return handle;
}

int PlaySoundHandle(int handle, int playType, int fromTop) {
    return Plain(
        "PlaySoundHandle", [&] { return ::PlaySoundHandle(handle, playType, fromTop); }, SoundArg{handle}, playType,
        fromTop);
}

int StopSoundHandle(int handle) {
    return Plain(
        "StopSoundHandle", [&] { return ::StopSoundHandle(handle); }, SoundArg{handle});
}

int SetSoundVolume(int volume, int handle) {
    return Plain(
        "SetSoundVolume", [&] { return ::SetSoundVolume(volume, handle); }, volume, SoundArg{handle});
}

int DeleteSound(int handle, int flag) {
    RecordedCall call;
    const int result = ::DeleteSound(handle, flag);
    call.Write("DeleteSound", SoundArg{handle}, flag);
    if (result == 0) call.EndSound(handle);
    return result;
}

int GetRandom(int max) {
    return WithResult(
        "GetRandom", [&] { return ::GetRandom(max); }, max);
}

}  // namespace media::traced
