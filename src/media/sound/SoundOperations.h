// Loading, playing and freeing sounds.
#pragma once

#include <memory>
#include <string>

#include "media/sound/Sound.h"

namespace media {

// A sound made from its file as LoadSound makes it in sound data mode `mode`
// (without a handle); when it cannot be, no sound but the text of the log line
// (a format taking the path and the problem) and what is wrong with the file.
// Only while sound output runs.
struct SoundMade {
    std::unique_ptr<Sound> sound;
    const char* failure = nullptr;
    std::string problem;
};
SoundMade MakeSound(const char* path, int mode, int bufferCount);

}  // namespace media

namespace media::op {

// The work of the public operations of these names (their contracts are in
// Media.h), called by their definitions in Media.cpp, which record them.
int SetSoundDataMode(int mode);
int LoadSound(const char* path, int bufferCount, int unionHandle);
int PlaySoundHandle(int handle, int playType, int fromTop);
int StopSoundHandle(int handle);
int SetSoundVolume(int volume, int handle);
int DeleteSound(int handle, int flag);

}  // namespace media::op
