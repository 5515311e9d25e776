// The call recorder: the list of the media layer's public operations as the
// game calls them, each as a JSON array (name, arguments, result where it
// counts), for checking the game call by call. Off, it costs each operation
// one test of a flag.
//
// Images and sounds are named by the loads that made them: "PATH" for a
// LoadImageFile handle, "PATH#k" for the k-th handle of a LoadImageDivided,
// "back" / "front" for the screens, "PATH" or "PATH@n" for a LoadSound handle
// (n from 2 for further loads of a path whose earlier loads are still alive:
// the lowest n no live sound of that path has). Names outlive DeleteImage and
// DeleteSound; a handle number made again takes its new name; any other value
// is written as the integer. Strings are Shift-JIS converted to UTF-8.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "media/core/OperationLock.h"

namespace media {

// True while the recorder is on and no recorded call is under way.
extern std::atomic<bool> g_recordingCalls;
inline bool RecordingCalls() { return g_recordingCalls.load(std::memory_order_relaxed); }

// Starts recording with no names and no calls (again from scratch when on).
void StartCallRecorder();
// Stops recording; calls not yet taken are dropped.
void StopCallRecorder();
// The calls recorded since the previous take, as JSON arrays separated by ','.
std::string TakeRecordedCalls();

// The names the recorder has given (UTF-8), to be kept with a run's state and
// put back with it: by handle, the image and sound names, and for each live
// sound its path and number (1 for "PATH", n for "PATH@n").
struct CallNames {
    std::map<int32_t, std::string> images;
    std::map<int32_t, std::string> sounds;
    std::map<int32_t, std::pair<std::string, int32_t>> liveSounds;
};
// False (nothing given) while the recorder is off.
bool CurrentCallNames(CallNames& names);
// Replaces the recorder's names (nothing while it is off).
void PutCallNames(const CallNames& names);

// How an argument is written.
struct ImageArg {
    int handle;
};
struct SoundArg {
    int handle;
};
struct ScreenArg {
    int target;
};  // "back", "front" or the integer
struct TextArg {
    const char* sjis;
};  // null is written as null

// One recorded call, made by the operation's definition in Media.cpp: from construction
// to destruction it holds the operation lock and suspends recording, so the
// operation's own calls into the media layer are not recorded.
class RecordedCall {
public:
    RecordedCall();
    ~RecordedCall();
    RecordedCall(const RecordedCall&) = delete;
    RecordedCall& operator=(const RecordedCall&) = delete;

    // Appends ["name", args...].
    template <typename... Args>
    void Write(const char* name, const Args&... args) {
        Open(name);
        (Put(args), ...);
        Close();
    }

    // Names the handles a load made. cell -1: the whole file.
    void NameImage(int handle, const char* path, int cell);
    void NameSound(int handle, const char* path);
    // The sound is no longer alive (its name stays).
    void EndSound(int handle);
    void EndAllSounds();

private:
    void Open(const char* name);
    void Close();
    void Put(int v);
    void Put(uint32_t v);
    void Put(double v);
    void Put(ImageArg a);
    void Put(SoundArg a);
    void Put(ScreenArg a);
    void Put(TextArg a);

    OperationGuard m_guard;
};

}  // namespace media
