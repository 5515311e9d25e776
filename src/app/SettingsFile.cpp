#include "app/AtomicFile.h"
#include "app/SettingsFile.h"


#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "media/core/Log.h"

namespace app {

namespace fs = std::filesystem;

namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool IsComment(std::string_view line) { return line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '['; }

// Calls visit(lineNumber, line) for each line of `text` (without its newline).
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        visit(++number, text.substr(start, end - start), start);
        start = end + 1;
    }
}

void Report(const std::string& path, const std::string& message) {
    media::LogPrintf("Settings %s: %s\n", path.c_str(), message.c_str());
    std::fprintf(stderr, "anagura: settings %s: %s\n", path.c_str(), message.c_str());
}

bool ReadWhole(const std::string& path, std::string& text, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    text.clear();
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
    const bool ok = !std::ferror(file);
    if (!ok) error = std::strerror(errno);
    std::fclose(file);
    return ok;
}

// A problem names what the file holds, and goes to the log and the terminal:
// control bytes (a NUL would cut the message short) are shown as '?'.
std::string Printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return text;
}

}  // namespace

PlayerSettings ParseSettings(std::string_view text, std::vector<std::string>& problems) {
    PlayerSettings settings;
    ForEachLine(text, [&](int number, std::string_view raw, size_t) {
        const std::string_view line = Trimmed(raw);
        if (IsComment(line)) return;
        const size_t equals = line.find('=');
        std::string problem = "not \"name = value\"";
        if (equals != std::string_view::npos &&
            SetSetting(settings, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)), problem))
            return;
        problems.push_back("line " + std::to_string(number) + ": " + Printable(problem) + ", ignored");
    });
    return settings;
}

std::string WithSetting(std::string_view text, std::string_view name, std::string_view value) {
    size_t at = std::string_view::npos, length = 0;
    ForEachLine(text, [&](int, std::string_view raw, size_t start) {
        const std::string_view line = Trimmed(raw);
        const size_t equals = line.find('=');
        if (IsComment(line) || equals == std::string_view::npos || Trimmed(line.substr(0, equals)) != name) return;
        at = start;
        length = raw.size();
    });
    const std::string setting = std::string(name) + " = " + std::string(value);
    std::string result(text);
    if (at != std::string_view::npos) return result.replace(at, length, setting);
    if (!result.empty() && result.back() != '\n') result += '\n';
    return result + setting + "\n";
}

PlayerSettings SettingsFile::Load() {
    std::error_code ec;
    if (!fs::exists(path_, ec)) return {};
    std::string error;
    if (!ReadWhole(path_, text_, error)) {
        Report(path_, "cannot be read (" + error + "), ignored");
        unreadable_ = true;
        return {};
    }
    std::vector<std::string> problems;
    const PlayerSettings settings = ParseSettings(text_, problems);
    for (const std::string& problem : problems) Report(path_, problem);
    return settings;
}

bool SettingsFile::Save(std::string_view name, std::string_view value) {
    if (unreadable_) return false;  // writing would lose what it holds
    const std::string text = WithSetting(text_, name, value);
    std::string error;
    std::error_code ec;
    fs::create_directories(fs::path(path_).parent_path(), ec);
    if (!WriteFileAtomically(path_, text, error)) {
        Report(path_, "cannot be written (" + error + ")");
        return false;
    }
    text_ = text;
    return true;
}

}  // namespace app
