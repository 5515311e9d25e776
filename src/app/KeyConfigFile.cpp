#include "app/KeyConfigFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool ReadInt32(std::FILE* f, int32_t& value) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, f) != 4) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                 static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
    return true;
}

// Reads the codes of an open key file; "" on success, else what is wrong with it.
std::string ReadCodes(std::FILE* f, std::vector<int32_t>& codes) {
    struct stat info;
    if (fstat(fileno(f), &info) != 0) return std::string("cannot be examined (") + std::strerror(errno) + ")";
    if (S_ISDIR(info.st_mode)) return "is a folder";
    if (info.st_size == 0) return "is empty";
    int32_t count = 0;
    if (!ReadInt32(f, count)) return "is too short to hold its count (" + std::to_string(info.st_size) + " bytes)";
    if (count < 0) return "gives a negative count (" + std::to_string(count) + ")";
    // The codes must be in the file: the count is checked against the file's
    // size in 64-bit arithmetic before anything is allocated.
    const int64_t room = (static_cast<int64_t>(info.st_size) - 4) / 4;
    const std::string shortOf = "gives a count of " + std::to_string(count) + " but holds ";
    if (count > room) return shortOf + std::to_string(room) + " codes";
    codes.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < codes.size(); ++i)
        if (!ReadInt32(f, codes[i])) return shortOf + std::to_string(i) + " codes";
    return {};
}

}  // namespace

int LoadKeyConfigFrom(KeyConfig& config, const std::string& path, std::string* problem) {
    std::vector<int32_t> codes;
    std::string wrong;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        wrong = ReadCodes(f, codes);
        std::fclose(f);
    } else {
        wrong = std::string("cannot be opened (") + std::strerror(errno) + ")";
    }
    if (!wrong.empty()) {
        if (problem) *problem = wrong;
        return -1;
    }
    config.keys.clear();
    config.count = 0;
    for (int32_t code : codes) {
        config.keys.push_back(code);
        ++config.count;
    }
    return 0;
}

int LoadKeyConfig(KeyConfig& config) { return LoadKeyConfigFrom(config, "Data/KeyData.dat", nullptr); }
