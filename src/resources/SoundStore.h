// The one sound store: looping music (one piece at a time, not restarted when
// asked again) and effects loaded from "sound/" on first use.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "objects/graphics/Tween.h"

class SoundStore {
public:
    static SoundStore* Instance();
    ~SoundStore();

    void LoadEffect(const char* name);
    // The handle stored under name, or 0 when absent.
    int32_t GetHandle(const char* name) const;
    void PlayEffect(const char* name);
    void PlayMusic(const char* name);
    void StopMusic();
    void ReleaseEffects();
    // The main loop's per-frame music-volume step: m_volume steps once, then
    // SetSoundVolume(trunc(value), m_music).
    void StepMusicVolume();

    std::map<std::string, int32_t> m_handles;
    Tween m_volume{0.0, 0.0, 0.0};
    int32_t m_music = 0;
    std::string m_musicName;

private:
    SoundStore();
};
