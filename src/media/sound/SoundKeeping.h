// The sound handles of a kept state (core/MediaKeeping.h): each sound by its
// file, mode and buffers, its level and whether it plays, loaded again when the
// state is put back, in the slot and with the check value it had. A sound that
// played starts again from its beginning (a state is put back while catching
// up, when sounds wait silent anyway).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/core/HandleTable.h"
#include "media/core/StateArchive.h"
#include "media/sound/Sound.h"
#include "media/sound/SoundOutput.h"

namespace media {

struct KeptSound {
    std::string path;
    int32_t dataMode = 0;
    int32_t bufferCount = 0;
    int32_t level = 0;
    int32_t lastPlayType = 1;
    uint32_t lastStartMillis = 0;
    bool playing = false;
};

struct KeptSounds {
    bool outputRunning = false;
    int32_t dataMode = 0;  // for sounds loaded later
    HandleTable<Sound>::Layout layout;
    std::vector<KeptSound> sounds;  // in the order of layout.live
};

KeptSounds CaptureSounds();
void KeepSounds(StateArchive& archive, KeptSounds& kept);

struct PreparedSounds {
    KeptSounds kept;
    HandleTable<Sound> sounds{HandleType::Sound, kMaxSounds};
};

// Loads the sounds again; null with the reason in `reason` when sound output
// runs now and did not then (or the other way round), or a file no longer loads.
std::unique_ptr<PreparedSounds> PrepareSounds(KeptSounds kept, std::string& reason);
// Puts the prepared sounds in force; those there were stop and are freed.
void PutSounds(PreparedSounds& prepared);

}  // namespace media
