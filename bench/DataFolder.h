// A scratch working folder that links the source tree's data folders (the
// sound folder may be left out); entered for its lifetime, then removed.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "ScratchFolder.h"

namespace bench {

class DataFolder {
public:
    explicit DataFolder(bool withSound = true) {
        const std::filesystem::path assets = std::filesystem::path(ANAGURA_SOURCE_DIR) / "assets";
        for (const std::string sub : {"image", "Data", "fonts", "sound"}) {
            if (sub == "sound" && !withSound) continue;
            std::error_code ec;
            std::filesystem::create_directory_symlink(assets / sub, m_folder.Path() / sub, ec);
        }
    }

private:
    testsupport::ScratchFolder m_folder;
};

}  // namespace bench
