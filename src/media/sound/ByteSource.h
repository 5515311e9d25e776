// Where a sound's encoded bytes come from: a file read as it plays, or the
// whole file held in memory (read at once, or as it is first needed).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace media {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes; the count read (0 at the end or on error).
    virtual size_t Read(void* out, size_t size) = 0;
    // Moves to an absolute offset (clamped to the size). False on failure.
    virtual bool Seek(int64_t offset) = 0;
    virtual int64_t Tell() const = 0;
    virtual int64_t Size() const = 0;
};

// The file's bytes read on demand; null when the file cannot be opened.
std::unique_ptr<ByteSource> OpenFileSource(const std::string& path);
// The whole file read into memory; null when it cannot be read.
std::unique_ptr<ByteSource> LoadMemorySource(const std::string& path);
// The file's bytes read into memory as they are first needed, then held there
// (the file is closed once it is all in); null when the file cannot be opened.
std::unique_ptr<ByteSource> OpenHoldingSource(const std::string& path);
// Bytes already in memory.
std::unique_ptr<ByteSource> MakeMemorySource(std::vector<uint8_t> bytes);

}  // namespace media
