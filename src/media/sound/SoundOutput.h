// The running sound output: the device (or the headless renderer), the mixer
// and the table of sound handles.
#pragma once

#include "media/core/HandleTable.h"
#include "media/sound/Mixer.h"
#include "media/sound/Sound.h"

namespace media {

constexpr int kMaxSounds = 4096;
constexpr int kPreferredSoundRate = 48000;

// True between a successful StartSoundOutput and EndSoundOutput.
bool SoundOutputRunning();
// Device rate in frames per second (0 when not running).
int SoundOutputRate();
// The mixer (null when not running).
Mixer* SoundMixer();
HandleTable<Sound>& SoundTable();

// The sound data mode for sounds loaded later (0 buffered, 1..3 streamed).
int& SoundDataMode();

}  // namespace media
