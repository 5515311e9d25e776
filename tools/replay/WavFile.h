// A 16-bit stereo PCM WAV file written as it grows; the header sizes are patched on Close.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace replay {

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool Open(const std::string& path, int sampleRate);
    // Appends interleaved L, R samples.
    bool Write(const int16_t* samples, size_t count);
    // Patches the sizes and closes; false when anything failed.
    bool Close();

private:
    FILE* m_file = nullptr;
    uint64_t m_dataBytes = 0;
    bool m_failed = false;
    int m_rate = 48000;
};

}  // namespace replay
