// Ogg Vorbis through libvorbisfile; mono and stereo streams.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "media/sound/AudioDecoder.h"

namespace media {

namespace {

size_t ReadSource(void* out, size_t size, size_t count, void* handle) {
    if (size == 0) return 0;
    return static_cast<ByteSource*>(handle)->Read(out, size * count) / size;
}

int SeekSource(void* handle, ogg_int64_t offset, int whence) {
    ByteSource* source = static_cast<ByteSource*>(handle);
    int64_t target = offset;
    if (whence == SEEK_CUR) target += source->Tell();
    else if (whence == SEEK_END) target += source->Size();
    if (target < 0 || target > source->Size()) return -1;
    return source->Seek(target) ? 0 : -1;
}

long TellSource(void* handle) { return static_cast<long>(static_cast<ByteSource*>(handle)->Tell()); }

int16_t ToSample(float v) {
    const float scaled = std::lrintf(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
    return static_cast<int16_t>(scaled);
}

class VorbisDecoder final : public AudioDecoder {
public:
    explicit VorbisDecoder(std::unique_ptr<ByteSource> source) : m_source(std::move(source)) {}
    ~VorbisDecoder() override {
        if (m_open) ov_clear(&m_file);
    }

    bool Open() {
        const ov_callbacks callbacks = {ReadSource, SeekSource, nullptr, TellSource};
        if (ov_open_callbacks(m_source.get(), &m_file, nullptr, 0, callbacks) != 0) return false;
        m_open = true;
        const vorbis_info* info = ov_info(&m_file, -1);
        if (!info || info->channels < 1 || info->channels > 2) return false;
        m_rate = static_cast<int>(info->rate);
        return m_rate >= kMinSoundRate && m_rate <= kMaxSoundRate;
    }

    int Read(int16_t* out, int frames) override {
        int done = 0;
        int section = 0;
        int failures = 0;
        while (done < frames) {
            float** pcm = nullptr;
            const long got = ov_read_float(&m_file, &pcm, frames - done, &section);
            if (got == OV_HOLE && ++failures < 8) continue;  // a gap in the data: go on after it
            if (got <= 0) break;
            const vorbis_info* info = ov_info(&m_file, section);
            const bool stereo = info && info->channels >= 2;
            for (long i = 0; i < got; ++i) {
                out[2 * (done + i)] = ToSample(pcm[0][i]);
                out[2 * (done + i) + 1] = ToSample(stereo ? pcm[1][i] : pcm[0][i]);
            }
            done += static_cast<int>(got);
        }
        return done;
    }

    bool Rewind() override { return ov_pcm_seek(&m_file, 0) == 0; }
    int Rate() const override { return m_rate; }

private:
    std::unique_ptr<ByteSource> m_source;
    OggVorbis_File m_file{};
    bool m_open = false;
    int m_rate = 0;
};

}  // namespace

std::unique_ptr<AudioDecoder> OpenVorbisDecoder(std::unique_ptr<ByteSource> source) {
    if (!source) return nullptr;
    auto decoder = std::make_unique<VorbisDecoder>(std::move(source));
    if (!decoder->Open()) return nullptr;
    return decoder;
}

}  // namespace media
