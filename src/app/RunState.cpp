#include "app/RunState.h"

#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "app/FramePacer.h"
#include "app/ObjectKeeping.h"
#include "app/SceneKeeping.h"
#include "app/SystemContext.h"
#include "app/input/KeyConfig.h"
#include "app/scene/Scene.h"
#include "game/rules/state/GameData.h"
#include "media/core/MediaKeeping.h"
#include "media/core/OperationLock.h"
#include "objects/graphics/Graphic.h"
#include "objects/graphics/Language.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"

namespace app {

namespace {

// What the run holds above the media layer and outside the scene.
struct RunParts {
    KeyboardState keyboard;
    uint32_t textColour = 0;
    FramePacer pacer;
    std::vector<int32_t> keys;
    int32_t keyCount = 0;
    uint64_t frames = 0;
    GameData data;
    std::map<std::string, int32_t> images;  // the image store's handles by name
    std::map<std::string, int32_t> sounds;  // the sound store's
    Tween musicVolume;
    int32_t music = 0;
    std::string musicName;
};

constexpr size_t kMaxNames = 1 << 20;

void KeepHandles(media::StateArchive& archive, std::map<std::string, int32_t>& handles) {
    std::vector<std::pair<std::string, int32_t>> list(handles.begin(), handles.end());
    list.resize(archive.Count(list.size(), kMaxNames));
    for (auto& [name, handle] : list) {
        archive.Value(name);
        archive.Value(handle);
    }
    if (archive.Reading()) handles = {list.begin(), list.end()};
}

void KeepStats(media::StateArchive& archive, UnitStats& stats) {
    for (int32_t* value : {&stats.level, &stats.hp, &stats.maxHp, &stats.hpGrowth, &stats.attack, &stats.attackGrowth,
                           &stats.defence, &stats.defenceGrowth})
        archive.Value(*value);
}

void KeepData(media::StateArchive& archive, GameData& data) {
    PlayerRecord& player = data.player;
    for (int32_t* value : {&player.food, &player.money, &player.traps, &player.day}) archive.Value(*value);
    for (int32_t& level : player.unitLevel) archive.Value(level);
    for (UnitOrder& order : player.orders) {
        archive.Value(order.daysLeft);
        archive.Value(order.kind);
        archive.Value(order.amount);
    }
    auto keepKind = [&archive](UnitRecord& kind) {
        KeepStats(archive, kind);
        for (int32_t* value : {&kind.breedCost, &kind.huntYield, &kind.fundsYield, &kind.levelUpCost})
            archive.Value(*value);
        archive.Bytes(kind.imageName, sizeof kind.imageName);
    };
    for (UnitRecord& kind : data.enemyKinds) keepKind(kind);
    for (UnitRecord& kind : data.unitKinds) keepKind(kind);
}

void KeepParts(media::StateArchive& archive, RunParts& parts) {
    archive.Value(parts.frames);
    archive.Bytes(parts.keyboard.current, sizeof parts.keyboard.current);
    archive.Bytes(parts.keyboard.previous, sizeof parts.keyboard.previous);
    archive.Value(parts.textColour);
    archive.Value(parts.pacer.interval);
    archive.Value(parts.pacer.lastTick);
    archive.Value(parts.pacer.paced);
    parts.keys.resize(archive.Count(parts.keys.size(), 4096));
    for (int32_t& code : parts.keys) archive.Value(code);
    archive.Value(parts.keyCount);
    KeepData(archive, parts.data);
    KeepHandles(archive, parts.images);
    KeepHandles(archive, parts.sounds);
    Keep(archive, parts.musicVolume);
    archive.Value(parts.music);
    archive.Value(parts.musicName);
}

RunParts PartsOf(const LoopState& loop) {
    RunParts parts;
    const SystemContext& system = *GetSystem();
    parts.frames = loop.frames;
    parts.keyboard = *system.keyboard;
    parts.textColour = system.textColour;
    parts.pacer = *loop.pacer;
    parts.keys = loop.keyConfig->keys;
    parts.keyCount = loop.keyConfig->count;
    parts.data = *loop.gameData;
    parts.images = ImageStore::Instance()->m_files->m_handles;
    const SoundStore& sound = *SoundStore::Instance();
    parts.sounds = sound.m_handles;
    parts.musicVolume = sound.m_volume;
    parts.music = sound.m_music;
    parts.musicName = sound.m_musicName;
    return parts;
}

void PutParts(const RunParts& parts, LoopState& loop) {
    SystemContext& system = *GetSystem();
    loop.frames = parts.frames;
    *system.keyboard = parts.keyboard;
    system.textColour = parts.textColour;
    *loop.pacer = parts.pacer;
    loop.keyConfig->keys = parts.keys;
    loop.keyConfig->count = parts.keyCount;
    loop.gameData->player = parts.data.player;
    loop.gameData->enemyKinds = parts.data.enemyKinds;
    loop.gameData->unitKinds = parts.data.unitKinds;
    ImageStore::Instance()->m_files->m_handles = parts.images;
    SoundStore& sound = *SoundStore::Instance();
    sound.m_handles = parts.sounds;
    sound.m_volume = parts.musicVolume;
    sound.m_music = parts.music;
    sound.m_musicName = parts.musicName;
}

// Frees every graphic the image store holds (those of no scene as well).
void EmptyRegistry() {
    ImageStore* store = ImageStore::Instance();
    std::set<CGraphic*> graphics;
    graphics.swap(store->m_registry);
    for (CGraphic* graphic : graphics) {
        graphic->Release();
        delete graphic;
    }
}

}  // namespace

std::string KeepRunState(const LoopState& loop) {
    media::OperationGuard batch;
    media::StateArchive archive = media::StateArchive::Writer();
    uint8_t language = static_cast<uint8_t>(GameLanguage());
    archive.Value(language);
    RunParts parts = PartsOf(loop);
    KeepParts(archive, parts);
    ObjectKeeper keeper(archive, loop.keyConfig, loop.gameData);
    KeepScene(keeper, *loop.scene);
    media::KeepMediaState(archive);
    return archive.Written();
}

bool PutRunState(std::string_view bytes, LoopState& loop, std::string& reason) {
    media::OperationGuard batch;
    media::StateArchive archive = media::StateArchive::Reader(bytes);
    archive.Expect(static_cast<uint8_t>(GameLanguage()));
    if (!archive.Ok()) {
        reason = "it was kept in another language";
        return false;
    }
    auto parts = std::make_unique<RunParts>();
    KeepParts(archive, *parts);
    ObjectKeeper keeper(archive, loop.keyConfig, loop.gameData);
    std::unique_ptr<CScene> scene = ReadScene(keeper);
    if (!archive.Ok()) {
        reason = "it is damaged";
        return false;
    }
    media::PreparedMedia media = media::ReadMediaState(archive, reason);
    if (!media) return false;
    if (!archive.AtEnd()) {
        reason = "it is damaged";
        return false;
    }
    // From here on nothing fails.
    media::PutMediaState(std::move(media));
    delete loop.scene;
    EmptyRegistry();
    keeper.Adopt();
    PutParts(*parts, loop);
    loop.scene = scene.release();
    return true;
}

}  // namespace app
