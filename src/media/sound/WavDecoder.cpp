// RIFF WAVE files holding PCM: 8-bit unsigned or 16-bit signed, mono or stereo.
#include <algorithm>
#include <cstring>

#include "media/sound/AudioDecoder.h"

namespace media {

namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

class WavDecoder final : public AudioDecoder {
public:
    WavDecoder(std::unique_ptr<ByteSource> source, int rate, int channels, int bytesPerSample, int64_t dataOffset,
               int64_t frames)
        : m_source(std::move(source)),
          m_rate(rate),
          m_channels(channels),
          m_bytesPerSample(bytesPerSample),
          m_dataOffset(dataOffset),
          m_frames(frames) {}

    int Read(int16_t* out, int frames) override {
        int done = 0;
        while (done < frames && m_position < m_frames) {
            const int64_t want64 = std::min<int64_t>({frames - done, m_frames - m_position, kChunkFrames});
            const int want = static_cast<int>(want64);
            const size_t frameBytes = static_cast<size_t>(m_channels * m_bytesPerSample);
            const size_t got = m_source->Read(m_raw, static_cast<size_t>(want) * frameBytes);
            const int gotFrames = static_cast<int>(got / frameBytes);
            for (int i = 0; i < gotFrames; ++i) {
                const uint8_t* frame = m_raw + static_cast<size_t>(i) * frameBytes;
                const int16_t left = Sample(frame);
                const int16_t right = m_channels == 2 ? Sample(frame + m_bytesPerSample) : left;
                out[2 * (done + i)] = left;
                out[2 * (done + i) + 1] = right;
            }
            done += gotFrames;
            m_position += gotFrames;
            if (gotFrames < want) {  // the file is shorter than its header says
                m_frames = m_position;
                break;
            }
        }
        return done;
    }

    bool Rewind() override {
        m_position = 0;
        return m_source->Seek(m_dataOffset);
    }

    int Rate() const override { return m_rate; }

private:
    static constexpr int kChunkFrames = 1024;

    int16_t Sample(const uint8_t* p) const {
        if (m_bytesPerSample == 1) return static_cast<int16_t>((p[0] - 128) * 256);
        return static_cast<int16_t>(Le16(p));
    }

    std::unique_ptr<ByteSource> m_source;
    int m_rate, m_channels, m_bytesPerSample;
    int64_t m_dataOffset, m_frames;
    int64_t m_position = 0;
    uint8_t m_raw[kChunkFrames * 4];
};

}  // namespace

std::unique_ptr<AudioDecoder> OpenWavDecoder(std::unique_ptr<ByteSource> source) {
    if (!source || !source->Seek(0)) return nullptr;
    const int64_t fileSize = source->Size();
    uint8_t header[12];
    if (source->Read(header, 12) != 12 || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return nullptr;
    bool haveFormat = false;
    int channels = 0, rate = 0, bits = 0;
    int64_t dataOffset = -1, dataSize = 0;
    int64_t offset = 12;
    while (offset + 8 <= fileSize && (!haveFormat || dataOffset < 0)) {
        uint8_t chunk[8];
        if (!source->Seek(offset) || source->Read(chunk, 8) != 8) break;
        const int64_t size = Le32(chunk + 4);
        const int64_t body = offset + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            uint8_t fmt[40] = {};
            const size_t want = static_cast<size_t>(std::min<int64_t>(size, sizeof fmt));
            if (want < 16 || source->Read(fmt, want) != want) return nullptr;
            uint16_t tag = Le16(fmt);
            if (tag == 0xFFFE && want >= 26) tag = Le16(fmt + 24);  // extensible: the sub-format's tag
            if (tag != 1) return nullptr;                           // PCM only
            channels = Le16(fmt + 2);
            rate = static_cast<int>(Le32(fmt + 4));
            bits = Le16(fmt + 14);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            dataOffset = body;
            dataSize = std::min(size, fileSize - body);  // never beyond the end of the file
        }
        offset = body + size + (size & 1);
    }
    if (!haveFormat || dataOffset < 0) return nullptr;
    if (channels < 1 || channels > 2 || (bits != 8 && bits != 16) || rate < kMinSoundRate || rate > kMaxSoundRate)
        return nullptr;
    const int bytesPerSample = bits / 8;
    const int64_t frames = dataSize / (channels * bytesPerSample);
    if (!source->Seek(dataOffset)) return nullptr;
    return std::make_unique<WavDecoder>(std::move(source), rate, channels, bytesPerSample, dataOffset, frames);
}

}  // namespace media
