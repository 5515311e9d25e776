#include "app/KeyConfigFile.h"

#include <cstdint>
#include <string_view>

#include "media/core/SmallFile.h"

namespace {

int32_t Int32At(std::string_view bytes, size_t at) {
    const auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])); };
    return static_cast<int32_t>(b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24);
}

// Reads the codes of a key file's bytes; "" on success, else what is wrong with it.
std::string ReadCodes(std::string_view bytes, std::vector<int32_t>& codes) {
    if (bytes.empty()) return "is empty";
    if (bytes.size() < 4) return "is too short to hold its count (" + std::to_string(bytes.size()) + " bytes)";
    const int32_t count = Int32At(bytes, 0);
    if (count < 0) return "gives a negative count (" + std::to_string(count) + ")";
    // The codes must be in the file: the count is checked against its size before anything is allocated.
    const int64_t room = static_cast<int64_t>((bytes.size() - 4) / 4);
    if (count > room)
        return "gives a count of " + std::to_string(count) + " but holds " + std::to_string(room) + " codes";
    codes.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = Int32At(bytes, 4 + 4 * i);
    return {};
}

}  // namespace

int LoadKeyConfigFrom(KeyConfig& config, const std::string& path, std::string* problem) {
    std::vector<int32_t> codes;
    std::string bytes, wrong;
    if (media::ReadSmallFile(path, media::kKeyFileCap, bytes, wrong)) wrong = ReadCodes(bytes, codes);
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
