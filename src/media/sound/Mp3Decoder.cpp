// MPEG audio (MP3) through libmpg123, with gapless decoding: the encoder's delay
// and padding are cut so that a piece made to loop loops without a gap.
#include <mpg123.h>

#include <sys/types.h>

#include <cstdio>
#include <mutex>

#include "media/sound/AudioDecoder.h"

namespace media {

namespace {

// Junk tolerated before the first frame (ID3 tags are skipped as a whole).
constexpr long kResyncLimit = 4096;

ssize_t ReadSource(void* handle, void* out, size_t size) {
    return static_cast<ssize_t>(static_cast<ByteSource*>(handle)->Read(out, size));
}

off_t SeekSource(void* handle, off_t offset, int whence) {
    ByteSource* source = static_cast<ByteSource*>(handle);
    int64_t target = offset;
    if (whence == SEEK_CUR) target += source->Tell();
    else if (whence == SEEK_END) target += source->Size();
    if (target < 0 || !source->Seek(target)) return -1;
    return static_cast<off_t>(source->Tell());
}

class Mp3Decoder final : public AudioDecoder {
public:
    Mp3Decoder(std::unique_ptr<ByteSource> source, mpg123_handle* handle, int rate)
        : m_source(std::move(source)), m_handle(handle), m_rate(rate) {}
    ~Mp3Decoder() override {
        mpg123_close(m_handle);
        mpg123_delete(m_handle);
    }

    int Read(int16_t* out, int frames) override {
        if (m_ended) return 0;
        size_t done = 0;
        const size_t wanted = static_cast<size_t>(frames) * 4;
        unsigned char* bytes = reinterpret_cast<unsigned char*>(out);
        while (done < wanted) {
            size_t got = 0;
            const int result = mpg123_read(m_handle, bytes + done, wanted - done, &got);
            done += got;
            if (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
                if (got == 0 && result == MPG123_OK) break;
                continue;
            }
            m_ended = true;  // MPG123_DONE or an error
            break;
        }
        return static_cast<int>(done / 4);
    }

    bool Rewind() override {
        m_ended = false;
        return mpg123_seek(m_handle, 0, SEEK_SET) >= 0;
    }

    int Rate() const override { return m_rate; }

private:
    std::unique_ptr<ByteSource> m_source;
    mpg123_handle* m_handle;
    int m_rate;
    bool m_ended = false;
};

}  // namespace

std::unique_ptr<AudioDecoder> OpenMp3Decoder(std::unique_ptr<ByteSource> source) {
    if (!source) return nullptr;
    static std::once_flag initOnce;
    std::call_once(initOnce, [] { mpg123_init(); });
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle) return nullptr;
    auto fail = [&]() -> std::unique_ptr<AudioDecoder> {
        mpg123_close(handle);
        mpg123_delete(handle);
        return nullptr;
    };
    mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_STEREO, 0);
    mpg123_param(handle, MPG123_RESYNC_LIMIT, kResyncLimit, 0);
    mpg123_param(handle, MPG123_REMOVE_FLAGS, MPG123_AUTO_RESAMPLE, 0);
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) mpg123_format(handle, rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_replace_reader_handle(handle, ReadSource, SeekSource, nullptr) != MPG123_OK) return fail();
    if (mpg123_open_handle(handle, source.get()) != MPG123_OK) return fail();
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK) return fail();
    if (rate < kMinSoundRate || rate > kMaxSoundRate || channels != 2 || encoding != MPG123_ENC_SIGNED_16)
        return fail();
    return std::make_unique<Mp3Decoder>(std::move(source), handle, static_cast<int>(rate));
}

}  // namespace media
