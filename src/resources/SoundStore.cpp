#include "resources/SoundStore.h"

#include "objects/graphics/Truncate.h"
#include "media/Media.h"

namespace {

std::string SoundPath(const char* name) { return std::string("sound/") + name; }

}  // namespace

SoundStore* SoundStore::Instance() {
    static SoundStore store;
    return &store;
}

// The program starts the media layer before any store exists, so that it outlives the store.
SoundStore::SoundStore() = default;

SoundStore::~SoundStore() {
    StopMusic();  // also frees the effects
}

void SoundStore::LoadEffect(const char* name) {
    if (name == nullptr) return;
    if (m_handles.count(name) != 0) return;
    // A failed load is remembered as -1 and not retried until the effects are released.
    m_handles[name] = LoadSound(SoundPath(name).c_str(), 3, -1);
}

int32_t SoundStore::GetHandle(const char* name) const {
    if (name == nullptr) return 0;
    const auto it = m_handles.find(name);
    return it == m_handles.end() ? 0 : it->second;
}

void SoundStore::PlayEffect(const char* name) {
    LoadEffect(name);
    const int32_t handle = GetHandle(name);
    PlaySoundHandle(handle, kPlayBackground, kFromTop);
}

void SoundStore::PlayMusic(const char* name) {
    if (name == nullptr) return;
    const std::string path = SoundPath(name);
    if (path == m_musicName) return;  // already playing: no break, no volume change

    StopSoundHandle(m_music);
    DeleteSound(m_music, 0);
    m_music = 0;
    m_musicName.clear();
    m_volume = Tween{255.0, 255.0, 0.0};

    SetSoundDataMode(2);
    m_music = LoadSound(path.c_str(), 3, -1);
    SetSoundVolume(0, m_music);  // silent until the next volume step
    PlaySoundHandle(m_music, kPlayLoop, kFromTop);
    m_musicName = path;  // remembered even when the load failed: no retry
}

void SoundStore::StopMusic() {
    m_volume = Tween{0.0, 0.0, 0.0};
    StopSoundHandle(m_music);
    DeleteSound(m_music, 0);
    m_musicName.clear();
    m_music = 0;
    ReleaseEffects();
}

void SoundStore::ReleaseEffects() {
    for (const auto& [name, handle] : m_handles) DeleteSound(handle, 0);
    m_handles.clear();
}

void SoundStore::StepMusicVolume() {
    m_volume.Step();
    SetSoundVolume(TruncToInt(m_volume.value), m_music);
}
