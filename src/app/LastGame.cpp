#include "app/LastGame.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "media/core/SmallFile.h"


namespace app {

namespace fs = std::filesystem;

namespace {

// A game of days is a few kilobytes; anything near this is not a recording.
constexpr uintmax_t kMaxRecordingBytes = 64u << 20;
constexpr int kEscape = 1;

// FNV-1a, 64 bits.
void Mix(uint64_t& hash, std::string_view bytes) {
    for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3ull;
}

// The files under `folder` (relative names and sizes, in name order).
void MixFolder(uint64_t& hash, const fs::path& folder) {
    std::vector<std::pair<std::string, uintmax_t>> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sizeError;
        if (!it->is_regular_file(sizeError)) continue;
        const uintmax_t size = it->file_size(sizeError);
        files.emplace_back(it->path().lexically_relative(folder).generic_string(), sizeError ? 0 : size);
    }
    std::sort(files.begin(), files.end());
    for (const auto& [name, size] : files) {
        Mix(hash, name);
        Mix(hash, "\n");
        Mix(hash, std::to_string(size));
        Mix(hash, "\n");
    }
}

// The value of the comment line "# KEY VALUE", "" when there is none.
std::string CommentValue(const std::string& bytes, const std::string& key) {
    const std::string start = "# " + key + " ";
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = std::min(bytes.find('\n', at), bytes.size());
        if (bytes.compare(at, start.size(), start) == 0)
            return bytes.substr(at + start.size(), end - at - start.size());
        at = end + 1;
    }
    return {};
}

bool ReadRecording(const std::string& path, std::string& bytes, std::string& reason) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        reason = "it is not a file";
        return false;
    }
    if (fs::file_size(path, ec) > kMaxRecordingBytes || ec) {
        reason = "it is too large to be a recording";
        return false;
    }
    std::string problem;
    if (!media::ReadSmallFile(path, kMaxRecordingBytes, bytes, problem)) {
        reason = "it cannot be read";
        return false;
    }
    return true;
}

// What is wrong with a recording read without error, "" when nothing is.
std::string Mismatch(const std::string& bytes, const ContinuedGame& game, const std::string& stamp) {
    if (!game.header.recorded) return "it is not a recorded game";
    if (!game.header.keyCodes) return "it has no \"# keys\" line";
    const std::string version = CommentValue(bytes, "version");
    if (version != CommentValue(stamp, "version")) return "it was recorded by another version (" + version + ")";
    if (CommentValue(bytes, "data") != CommentValue(stamp, "data")) return "it was recorded with other game data";
    return {};
}

// The bytes with every CR LF made LF (a file an editor or another system saved).
std::string WithLineFeeds(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] != '\r' || i + 1 >= bytes.size() || bytes[i + 1] != '\n') out += bytes[i];
    return out;
}

std::string KeyLine(uint64_t frame, const std::vector<int>& codes) {
    std::string line = std::to_string(frame);
    for (int code : codes) {
        line += ' ';
        line += std::to_string(code);
    }
    return line + "\n";
}

}  // namespace

LastGameFiles LastGameFilesIn(const std::string& folder) {
    const fs::path base(folder);
    return {(base / "last-game.txt").string(), (base / "last-game-ended.txt").string(),
            (base / "last-game.bad.txt").string()};
}

std::string LastGameStamp(const std::string& version) {
    uint64_t hash = 0xcbf29ce484222325ull;
    MixFolder(hash, "image");
    MixFolder(hash, "sound");
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return "# version " + version + "\n# data " + hex + "\n";
}

LastGameRead ReadLastGame(const std::string& path, const std::string& stamp, ContinuedGame& game,
                          std::string& reason) {
    game = ContinuedGame{};
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return LastGameRead::Nothing;
    std::string bytes;
    if (!ReadRecording(path, bytes, reason)) return LastGameRead::Bad;
    return ParseLastGame(bytes, stamp, game, reason);
}

LastGameRead ParseLastGame(const std::string& written, const std::string& stamp, ContinuedGame& game,
                           std::string& reason) {
    game = ContinuedGame{};
    // A last line without its end was cut while being written: it is left out.
    const std::string bytes(WholeLines(WithLineFeeds(written)));
    InputScript script;
    ScriptError scriptError;
    if (!script.Parse(bytes, scriptError)) {
        reason = "it is damaged (line " + std::to_string(scriptError.line) + ": " + scriptError.message + ")";
        return LastGameRead::Bad;
    }
    std::string error;
    if (!ParseRecordedGame(bytes, game.header, error)) {
        reason = "it is damaged (" + error + ")";
        return LastGameRead::Bad;
    }
    reason = Mismatch(bytes, game, stamp);
    if (!reason.empty()) return LastGameRead::Bad;
    std::erase(game.header.downAtStart, kEscape);
    game.changes = script.Changes();
    for (KeyChange& change : game.changes) std::erase(change.codes, kEscape);
    game.frames = game.header.frames.value_or(game.changes.empty() ? 0 : game.changes.back().frame);
    const bool keysAfter = !game.changes.empty() && game.changes.back().frame > game.frames;
    const auto& keyChanges = game.header.keyChanges;
    if (keysAfter || (!keyChanges.empty() && keyChanges.back().frame > game.frames)) {
        reason = "it is damaged (keys after its last frame)";
        return LastGameRead::Bad;
    }
    return game.frames > 0 ? LastGameRead::Continue : LastGameRead::Nothing;
}

const std::vector<int32_t>& KeyCodesAt(const ContinuedGame& game, uint64_t frame) {
    static const std::vector<int32_t> none;
    const std::vector<int32_t>* codes = game.header.keyCodes ? &*game.header.keyCodes : &none;
    for (const KeyCodesChange& change : game.header.keyChanges) {
        if (change.frame > frame) break;
        codes = &change.codes;
    }
    return *codes;
}

std::string ContinuedRecording(const ContinuedGame& game, const std::string& stamp) {
    std::string bytes = RecordedGameHeader(game.header.seed, game.header.keyCodes.value_or(std::vector<int32_t>{}),
                                           game.header.downAtStart) +
                        stamp;
    std::vector<int> down = game.header.downAtStart;
    uint64_t last = 0;
    auto keyChange = game.header.keyChanges.begin();
    // The changes of the key codes up to `frame`, each before the key line of its frame.
    auto keyChangesTo = [&](uint64_t frame) {
        for (; keyChange != game.header.keyChanges.end() && keyChange->frame <= frame; ++keyChange)
            bytes += KeysFromLine(keyChange->frame, keyChange->codes);
    };
    for (const KeyChange& change : game.changes) {
        keyChangesTo(change.frame);
        bytes += KeyLine(change.frame, change.codes);
        down = change.codes;
        last = change.frame;
    }
    keyChangesTo(game.frames);
    if (last < game.frames) bytes += KeyLine(game.frames, down);
    return bytes;
}

}  // namespace app
