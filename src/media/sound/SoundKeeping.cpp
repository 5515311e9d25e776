#include "media/sound/SoundKeeping.h"

#include "media/core/OperationLock.h"
#include "media/core/TableKeeping.h"
#include "media/sound/BufferedSound.h"
#include "media/sound/SoundOperations.h"
#include "media/sound/SoundSystem.h"

namespace media {

KeptSounds CaptureSounds() {
    OperationGuard guard;
    KeptSounds kept;
    kept.outputRunning = SoundOutputRunning();
    kept.dataMode = SoundDataMode();
    kept.layout = SoundTable().GetLayout();
    SoundTable().ForEachListed([&kept](int32_t, Sound& sound) {
        kept.sounds.push_back({sound.path, sound.dataMode, sound.bufferCount, sound.level, sound.lastPlayType,
                               sound.lastStartMillis, sound.IsPlaying()});
    });
    return kept;
}

void KeepSounds(StateArchive& archive, KeptSounds& kept) {
    archive.Value(kept.outputRunning);
    archive.Value(kept.dataMode);
    KeepLayout<Sound>(archive, kept.layout, kMaxSounds);
    kept.sounds.resize(archive.Count(kept.sounds.size(), kMaxSounds));
    for (KeptSound& sound : kept.sounds) {
        archive.Value(sound.path);
        archive.Value(sound.dataMode);
        archive.Value(sound.bufferCount);
        archive.Value(sound.level);
        archive.Value(sound.lastPlayType);
        archive.Value(sound.lastStartMillis);
        archive.Value(sound.playing);
    }
}

std::unique_ptr<PreparedSounds> PrepareSounds(KeptSounds kept, std::string& reason) {
    OperationGuard guard;
    if (kept.outputRunning != SoundOutputRunning()) {
        reason = kept.outputRunning ? "it was kept with sound, and there is none now"
                                    : "it was kept without sound, and there is sound now";
        return nullptr;
    }
    if (kept.dataMode < 0 || kept.dataMode > 3 || (!kept.outputRunning && !kept.sounds.empty())) {
        reason = "its sound data mode is damaged";
        return nullptr;
    }
    auto prepared = std::make_unique<PreparedSounds>();
    std::vector<std::unique_ptr<Sound>> sounds;
    for (const KeptSound& sound : kept.sounds) {
        const bool valid = sound.dataMode >= 0 && sound.dataMode <= 3 && sound.bufferCount >= 0 &&
                           sound.bufferCount <= 4096 && sound.level >= -10000 && sound.level <= 0 &&
                           (sound.lastPlayType == 0 || sound.lastPlayType == 1 || sound.lastPlayType == 3);
        SoundMade made;
        if (valid) made = MakeSound(sound.path.c_str(), sound.dataMode, sound.bufferCount);
        if (!made.sound) {
            reason = "the sound " + sound.path + " cannot be loaded";
            return nullptr;
        }
        made.sound->lastPlayType = sound.lastPlayType;  // the gain depends on it
        made.sound->SetLevel(sound.level);
        made.sound->level = sound.level;
        made.sound->lastStartMillis = sound.lastStartMillis;
        sounds.push_back(std::move(made.sound));
    }
    if (!prepared->sounds.Rebuild(kept.layout, std::move(sounds))) {
        reason = "its sound handles are damaged";
        return nullptr;
    }
    prepared->kept = std::move(kept);
    return prepared;
}

void PutSounds(PreparedSounds& prepared) {
    OperationGuard guard;
    SoundTable().ForEach([](int32_t, Sound& sound) { sound.Stop(); });
    std::swap(SoundTable(), prepared.sounds);
    SoundDataMode() = prepared.kept.dataMode;
    size_t k = 0;
    SoundTable().ForEachListed([&](int32_t, Sound& sound) {
        const KeptSound& kept = prepared.kept.sounds[k++];
        if (kept.playing) sound.Play(kept.lastPlayType == 3 ? 3 : 1, true);
        sound.lastPlayType = kept.lastPlayType;
        sound.lastStartMillis = kept.lastStartMillis;
    });
    prepared.sounds.Clear();
    KeepStreamsFed();
}

}  // namespace media
