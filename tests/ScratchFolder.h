// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes. Unless told to stay, the object makes it the
// working folder for its life (the media layer writes Log.txt there) and
// returns to the previous one after. Header-only: the benchmarks use it too.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace testsupport {

class ScratchFolder {
public:
    enum Entering { kEnter, kStay };

    explicit ScratchFolder(Entering entering = kEnter) : m_previous(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "anagura-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + pattern);
        m_path = pattern;
        m_entered = entering == kEnter;
        if (m_entered) std::filesystem::current_path(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (m_entered) std::filesystem::current_path(m_previous, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The full path of `name` in the folder.
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
    bool m_entered = false;
};

}  // namespace testsupport
