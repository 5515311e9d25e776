// 16-bit PCM WAV files: written as they grow (what the headless mixer heard,
// the replay tool's audio), or whole at once (test sounds, generated effects).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace media {

// Writes interleaved 16-bit frames as they come; the header's sizes are patched on Close.
class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // channels: 1 or 2. False when the file cannot be made.
    bool Open(const std::string& path, int sampleRate, int channels = 2);
    // Appends `count` samples, `channels` to a frame.
    bool Write(const int16_t* samples, size_t count);
    // Patches the sizes and closes; false when anything failed.
    bool Close();

private:
    FILE* m_file = nullptr;
    uint64_t m_dataBytes = 0;
    bool m_failed = false;
    int m_rate = 48000;
    int m_channels = 2;
};

// samples: interleaved, `channels` per frame (1 or 2). False when the file cannot be written.
bool WriteWavFile(const std::string& path, const std::vector<int16_t>& samples, int rate, int channels = 2);

}  // namespace media
