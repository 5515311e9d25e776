// Loading, playing and freeing sounds.
#pragma once


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
