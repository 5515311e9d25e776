#include "app/RecordedGame.h"

#include <charconv>

namespace app {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// A decimal number, a minus sign allowed only for signed types; nothing else.
template <typename T>
bool ParseNumber(std::string_view word, T& value) {
    const size_t digits = !word.empty() && word[0] == '-' ? 1 : 0;
    if (word.size() == digits) return false;
    for (size_t i = digits; i < word.size(); ++i)
        if (word[i] < '0' || word[i] > '9') return false;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size();
}

template <typename T>
bool ParseNumbers(const std::vector<std::string_view>& words, std::vector<T>& values) {
    values.clear();
    for (size_t i = 2; i < words.size(); ++i) {
        T value{};
        if (!ParseNumber(words[i], value)) return false;
        values.push_back(value);
    }
    return true;
}

bool IsSeedLine(const std::vector<std::string_view>& words) {
    return words.size() >= 2 && words[0] == "#" && words[1] == "seed";
}

std::string Codes(const char* keyword, const std::vector<int32_t>& codes) {
    std::string line = std::string("# ") + keyword;
    for (int32_t code : codes) line += " " + std::to_string(code);
    return line + "\n";
}

// Reads the first line, "# seed N"; "" or what is wrong with it.
std::string ReadSeed(const std::vector<std::string_view>& words, RecordedGame& game) {
    if (words.size() == 3 && ParseNumber(words[2], game.seed)) return {};
    return "\"# seed\" takes one number from 0 to 4294967295";
}

// Reads one line after the first into `game`; "" or what is wrong with it.
std::string ReadLine(const std::vector<std::string_view>& words, RecordedGame& game) {
    if (words.size() < 2 || words[0] != "#") return {};
    const std::string_view keyword = words[1];
    if (keyword == "seed") return "a second \"# seed\" line";
    if (keyword == "keys") {
        if (game.keyCodes) return "a second \"# keys\" line";
        std::vector<int32_t> codes;
        if (!ParseNumbers(words, codes)) return "\"# keys\" takes key codes (decimal 32-bit numbers)";
        game.keyCodes = std::move(codes);
    } else if (keyword == "down-at-start") {
        if (!game.downAtStart.empty()) return "a second \"# down-at-start\" line";
        std::vector<int> codes;
        bool ok = ParseNumbers(words, codes) && !codes.empty();
        for (int code : codes) ok = ok && code >= 1 && code <= 255;
        if (!ok) return "\"# down-at-start\" takes key codes from 1 to 255";
        game.downAtStart = std::move(codes);
    } else if (keyword == "keys-from") {
        KeyCodesChange change;
        // The codes follow the frame: the words after it, read as ParseNumbers reads those after a keyword.
        const bool read = words.size() >= 3 && ParseNumber(words[2], change.frame) && change.frame >= 1 &&
                          change.frame <= kMaxFrames &&
                          ParseNumbers(std::vector<std::string_view>(words.begin() + 1, words.end()), change.codes);
        if (!read)
            return "\"# keys-from\" takes a frame from 1 to " + std::to_string(kMaxFrames) +
                   " and key codes (decimal 32-bit numbers)";
        if (!game.keyChanges.empty() && change.frame <= game.keyChanges.back().frame)
            return "\"# keys-from\" frame " + std::to_string(change.frame) + " does not follow frame " +
                   std::to_string(game.keyChanges.back().frame);
        game.keyChanges.push_back(std::move(change));
    } else if (keyword == "frames") {
        if (game.frames) return "a second \"# frames\" line";
        uint64_t frames = 0;
        if (words.size() != 3 || !ParseNumber(words[2], frames) || frames > kMaxFrames)
            return "\"# frames\" takes one number up to " + std::to_string(kMaxFrames) + " (over two years of play)";
        game.frames = frames;
    }
    return {};
}

}  // namespace

std::string RecordedGameHeader(uint32_t seed, const std::vector<int32_t>& keyCodes,
                               const std::vector<int>& downAtStart) {
    std::string header = "# seed " + std::to_string(seed) + "\n" + Codes("keys", keyCodes);
    if (!downAtStart.empty()) header += Codes("down-at-start", {downAtStart.begin(), downAtStart.end()});
    return header;
}

std::string KeysFromLine(uint64_t frame, const std::vector<int32_t>& codes) {
    std::string line = "# keys-from " + std::to_string(frame);
    for (int32_t code : codes) line += " " + std::to_string(code);
    return line + "\n";
}

std::string_view WholeLines(std::string_view bytes) {
    const size_t firstEnd = bytes.find('\n');
    if (firstEnd == std::string_view::npos || bytes.back() == '\n') return bytes;
    return bytes.substr(0, bytes.rfind('\n') + 1);
}

bool ParseRecordedGame(std::string_view bytes, RecordedGame& game, std::string& error) {
    game = RecordedGame{};
    size_t number = 0;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        ++number;
        const std::vector<std::string_view> words = Words(line);
        if (number == 1) {
            if (!IsSeedLine(words)) return true;
            game.recorded = true;
        }
        const std::string wrong = number == 1 ? ReadSeed(words, game) : ReadLine(words, game);
        if (!wrong.empty()) {
            game = RecordedGame{};
            error = "line " + std::to_string(number) + ": " + wrong;
            return false;
        }
    }
    return true;
}

}  // namespace app
