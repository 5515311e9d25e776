#include "media/core/MediaKeeping.h"

#include "media/core/CallRecorder.h"
#include "media/core/CatchUp.h"
#include "media/core/OperationLock.h"
#include "media/core/Random.h"
#include "media/sound/SoundKeeping.h"
#include "media/text/DefaultFont.h"
#include "media/text/ShiftJis.h"
#include "media/video/ImageKeeping.h"

namespace media {

namespace {

constexpr size_t kMaxNames = 1 << 20;

void KeepRandom(StateArchive& archive, KeptRandom& random) {
    archive.Value(random.seed);
    archive.Bytes(random.words, sizeof random.words);
    archive.Value(random.index);
}

void KeepFont(StateArchive& archive, FontSettings& font) {
    archive.Value(font.face);
    archive.Value(font.size);
    archive.Value(font.thickness);
    archive.Value(font.charSet);
    archive.Value(font.type);
    archive.Value(font.edgeSize);
    archive.Value(font.italic);
}

void KeepNameMap(StateArchive& archive, std::map<int32_t, std::string>& names) {
    std::vector<std::pair<int32_t, std::string>> list(names.begin(), names.end());
    list.resize(archive.Count(list.size(), kMaxNames));
    for (auto& [handle, name] : list) {
        archive.Value(handle);
        archive.Value(name);
    }
    if (archive.Reading()) names = {list.begin(), list.end()};
}

void KeepNames(StateArchive& archive, bool& recorded, CallNames& names) {
    archive.Value(recorded);
    if (!recorded) return;
    KeepNameMap(archive, names.images);
    KeepNameMap(archive, names.sounds);
    std::vector<std::pair<int32_t, std::pair<std::string, int32_t>>> live(names.liveSounds.begin(),
                                                                          names.liveSounds.end());
    live.resize(archive.Count(live.size(), kMaxNames));
    for (auto& [handle, sound] : live) {
        archive.Value(handle);
        archive.Value(sound.first);
        archive.Value(sound.second);
    }
    if (archive.Reading()) names.liveSounds = {live.begin(), live.end()};
}

// The names a recorder gives the handles of the tables when it saw them being
// loaded (a state kept while no calls were recorded): the live handles' names.
CallNames NamesOfTables(const PreparedPictures& pictures, const PreparedSounds& sounds) {
    CallNames names;
    pictures.images.ForEachListed([&names](int32_t handle, const Image& image) {
        std::string name = SjisToUtf8(image.fileName);
        if (image.cell >= 0) name += "#" + std::to_string(image.cell);
        names.images[handle] = std::move(name);
    });
    sounds.sounds.ForEachListed([&names](int32_t handle, const Sound& sound) {
        const std::string path = SjisToUtf8(sound.path);
        int32_t number = 1;
        for (bool taken = true; taken;) {
            taken = false;
            for (const auto& [other, live] : names.liveSounds) taken = taken || live == std::make_pair(path, number);
            if (taken) ++number;
        }
        names.sounds[handle] = number == 1 ? path : path + "@" + std::to_string(number);
        names.liveSounds[handle] = {path, number};
    });
    return names;
}

}  // namespace

class PreparedMediaState {
public:
    std::unique_ptr<PreparedPictures> pictures;
    std::unique_ptr<PreparedSounds> sounds;
    FontSettings font;
    KeptRandom random;
    uint32_t clock = 0;
    bool recorded = false;
    CallNames names;
};

void PreparedMediaDeleter::operator()(PreparedMediaState* prepared) const {
    OperationGuard guard;  // the sounds leave the mixer
    delete prepared;
}

void KeepMediaState(StateArchive& archive) {
    OperationGuard guard;
    KeptPictures pictures = CapturePictures();
    KeptSounds sounds = CaptureSounds();
    FontSettings font = DefaultFontSettings();
    KeptRandom random = CurrentRandom();
    uint32_t clock = GameMillis();
    CallNames names;
    bool recorded = CurrentCallNames(names);
    KeepPictures(archive, pictures);
    KeepSounds(archive, sounds);
    KeepFont(archive, font);
    KeepRandom(archive, random);
    archive.Value(clock);
    KeepNames(archive, recorded, names);
}

PreparedMedia ReadMediaState(StateArchive& archive, std::string& reason) {
    OperationGuard guard;
    KeptPictures pictures;
    KeptSounds sounds;
    PreparedMedia prepared(new PreparedMediaState());
    KeepPictures(archive, pictures);
    KeepSounds(archive, sounds);
    KeepFont(archive, prepared->font);
    KeepRandom(archive, prepared->random);
    archive.Value(prepared->clock);
    KeepNames(archive, prepared->recorded, prepared->names);
    if (!archive.Ok()) {
        reason = "it is damaged";
        return nullptr;
    }
    if (prepared->random.index < 0 || prepared->random.index > MersenneTwister::kN) {
        reason = "its random generator is damaged";
        return nullptr;
    }
    const FontSettings& font = prepared->font;
    if (font.size < 1 || font.size > 1024 || font.thickness < 0 || font.thickness > 9 || font.charSet < 0 ||
        font.charSet > 2 || font.face.size() > 256) {
        reason = "its font is damaged";
        return nullptr;
    }
    prepared->pictures = PreparePictures(std::move(pictures), reason);
    if (!prepared->pictures) return nullptr;
    prepared->sounds = PrepareSounds(std::move(sounds), reason);
    if (!prepared->sounds) return nullptr;
    if (!prepared->recorded) prepared->names = NamesOfTables(*prepared->pictures, *prepared->sounds);
    return prepared;
}

void PutMediaState(PreparedMedia prepared) {
    OperationGuard guard;
    PutPictures(*prepared->pictures);
    PutSounds(*prepared->sounds);
    PutDefaultFontSettings(prepared->font);
    PutRandom(prepared->random);
    SetGameMillis(prepared->clock);
    PutCallNames(prepared->names);
}

}  // namespace media
