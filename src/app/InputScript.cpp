#include "app/InputScript.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace app {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// Plain decimal digits only (no sign, no spaces); false on anything else or overflow.
bool ParseDecimal(const std::string& word, uint64_t& value) {
    if (word.empty()) return false;
    for (char c : word)
        if (c < '0' || c > '9') return false;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size();
}

}  // namespace

bool InputScript::Parse(std::string_view text, ScriptError& error) {
    m_changes.clear();
    m_next = 0;
    int number = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line(text.substr(at, end - at));
        at = end + 1;
        ++number;
        std::vector<std::string> words = Split(line);
        if (words.empty() || words[0][0] == '#') continue;

        KeyChange change;
        if (!ParseDecimal(words[0], change.frame) || change.frame == 0 || change.frame > kMaxFrames) {
            error = {number, "the frame must be a decimal number from 1 to " + std::to_string(kMaxFrames) +
                                 ", got \"" + words[0] + "\""};
            return false;
        }
        if (!m_changes.empty() && change.frame <= m_changes.back().frame) {
            error = {number,
                     "frame " + words[0] + " does not follow frame " + std::to_string(m_changes.back().frame)};
            return false;
        }
        for (size_t i = 1; i < words.size(); ++i) {
            uint64_t code = 0;
            if (!ParseDecimal(words[i], code) || code < 1 || code > 255) {
                error = {number, "a key code must be a decimal number from 1 to 255, got \"" + words[i] + "\""};
                return false;
            }
            change.codes.push_back(static_cast<int>(code));
        }
        std::sort(change.codes.begin(), change.codes.end());
        change.codes.erase(std::unique(change.codes.begin(), change.codes.end()), change.codes.end());
        m_changes.push_back(std::move(change));
    }
    return true;
}

const KeyChange* InputScript::ChangeAt(uint64_t frame) {
    while (m_next < m_changes.size() && m_changes[m_next].frame < frame) ++m_next;
    if (m_next < m_changes.size() && m_changes[m_next].frame == frame) return &m_changes[m_next];
    return nullptr;
}

}  // namespace app
