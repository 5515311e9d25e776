#include "media/sound/ByteSource.h"

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

#include "media/platform/Platform.h"

namespace media {

namespace {

class FileSource final : public ByteSource {
public:
    FileSource(std::FILE* file, int64_t size) : m_file(file), m_size(size) {}
    ~FileSource() override { std::fclose(m_file); }

    size_t Read(void* out, size_t size) override {
        const size_t got = std::fread(out, 1, size, m_file);
        m_position += static_cast<int64_t>(got);
        return got;
    }
    bool Seek(int64_t offset) override {
        offset = std::clamp<int64_t>(offset, 0, m_size);
        if (fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
        m_position = offset;
        return true;
    }
    int64_t Tell() const override { return m_position; }
    int64_t Size() const override { return m_size; }

private:
    std::FILE* m_file;
    int64_t m_size;
    int64_t m_position = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    size_t Read(void* out, size_t size) override {
        const size_t left = m_bytes.size() - m_position;
        const size_t n = std::min(size, left);
        if (n > 0) std::memcpy(out, m_bytes.data() + m_position, n);
        m_position += n;
        return n;
    }
    bool Seek(int64_t offset) override {
        m_position = static_cast<size_t>(std::clamp<int64_t>(offset, 0, static_cast<int64_t>(m_bytes.size())));
        return true;
    }
    int64_t Tell() const override { return static_cast<int64_t>(m_position); }
    int64_t Size() const override { return static_cast<int64_t>(m_bytes.size()); }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_position = 0;
};

// Reads the file into a buffer of its size, a chunk at a time as the reader
// gets near the end of what is in. A read far beyond that (a decoder looking
// for a tag at the end of the file) goes to the file and is not kept.
class HoldingSource final : public ByteSource {
public:
    // The system is asked to read the file ahead, so that the chunks are
    // seldom waited for.
    HoldingSource(std::FILE* file, int64_t size)
        : m_file(file), m_size(size), m_bytes(std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(size))) {
        posix_fadvise(fileno(m_file), 0, 0, POSIX_FADV_WILLNEED);
    }
    ~HoldingSource() override { CloseFile(); }

    size_t Read(void* out, size_t size) override {
        const int64_t want = std::min<int64_t>(m_position + static_cast<int64_t>(size), m_size);
        if (m_position > m_filled + kChunk) return ReadAside(out, want);
        if (want > m_filled) ReadUpTo(want);
        const size_t n = static_cast<size_t>(std::max<int64_t>(0, std::min(want, m_filled) - m_position));
        if (n > 0) std::memcpy(out, m_bytes.get() + m_position, n);
        m_position += static_cast<int64_t>(n);
        return n;
    }
    bool Seek(int64_t offset) override {
        m_position = std::clamp<int64_t>(offset, 0, m_size);
        return true;
    }
    int64_t Tell() const override { return m_position; }
    int64_t Size() const override { return m_size; }

private:
    static constexpr int64_t kChunk = 64 * 1024;

    // A file that turns out shorter than it was ends where it ends.
    void ReadUpTo(int64_t end) {
        if (!m_file || fseeko(m_file, static_cast<off_t>(m_filled), SEEK_SET) != 0) return;
        const int64_t target = std::min(m_size, std::max(end, m_filled + kChunk));
        const size_t got = std::fread(m_bytes.get() + m_filled, 1, static_cast<size_t>(target - m_filled), m_file);
        m_filled += static_cast<int64_t>(got);
        if (m_filled < target) m_size = m_filled;
        if (m_filled == m_size) CloseFile();
    }
    size_t ReadAside(void* out, int64_t end) {
        if (!m_file || end <= m_position || fseeko(m_file, static_cast<off_t>(m_position), SEEK_SET) != 0) return 0;
        const size_t got = std::fread(out, 1, static_cast<size_t>(end - m_position), m_file);
        m_position += static_cast<int64_t>(got);
        return got;
    }
    void CloseFile() {
        if (m_file) std::fclose(m_file);
        m_file = nullptr;
    }

    std::FILE* m_file;
    int64_t m_size;
    std::unique_ptr<uint8_t[]> m_bytes;
    int64_t m_filled = 0;
    int64_t m_position = 0;
};

std::FILE* OpenRegularFile(const std::string& path, int64_t& size) {
    CurrentPlatform().AwaitDataFile(path.c_str());
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {  // directories, pipes, devices
        std::fclose(file);
        return nullptr;
    }
    size = static_cast<int64_t>(info.st_size);
    return file;
}

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::string& path) {
    int64_t size = 0;
    std::FILE* file = OpenRegularFile(path, size);
    if (!file) return nullptr;
    return std::make_unique<FileSource>(file, size);
}

std::unique_ptr<ByteSource> LoadMemorySource(const std::string& path) {
    int64_t size = 0;
    std::FILE* file = OpenRegularFile(path, size);
    if (!file) return nullptr;
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::exception&) {
        std::fclose(file);
        return nullptr;
    }
    const size_t got = size > 0 ? std::fread(bytes.data(), 1, bytes.size(), file) : 0;
    std::fclose(file);
    bytes.resize(got);
    return std::make_unique<MemorySource>(std::move(bytes));
}

std::unique_ptr<ByteSource> OpenHoldingSource(const std::string& path) {
    int64_t size = 0;
    std::FILE* file = OpenRegularFile(path, size);
    if (!file) return nullptr;
    try {
        return std::make_unique<HoldingSource>(file, size);
    } catch (const std::exception&) {
        std::fclose(file);
        return nullptr;
    }
}

std::unique_ptr<ByteSource> MakeMemorySource(std::vector<uint8_t> bytes) {
    return std::make_unique<MemorySource>(std::move(bytes));
}

}  // namespace media
