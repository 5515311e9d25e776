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
    FileSource(std::FILE* file, int64_t size) : file_(file), size_(size) {}
    ~FileSource() override { std::fclose(file_); }

    size_t Read(void* out, size_t size) override {
        const size_t got = std::fread(out, 1, size, file_);
        position_ += static_cast<int64_t>(got);
        return got;
    }
    bool Seek(int64_t offset) override {
        offset = std::clamp<int64_t>(offset, 0, size_);
        if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
        position_ = offset;
        return true;
    }
    int64_t Tell() const override { return position_; }
    int64_t Size() const override { return size_; }

private:
    std::FILE* file_;
    int64_t size_;
    int64_t position_ = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t Read(void* out, size_t size) override {
        const size_t left = bytes_.size() - position_;
        const size_t n = std::min(size, left);
        if (n > 0) std::memcpy(out, bytes_.data() + position_, n);
        position_ += n;
        return n;
    }
    bool Seek(int64_t offset) override {
        position_ = static_cast<size_t>(std::clamp<int64_t>(offset, 0, static_cast<int64_t>(bytes_.size())));
        return true;
    }
    int64_t Tell() const override { return static_cast<int64_t>(position_); }
    int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

// Reads the file into a buffer of its size, a chunk at a time as the reader
// gets near the end of what is in. A read far beyond that (a decoder looking
// for a tag at the end of the file) goes to the file and is not kept.
class HoldingSource final : public ByteSource {
public:
    // The system is asked to read the file ahead, so that the chunks are
    // seldom waited for.
    HoldingSource(std::FILE* file, int64_t size)
        : file_(file), size_(size), bytes_(std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(size))) {
        posix_fadvise(fileno(file_), 0, 0, POSIX_FADV_WILLNEED);
    }
    ~HoldingSource() override { CloseFile(); }

    size_t Read(void* out, size_t size) override {
        const int64_t want = std::min<int64_t>(position_ + static_cast<int64_t>(size), size_);
        if (position_ > filled_ + kChunk) return ReadAside(out, want);
        if (want > filled_) ReadUpTo(want);
        const size_t n = static_cast<size_t>(std::max<int64_t>(0, std::min(want, filled_) - position_));
        if (n > 0) std::memcpy(out, bytes_.get() + position_, n);
        position_ += static_cast<int64_t>(n);
        return n;
    }
    bool Seek(int64_t offset) override {
        position_ = std::clamp<int64_t>(offset, 0, size_);
        return true;
    }
    int64_t Tell() const override { return position_; }
    int64_t Size() const override { return size_; }

private:
    static constexpr int64_t kChunk = 64 * 1024;

    // A file that turns out shorter than it was ends where it ends.
    void ReadUpTo(int64_t end) {
        if (!file_ || fseeko(file_, static_cast<off_t>(filled_), SEEK_SET) != 0) return;
        const int64_t target = std::min(size_, std::max(end, filled_ + kChunk));
        const size_t got = std::fread(bytes_.get() + filled_, 1, static_cast<size_t>(target - filled_), file_);
        filled_ += static_cast<int64_t>(got);
        if (filled_ < target) size_ = filled_;
        if (filled_ == size_) CloseFile();
    }
    size_t ReadAside(void* out, int64_t end) {
        if (!file_ || end <= position_ || fseeko(file_, static_cast<off_t>(position_), SEEK_SET) != 0) return 0;
        const size_t got = std::fread(out, 1, static_cast<size_t>(end - position_), file_);
        position_ += static_cast<int64_t>(got);
        return got;
    }
    void CloseFile() {
        if (file_) std::fclose(file_);
        file_ = nullptr;
    }

    std::FILE* file_;
    int64_t size_;
    std::unique_ptr<uint8_t[]> bytes_;
    int64_t filled_ = 0;
    int64_t position_ = 0;
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
