#include "app/SceneKeeping.h"

#include <algorithm>
#include <iterator>

#include "game/rules/scene/GameScene.h"
#include "game/world/DamageEffectPool.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "game/world/GridMenu.h"
#include "objects/DamageEffect.h"
#include "title/TitleObjects.h"
#include "title/TitleScene.h"

namespace app {

namespace {

enum SceneKind : uint8_t { kNoScene = 0, kTitle = 1, kGame = 2 };

constexpr size_t kMaxUnits = 1 << 20;
constexpr size_t kMaxGridSide = 4096;
constexpr size_t kMaxEffects = 4096;

// Every object of the title, in a fixed order.
template <typename Fn>
void ForEachTitleObject(TitleObjects& t, Fn fn) {
    for (CGraObj* o : {&t.bars, &t.cloud, &t.mountains, &t.ground, &t.logo, &t.sky}) fn(*o);
    for (CGraObj& walker : t.walkers) fn(walker);
    fn(t.pushKey);
    for (CScrollObjSet* set : {&t.walkerRow, &t.clouds, &t.groundStrip, &t.mountainStrip}) fn(*set);
}

// Every display object the game screen owns, in a fixed order (the message
// windows' pages and the damage numbers are kept with their owners).
template <typename Fn>
void ForEachGameObject(GameScreen& s, Fn fn) {
    for (CGraObj& o : s.mapChips) fn(o);
    for (CGraObj& o : s.windowFrames) fn(o);
    for (CGraObj& o : s.icons) fn(o);
    for (CNumObj& o : s.numbers) fn(o);
    for (CObjSet* set : {s.groundLayer, s.holeLayer, s.frameLayer}) fn(*set);
    for (auto* sets : {&s.unitStatus, &s.resourceStatus, &s.unitPanels})
        for (CObjSet& set : *sets) fn(set);
    for (CGraObj& o : s.commandWords) fn(o);
    for (auto& list : s.units)
        for (CGameChar* c : list) fn(*c);
    fn(*s.raider);
    for (CTextMessageMng& m : s.messages) fn(m);
}

void KeepBase(ObjectKeeper& keeper, CScene& scene) {
    media::StateArchive& archive = keeper.archive;
    archive.Value(scene.state);
    archive.Value(scene.pendingState);
    archive.Value(scene.fadeKind);
    archive.Value(scene.fade->kind);
    archive.Value(scene.fade->counter);
    archive.Value(scene.fade->closing);
    keeper.KeysRef(scene.keyConfig);
    keeper.DataRef(scene.gameData);
}

void KeepTitle(ObjectKeeper& keeper, CTitleScene& title) {
    ForEachTitleObject(*title.titleObjects, [&](CBaseObj& o) { keeper.List(o); });
    ForEachTitleObject(*title.titleObjects, [&](auto& o) { Keep(keeper, o); });
    keeper.archive.Value(title.visible);
}

void KeepMenu(ObjectKeeper& keeper, GridMenu& menu) {
    media::StateArchive& archive = keeper.archive;
    archive.Value(menu.x);
    archive.Value(menu.y);
    menu.items.resize(archive.Count(menu.items.size(), kMaxGridSide));
    for (auto& column : menu.items) {
        column.resize(archive.Count(column.size(), kMaxGridSide));
        for (CBaseObj*& item : column) keeper.Ref(item);
    }
    for (int32_t* value :
         {&menu.columnCount, &menu.rowCount, &menu.columnPitch, &menu.rowPitch, &menu.cursorColumn, &menu.cursorRow})
        archive.Value(*value);
    keeper.Ref(menu.cursor);
    archive.Value(menu.cursorOffsetX);
    archive.Value(menu.cursorOffsetY);
    keeper.KeysRef(menu.keyConfig);
    archive.Value(menu.selection);
    archive.Value(menu.decideSound);
    archive.Value(menu.moveSound);
    archive.Value(menu.cancelSound);
}

void KeepScreen(ObjectKeeper& keeper, GameScreen& s) {
    media::StateArchive& archive = keeper.archive;
    ForEachGameObject(s, [&](CBaseObj& o) { keeper.List(o); });
    ForEachGameObject(s, [&](auto& o) { Keep(keeper, o); });
    KeepMenu(keeper, *s.commandMenu);
    KeepMenu(keeper, *s.unitMenu);
    for (auto& line : s.lines) {
        line.resize(archive.Count(line.size(), kMaxUnits));
        for (CGameChar*& fighter : line) keeper.Ref(fighter);
    }
    for (uint32_t& front : s.lineFront) archive.Value(front);
    archive.Value(s.activeLine);
    archive.Value(s.raiderBeaten);
    keeper.DataRef(s.gameData);
    for (std::string& name : s.musicNames) archive.Value(name);
    for (std::string& name : s.soundNames) archive.Value(name);
    for (bool& visible : s.layerVisible) archive.Value(visible);
}

void KeepEffects(ObjectKeeper& keeper, DamageEffectPool& pool) {
    media::StateArchive& archive = keeper.archive;
    for (CDamageEffect* effect : pool.slots) {
        archive.Value(effect->m_x);
        archive.Value(effect->m_y);
        archive.Value(effect->m_life);
        Keep(keeper, effect->m_number);
    }
    std::vector<uint32_t> running;  // places in the ring
    if (archive.Writing())
        for (CDamageEffect* effect : pool.running)
            running.push_back(static_cast<uint32_t>(
                std::distance(pool.slots.begin(), std::find(pool.slots.begin(), pool.slots.end(), effect))));
    running.resize(archive.Count(running.size(), kMaxEffects));
    for (uint32_t& place : running) archive.Value(place);
    if (archive.Reading()) {
        pool.running.clear();
        for (uint32_t place : running) {
            if (place < pool.slots.size()) pool.running.push_back(pool.slots[place]);
            else archive.Fail();
        }
    }
    archive.Value(pool.nextSlot);
}

void KeepGame(ObjectKeeper& keeper, CGameScene& game) {
    media::StateArchive& archive = keeper.archive;
    archive.Value(game.commandChoice);
    for (auto* row : {&game.rowCost, &game.rowAmount, &game.rowOrderKind})
        for (int32_t& value : *row) archive.Value(value);
    archive.Value(game.stateTimer);
    archive.Value(game.raidPressure);
    KeepScreen(keeper, *game.screen);
    KeepEffects(keeper, *game.effectPool);
}

// The parts of a game scene whose number changes: the units of each colour and the damage numbers.
void KeepShape(media::StateArchive& archive, GameScreen& screen, DamageEffectPool& pool) {
    for (auto& list : screen.units) {
        const size_t count = archive.Count(list.size(), kMaxUnits);
        while (list.size() < count) list.push_back(new CGameChar());
    }
    const size_t effects = archive.Count(pool.slots.size(), kMaxEffects);
    while (pool.slots.size() < effects) pool.slots.push_back(new CDamageEffect(false));
}

}  // namespace

void KeepScene(ObjectKeeper& keeper, CScene& scene) {
    auto* title = dynamic_cast<CTitleScene*>(&scene);
    auto* game = dynamic_cast<CGameScene*>(&scene);
    uint8_t kind = title ? kTitle : game ? kGame : kNoScene;
    keeper.archive.Value(kind);
    if (game) KeepShape(keeper.archive, *game->screen, *game->effectPool);
    KeepBase(keeper, scene);
    if (title) KeepTitle(keeper, *title);
    if (game) KeepGame(keeper, *game);
}

std::unique_ptr<CScene> ReadScene(ObjectKeeper& keeper) {
    uint8_t kind = kNoScene;
    keeper.archive.Value(kind);
    std::unique_ptr<CScene> scene;
    if (kind == kTitle) {
        auto title = std::make_unique<CTitleScene>(new TitleObjects());
        KeepBase(keeper, *title);
        KeepTitle(keeper, *title);
        scene = std::move(title);
    } else if (kind == kGame) {
        auto game =
            std::make_unique<CGameScene>(new GameScreen(), new DamageEffectPool(std::vector<CDamageEffect*>{}));
        KeepShape(keeper.archive, *game->screen, *game->effectPool);
        KeepBase(keeper, *game);
        KeepGame(keeper, *game);
        scene = std::move(game);
    } else {
        keeper.archive.Fail();
    }
    return scene;
}

}  // namespace app
