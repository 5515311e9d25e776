#include "app/KeptState.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "media/core/SmallFile.h"
#include "media/core/StateArchive.h"

namespace app {

namespace fs = std::filesystem;

namespace {

constexpr char kMagic[] = "anagura kept state\n";
constexpr uint32_t kFormat = 1;
constexpr int kEscape = 1;
constexpr size_t kMaxStateBytes = 256u << 20;

// FNV-1a, 64 bits.
class Digest {
public:
    void Add(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) m_hash = (m_hash ^ bytes[i]) * 0x100000001b3ull;
    }
    template <typename T>
    void AddValue(T value) {
        Add(&value, sizeof value);
    }
    template <typename T>
    void AddCodes(const std::vector<T>& codes) {
        AddValue(static_cast<uint64_t>(codes.size()));
        for (T code : codes) AddValue(static_cast<int64_t>(code));
    }
    uint64_t Value() const { return m_hash; }

private:
    uint64_t m_hash = 0xcbf29ce484222325ull;
};

std::vector<int> WithoutEscape(std::vector<int> codes) {
    std::erase(codes, kEscape);
    return codes;
}

}  // namespace

std::string KeptStatePath(const std::string& recordingPath) {
    const std::string suffix = ".txt";
    if (recordingPath.size() > suffix.size() && recordingPath.ends_with(suffix))
        return recordingPath.substr(0, recordingPath.size() - suffix.size()) + ".state";
    return recordingPath + ".state";
}

uint64_t RecordingDigest(const ContinuedGame& game, uint64_t frame) {
    Digest digest;
    digest.AddValue(game.header.seed);
    digest.AddCodes(game.header.keyCodes.value_or(std::vector<int32_t>{}));
    std::vector<int> down = WithoutEscape(game.header.downAtStart);
    digest.AddCodes(down);
    for (const KeyChange& change : game.changes) {
        if (change.frame > frame) break;
        std::vector<int> codes = WithoutEscape(change.codes);
        if (codes == down) continue;  // a line that only marks a frame
        down = std::move(codes);
        digest.AddValue(change.frame);
        digest.AddCodes(down);
    }
    for (const KeyCodesChange& change : game.header.keyChanges) {
        if (change.frame > frame) break;
        digest.AddValue(change.frame);
        digest.AddCodes(change.codes);
    }
    return digest.Value();
}

uint64_t PicturesDigest() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it("image", ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    Digest digest;
    for (const fs::path& file : files) {
        std::string bytes, problem;
        const std::string name = file.generic_string();
        digest.Add(name.data(), name.size() + 1);
        if (!media::ReadSmallFile(file.string(), kMaxStateBytes, bytes, problem)) bytes = problem;
        digest.AddValue(static_cast<uint64_t>(bytes.size()));
        digest.Add(bytes.data(), bytes.size());
    }
    return digest.Value();
}

std::string KeptStateFile(const std::string& stamp, uint64_t pictures, uint64_t frame, uint64_t digest,
                          const std::string& runState) {
    media::StateArchive archive = media::StateArchive::Writer();
    std::string magic = kMagic;
    archive.Bytes(magic.data(), magic.size());
    uint32_t format = kFormat;
    archive.Value(format);
    std::string stampCopy = stamp;
    archive.Value(stampCopy);
    archive.Value(pictures);
    archive.Value(frame);
    archive.Value(digest);
    Digest check;
    check.Add(runState.data(), runState.size());
    uint64_t checkValue = check.Value();
    archive.Value(checkValue);
    std::string state = runState;
    archive.Value(state, kMaxStateBytes);
    return archive.Written();
}

bool ReadKeptStateFile(std::string_view file, const std::string& stamp, const ContinuedGame& game, uint64_t& frame,
                       std::string& runState, std::string& reason) {
    media::StateArchive archive = media::StateArchive::Reader(file);
    std::string magic(sizeof kMagic - 1, '\0');
    archive.Bytes(magic.data(), magic.size());
    uint32_t format = 0;
    archive.Value(format);
    if (!archive.Ok() || magic != kMagic || format != kFormat) {
        reason = "it is not a kept state of this build";
        return false;
    }
    std::string keptStamp;
    uint64_t pictures = 0, digest = 0, check = 0;
    archive.Value(keptStamp);
    archive.Value(pictures);
    archive.Value(frame);
    archive.Value(digest);
    archive.Value(check);
    archive.Value(runState, kMaxStateBytes);
    Digest actual;
    actual.Add(runState.data(), runState.size());
    if (!archive.Ok() || !archive.AtEnd() || actual.Value() != check) {
        reason = "it is damaged";
        return false;
    }
    if (keptStamp != stamp) {
        reason = "it was kept by another version or with other game data";
        return false;
    }
    if (frame == 0 || frame > game.frames || digest != RecordingDigest(game, frame)) {
        reason = "it is not of the game recorded";
        return false;
    }
    if (pictures != PicturesDigest()) {
        reason = "the pictures have changed since it was kept";
        return false;
    }
    return true;
}

}  // namespace app
