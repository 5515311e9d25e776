#include "replay/WavFile.h"

#include <algorithm>
#include <bit>

namespace replay {

namespace {

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

void MakeHeader(uint8_t h[44], int rate, uint32_t dataBytes) {
    const uint32_t channels = 2, bits = 16;
    std::copy_n("RIFF", 4, h);
    Put32(h + 4, 36 + dataBytes);
    std::copy_n("WAVEfmt ", 8, h + 8);
    Put32(h + 16, 16);
    Put16(h + 20, 1);  // PCM
    Put16(h + 22, channels);
    Put32(h + 24, static_cast<uint32_t>(rate));
    Put32(h + 28, static_cast<uint32_t>(rate) * channels * bits / 8);
    Put16(h + 32, channels * bits / 8);
    Put16(h + 34, bits);
    std::copy_n("data", 4, h + 36);
    Put32(h + 40, dataBytes);
}

}  // namespace

WavWriter::~WavWriter() {
    if (m_file) Close();
}

bool WavWriter::Open(const std::string& path, int sampleRate) {
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) return false;
    m_dataBytes = 0;
    m_failed = false;
    m_rate = sampleRate;
    uint8_t header[44];
    MakeHeader(header, sampleRate, 0);
    m_failed = std::fwrite(header, 1, sizeof header, m_file) != sizeof header;
    return !m_failed;
}

bool WavWriter::Write(const int16_t* samples, size_t count) {
    if (!m_file || m_failed) return false;
    if constexpr (std::endian::native == std::endian::little) {
        // The samples are in the file's byte order already.
        if (std::fwrite(samples, sizeof(int16_t), count, m_file) != count) m_failed = true;
    } else {
        uint8_t bytes[4096];
        for (size_t done = 0; done < count && !m_failed;) {
            const size_t n = std::min(count - done, sizeof bytes / 2);
            for (size_t i = 0; i < n; ++i) Put16(&bytes[2 * i], static_cast<uint16_t>(samples[done + i]));
            if (std::fwrite(bytes, 1, 2 * n, m_file) != 2 * n) m_failed = true;
            done += n;
        }
    }
    m_dataBytes += count * 2;
    return !m_failed;
}

bool WavWriter::Close() {
    if (!m_file) return false;
    // A RIFF file cannot describe more than 4 GiB; the sizes then stay at their limit.
    const uint32_t size = m_dataBytes > 0xFFFFFFD3u ? 0xFFFFFFD3u : static_cast<uint32_t>(m_dataBytes);
    uint8_t header[44];
    MakeHeader(header, m_rate, size);
    if (std::fseek(m_file, 0, SEEK_SET) != 0 || std::fwrite(header, 1, sizeof header, m_file) != sizeof header)
        m_failed = true;
    if (std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    return !m_failed;
}

}  // namespace replay
