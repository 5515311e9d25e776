#include "media/sound/WavWriter.h"

#include <algorithm>
#include <bit>

#include "media/core/OutputFile.h"

namespace media {

namespace {

constexpr uint32_t kBitsPerSample = 16;
// A RIFF file cannot describe more than 4 GiB; larger sizes stay at this limit.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFD3u;

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

void MakeHeader(uint8_t h[44], int rate, int channels, uint32_t dataBytes) {
    const uint32_t frameBytes = static_cast<uint32_t>(channels) * kBitsPerSample / 8;
    std::copy_n("RIFF", 4, h);
    Put32(h + 4, 36 + dataBytes);
    std::copy_n("WAVEfmt ", 8, h + 8);
    Put32(h + 16, 16);
    Put16(h + 20, 1);  // PCM
    Put16(h + 22, static_cast<uint32_t>(channels));
    Put32(h + 24, static_cast<uint32_t>(rate));
    Put32(h + 28, static_cast<uint32_t>(rate) * frameBytes);
    Put16(h + 32, frameBytes);
    Put16(h + 34, kBitsPerSample);
    std::copy_n("data", 4, h + 36);
    Put32(h + 40, dataBytes);
}

}  // namespace

WavWriter::~WavWriter() {
    if (m_file) Close();
}

bool WavWriter::Open(const std::string& path, int sampleRate, int channels) {
    m_file = OpenOutputFile(path);
    if (!m_file) return false;
    m_dataBytes = 0;
    m_failed = false;
    m_rate = sampleRate;
    m_channels = channels;
    uint8_t header[44];
    MakeHeader(header, sampleRate, channels, 0);
    m_failed = std::fwrite(header, 1, sizeof header, m_file) != sizeof header;
    return !m_failed;
}

bool WavWriter::Write(const int16_t* samples, size_t count) {
    if (!m_file || m_failed) return false;
    if (count == 0) return true;  // an empty vector's data() may be null
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
    const uint32_t size = static_cast<uint32_t>(std::min(m_dataBytes, kMaxDataBytes));
    uint8_t header[44];
    MakeHeader(header, m_rate, m_channels, size);
    if (std::fseek(m_file, 0, SEEK_SET) != 0 || std::fwrite(header, 1, sizeof header, m_file) != sizeof header)
        m_failed = true;
    if (std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    return !m_failed;
}

bool WriteWavFile(const std::string& path, const std::vector<int16_t>& samples, int rate, int channels) {
    WavWriter writer;
    if (!writer.Open(path, rate, channels)) return false;
    writer.Write(samples.data(), samples.size());
    return writer.Close();
}

}  // namespace media
