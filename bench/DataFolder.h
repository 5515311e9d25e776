// A scratch working folder that links the source tree's data folders (the
// sound folder may be left out); entered for its lifetime, then removed.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace bench {

class DataFolder {
public:
    explicit DataFolder(bool withSound = true) : old_(std::filesystem::current_path()) {
        char pattern[] = "/tmp/anagura-bench-XXXXXX";
        if (const char* made = mkdtemp(pattern)) dir_ = made;
        const std::filesystem::path assets = std::filesystem::path(ANAGURA_SOURCE_DIR) / "assets";
        for (const std::string sub : {"image", "Data", "fonts", "sound"}) {
            if (sub == "sound" && !withSound) continue;
            std::error_code ec;
            std::filesystem::create_directory_symlink(assets / sub, dir_ / sub, ec);
        }
        std::filesystem::current_path(dir_);
    }
    ~DataFolder() {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

private:
    std::filesystem::path old_, dir_;
};

}  // namespace bench
