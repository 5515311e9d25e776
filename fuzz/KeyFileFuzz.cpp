// The key file reader on any bytes: a file it takes gives exactly the codes
// its count announces; a file it refuses leaves the configuration alone and
// says why.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/KeyConfigFile.h"
#include "app/input/KeyConfig.h"

namespace {

// The file lives in memory; the reader opens it by name like any other.
int MemoryFile() {
    static const int fd = memfd_create("KeyData.dat", 0);
    if (fd < 0) std::abort();
    return fd;
}

int32_t LittleEndian32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = MemoryFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    KeyConfig config;
    config.keys = {1, 2, 3};
    config.count = 3;
    std::string problem;
    const int result = LoadKeyConfigFrom(config, "/proc/self/fd/" + std::to_string(fd), &problem);
    if (result != 0) {
        if (problem.empty() || config.keys.size() != 3 || config.count != 3) std::abort();
        return 0;
    }
    if (size < 4) std::abort();
    const int32_t count = LittleEndian32(data);
    if (count < 0 || 4 + 4 * static_cast<uint64_t>(count) > size) std::abort();
    if (config.count != count || config.keys.size() != static_cast<size_t>(count)) std::abort();
    for (int32_t i = 0; i < count; ++i)
        if (config.keys[static_cast<size_t>(i)] != LittleEndian32(data + 4 + 4 * static_cast<size_t>(i)))
            std::abort();
    return 0;
}
