#include "app/SettingsFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/AtomicFile.h"
#include "app/SafeText.h"
#include "media/core/Log.h"
#include "media/core/SmallFile.h"

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

// The byte-order mark some editors put at the start of a UTF-8 file.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Calls visit(lineNumber, line, start) for each line of `text` (without its
// newline, nor the first line its byte-order mark), `start` its offset in `text`.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    int number = 0;
    size_t start = text.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        visit(++number, text.substr(start, end - start), start);
        start = end + 1;
    }
}

void Report(const std::string& path, const std::string& message) {
    media::LogLine("Settings %s: %s", path.c_str(), message.c_str());
    std::fprintf(stderr, "anagura: settings %s: %s\n", path.c_str(), message.c_str());
}

// 1234567 -> "1,234,567".
std::string WithThousands(size_t n) {
    std::string digits = std::to_string(n);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

// The file's problems as told: each kind once, at its first line, with how
// often it came again; at most kMaxProblemLines kinds, then their count.
class ProblemList {
public:
    void Add(int line, std::string problem) {
        for (Kind& kind : m_kinds)
            if (kind.problem == problem) {
                ++kind.more;
                return;
            }
        if (m_kinds.size() < kMaxProblemLines) m_kinds.push_back({line, std::move(problem), 0});
        else ++m_unlisted;
    }
    void Into(std::vector<std::string>& problems) const {
        for (const Kind& kind : m_kinds)
            problems.push_back("line " + std::to_string(kind.line) + ": " + kind.problem + ", ignored" +
                               (kind.more ? " (and " + WithThousands(kind.more) + " more like it)" : ""));
        if (m_unlisted)
            problems.push_back("and " + WithThousands(m_unlisted) + " more lines that give no setting, ignored");
    }

private:
    static constexpr size_t kMaxProblemLines = 100;
    struct Kind {
        int line;
        std::string problem;
        size_t more;
    };
    std::vector<Kind> m_kinds;
    size_t m_unlisted = 0;
};

}  // namespace

PlayerSettings ParseSettings(std::string_view text, std::vector<std::string>& problems) {
    PlayerSettings settings;
    ProblemList list;
    ForEachLine(text, [&](int number, std::string_view raw, size_t) {
        const std::string_view line = Trimmed(raw);
        if (IsComment(line)) return;
        const size_t equals = line.find('=');
        std::string problem = "not \"name = value\"";
        if (equals != std::string_view::npos &&
            SetSetting(settings, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)), problem))
            return;
        list.Add(number, SafeText(problem));
    });
    list.Into(problems);
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

bool SettingsFile::Read(std::string& problem) {
    std::error_code ec;
    m_text.clear();
    return !fs::exists(m_path, ec) || media::ReadSmallFile(m_path, media::kSettingsFileCap, m_text, problem);
}

PlayerSettings SettingsFile::Load() {
    std::string problem;
    m_unreadable = !Read(problem);
    if (m_unreadable) {
        Report(m_path, problem + ", ignored");
        return {};
    }
    std::vector<std::string> problems;
    const PlayerSettings settings = ParseSettings(m_text, problems);
    for (const std::string& problem : problems) Report(m_path, problem);
    return settings;
}

bool SettingsFile::Save(std::string_view name, std::string_view value) {
    // What the file holds now: lines written into it since the start are kept.
    std::string problem;
    if (!Read(problem)) {  // writing would lose what it holds
        if (!m_unreadable) Report(m_path, problem + ", not written");
        m_unreadable = true;
        return false;
    }
    m_unreadable = false;
    const std::string text = WithSetting(m_text, name, value);
    std::string error;
    std::error_code ec;
    fs::create_directories(fs::path(m_path).parent_path(), ec);
    if (!WriteFileAtomically(m_path, text, error)) {
        Report(m_path, "cannot be written (" + error + ")");
        return false;
    }
    m_text = text;
    return true;
}

}  // namespace app
