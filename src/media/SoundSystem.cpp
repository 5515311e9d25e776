// Placeholder until the mixer lands: no sound output, every load fails.
#include "media/SoundSystem.h"

#include "media/Media.h"

namespace media {
bool StartSoundOutput() { return false; }
void EndSoundOutput() {}
void FeedStreams() {}
}  // namespace media

int SetSoundDataMode(int mode) { return (mode >= 0 && mode <= 3) ? 0 : -1; }
int LoadSound(const char*, int, int) { return -1; }
int PlaySoundHandle(int, int, int) { return -1; }
int StopSoundHandle(int) { return -1; }
int SetSoundVolume(int, int) { return -1; }
int DeleteSound(int, int) { return -1; }
