// The game scene as Begin builds it: layers, numbers, menus, panels, units,
// messages and names; and its teardown.
#include <gtest/gtest.h>

#include <iterator>

#include "GameTestSupport.h"
#include "SjisTestText.h"
#include "game/rules/state/GameData.h"
#include "game/rules/scene/GameScene.h"
#include "game/world/DamageEffectPool.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "game/world/GridMenu.h"
#include "objects/graphics/TextGraph.h"
#include "objects/DamageEffect.h"

namespace {

class GameSceneBuildTest : public gametest::SceneFixture {};

template <typename List>
auto At(List& list, size_t i) {
    auto it = list.begin();
    std::advance(it, static_cast<long>(i));
    return it;
}

TEST_F(GameSceneBuildTest, ConstructionGivesAnEmptyScreen) {
    CGameScene scene;
    ASSERT_NE(scene.screen, nullptr);
    ASSERT_NE(scene.effectPool, nullptr);
    ASSERT_NE(scene.fade, nullptr);
    const GameScreen& s = *scene.screen;
    EXPECT_TRUE(s.groundLayer->m_children.empty());
    EXPECT_NE(s.raider, nullptr);
    EXPECT_EQ(s.raider->stats, nullptr);
    for (bool on : s.layerVisible) EXPECT_FALSE(on);
    for (const auto& name : s.musicNames) EXPECT_TRUE(name.empty());
    EXPECT_EQ(scene.effectPool->slots.size(), 50u);
    EXPECT_EQ(scene.effectPool->nextSlot, 0u);
    EXPECT_TRUE(scene.effectPool->running.empty());
}

TEST_F(GameSceneBuildTest, BeginLaysOutTheMapAndStatus) {
    CGameScene scene;
    scene.Begin(&keys, &data);
    GameScreen& s = *scene.screen;

    EXPECT_EQ(scene.keyConfig, &keys);
    EXPECT_EQ(scene.gameData, &data);
    EXPECT_EQ(s.gameData, &data);
    EXPECT_EQ(scene.fadeKind, 1);

    // 64 floor chips in a 16 x 4 grid: rows 0 and 10 chip 1, rows 20 and 30 chip 0.
    ASSERT_EQ(s.groundLayer->m_children.size(), 64u);
    size_t i = 0;
    auto off = s.groundLayer->m_offsets.begin();
    for (CBaseObj* chip : s.groundLayer->m_children) {
        const int row = static_cast<int>(i / 16), column = static_cast<int>(i % 16);
        EXPECT_EQ(chip, row < 2 ? &s.mapChips[1] : &s.mapChips[0]) << i;
        EXPECT_EQ(off->x, 10.0f * column);
        EXPECT_EQ(off->y, 10.0f * row);
        ++off;
        ++i;
    }
    EXPECT_EQ(s.groundLayer->m_x, 0);
    EXPECT_EQ(s.groundLayer->m_y, 30);
    // The hole: 2 x 2 chips at (70, 30).
    ASSERT_EQ(s.holeLayer->m_children.size(), 4u);
    EXPECT_EQ(*At(s.holeLayer->m_children, 3), &s.mapChips[7]);
    EXPECT_EQ(At(s.holeLayer->m_offsets, 3)->x, 10.0f);
    EXPECT_EQ(At(s.holeLayer->m_offsets, 3)->y, 10.0f);
    EXPECT_EQ(s.holeLayer->m_x, 70);
    EXPECT_EQ(s.holeLayer->m_y, 30);
    EXPECT_EQ(At(s.frameLayer->m_offsets, 1)->y, 70.0f);

    // Every chip, icon and digit set has its graphics, loaded or not.
    for (const auto& chip : s.mapChips) EXPECT_EQ(chip.m_graphics.size(), 1u);
    for (const auto& icon : s.icons) EXPECT_EQ(icon.m_graphics.size(), 1u);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(s.icons[9 + c].m_frameWait, 10u);
    for (const auto& n : s.numbers) {
        EXPECT_EQ(n.m_graphics.size(), 10u);
        EXPECT_EQ(n.m_digitPitch, 5);
        EXPECT_EQ(n.m_max, 9999);
    }
    for (const auto& w : s.commandWords) EXPECT_EQ(w.m_graphics.size(), 1u);

    // Status numbers: levels 1, head counts 3, food 100, money 100, traps 0, day 1.
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(s.numbers[2 * k].m_value, 1);
        EXPECT_EQ(s.numbers[2 * k + 1].m_value, 3);
    }
    EXPECT_EQ(s.numbers[8].m_value, 100);
    EXPECT_EQ(s.numbers[9].m_value, 100);
    EXPECT_EQ(s.numbers[10].m_value, 0);
    EXPECT_EQ(s.numbers[11].m_value, 1);
    EXPECT_EQ(s.numbers[10].m_digitCount, 1);

    // Status sets at their places, numbers at their offsets.
    const int statusPos[4][2] = {{81, -1}, {120, -1}, {81, 11}, {120, 11}};
    const int resourcePos[4][2] = {{2, -2}, {38, -2}, {2, 12}, {38, 12}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(s.unitStatus[k].m_x, statusPos[k][0]);
        EXPECT_EQ(s.unitStatus[k].m_y, statusPos[k][1]);
        EXPECT_EQ(*At(s.unitStatus[k].m_children, 2), &s.numbers[2 * k + 1]);
        EXPECT_EQ(At(s.unitStatus[k].m_offsets, 2)->x, 23.0f);
        EXPECT_EQ(s.resourceStatus[k].m_x, resourcePos[k][0]);
        EXPECT_EQ(s.resourceStatus[k].m_y, resourcePos[k][1]);
        EXPECT_EQ(*At(s.resourceStatus[k].m_children, 0), &s.icons[k]);
        EXPECT_EQ(At(s.resourceStatus[k].m_offsets, 1)->x, 25.0f);
        EXPECT_EQ(At(s.resourceStatus[k].m_offsets, 1)->y, 8.0f);
    }
}

TEST_F(GameSceneBuildTest, BeginBuildsMenusPanelsMessagesAndNames) {
    CGameScene scene;
    scene.Begin(&keys, &data);
    GameScreen& s = *scene.screen;

    const GridMenu& command = *s.commandMenu;
    EXPECT_EQ(command.columnCount, 2);
    EXPECT_EQ(command.rowCount, 3);
    EXPECT_EQ(command.x, 14);
    EXPECT_EQ(command.y, 78);
    EXPECT_EQ(command.columnPitch, 81);
    EXPECT_EQ(command.rowPitch, 11);
    EXPECT_EQ(command.cursor, &s.icons[6]);
    EXPECT_EQ(command.cursorOffsetX, -9);
    EXPECT_EQ(command.keyConfig, &keys);
    EXPECT_EQ(command.items[0][2], &s.commandWords[2]);
    EXPECT_EQ(command.items[1][0], &s.commandWords[3]);
    EXPECT_EQ(command.decideSound, "Dec.wav");
    EXPECT_EQ(command.moveSound, "Select.wav");
    EXPECT_EQ(command.cancelSound, "Cancel.wav");

    const GridMenu& unit = *s.unitMenu;
    EXPECT_EQ(unit.rowCount, 2);
    EXPECT_EQ(unit.x, 12);
    EXPECT_EQ(unit.y, 77);
    EXPECT_EQ(unit.columnPitch, 78);
    EXPECT_EQ(unit.rowPitch, 20);
    EXPECT_EQ(unit.cursorOffsetX, -8);
    EXPECT_EQ(unit.cursorOffsetY, 5);
    EXPECT_EQ(unit.items[0][1], &s.unitPanels[1]);
    EXPECT_EQ(unit.items[1][0], &s.unitPanels[2]);
    EXPECT_EQ(unit.selection, -1);

    // Panels: seven members, three empty slots for the commands to fill.
    for (int k = 0; k < 4; ++k) {
        const CObjSet& panel = s.unitPanels[k];
        ASSERT_EQ(panel.m_children.size(), 7u);
        const CBaseObj* expected[7] = {&s.icons[9 + k], nullptr,     &s.numbers[12 + 2 * k], nullptr,
                                       nullptr,         &s.icons[6], &s.numbers[13 + 2 * k]};
        const float offsets[7][2] = {{0, 0}, {16, -8}, {45, 0}, {16, 3}, {35, 10}, {43, 9}, {57, 10}};
        for (size_t m = 0; m < 7; ++m) {
            EXPECT_EQ(*At(panel.m_children, m), expected[m]);
            EXPECT_EQ(At(panel.m_offsets, m)->x, offsets[m][0]);
            EXPECT_EQ(At(panel.m_offsets, m)->y, offsets[m][1]);
        }
    }

    // Messages: one page each, the keys, at (8, 77).
    const char* texts[3] = {"てきしゅうだ！", "たたかいにしょうりした！", "ぜんめつしてしまった･･･"};
    for (int m = 0; m < 3; ++m) {
        const CTextMessageMng& msg = s.messages[m];
        EXPECT_EQ(msg.m_pageCount, 1u);
        EXPECT_EQ(msg.m_page, 0u);
        EXPECT_EQ(msg.m_keys, &keys);
        EXPECT_EQ(msg.m_x, 8);
        EXPECT_EQ(msg.m_y, 77);
        ASSERT_EQ(msg.m_pages->m_graphics.size(), 1u);
        const auto* page = dynamic_cast<const CTextGraph*>(msg.m_pages->m_graphics[0]);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->m_lines[0], testtext::ToSjis(texts[m]));
        EXPECT_EQ(page->m_lineHeight, 8);
    }
    const auto* rest = dynamic_cast<const CTextGraph*>(s.commandWords[5].m_graphics.at(0));
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->m_lines[0], testtext::ToSjis("きゅうけい"));

    EXPECT_EQ(s.musicNames[0], "Battle1.mp3");
    EXPECT_EQ(s.musicNames[6], "Normal1_2.mp3");
    EXPECT_EQ(s.musicNames[9], "Win.mp3");
    EXPECT_EQ(s.soundNames[3], "Attack.wav");
    // The four effects were loaded (or their failures remembered) up front.
    for (const auto& name : s.soundNames) EXPECT_EQ(SoundStore::Instance()->m_handles.count(name), 1u);
}

TEST_F(GameSceneBuildTest, BeginMakesTwelveStartingUnits) {
    data.player.unitLevel = {1, 2, 1, 5};
    CGameScene scene;
    scene.Begin(&keys, &data);
    GameScreen& s = *scene.screen;

    for (int c = 0; c < 4; ++c) {
        ASSERT_EQ(s.units[c].size(), 3u);
        const UnitRecord& kind = data.unitKinds[c];
        const int factor = data.player.unitLevel[c] + 3;
        for (CGameChar* u : s.units[c]) {
            ASSERT_NE(u->stats, nullptr);
            const UnitStats& st = *u->stats;
            EXPECT_EQ(u->colour, c);
            EXPECT_EQ(u->m_graphics.size(), 4u);
            EXPECT_EQ(st.level, data.player.unitLevel[c]);
            EXPECT_EQ(st.hp, st.maxHp);
            EXPECT_GE(st.maxHp, kind.maxHp + 80 * kind.hpGrowth * factor / 100);
            EXPECT_LE(st.maxHp, kind.maxHp + 120 * kind.hpGrowth * factor / 100);
            EXPECT_GE(st.defence, kind.defence + 80 * kind.defenceGrowth * factor / 100);
            EXPECT_LE(st.defence, kind.defence + 120 * kind.defenceGrowth * factor / 100);
            EXPECT_EQ(st.hpGrowth, kind.hpGrowth);
        }
    }
    EXPECT_EQ(s.numbers[6].m_value, 5);
    ASSERT_NE(s.raider->stats, nullptr);
    EXPECT_EQ(s.raider->stats->maxHp, 0);

    // No raid yet: empty lines, fronts at 0, the unused layer off.
    for (int j = 0; j < 3; ++j) {
        EXPECT_TRUE(s.lines[j].empty());
        EXPECT_EQ(s.lineFront[j], 0u);
    }
    EXPECT_FALSE(s.layerVisible[kLayerUnused]);
    EXPECT_EQ(scene.state, kStateGameStart);
    EXPECT_EQ(scene.raidPressure, 0);
    EXPECT_EQ(scene.NextScene(), 0);
    scene.state = kStateLeave;
    EXPECT_EQ(scene.NextScene(), 1);
}

TEST_F(GameSceneBuildTest, NumbersKeepTheirBuiltRange) {
    data.player.food = 12345;
    data.player.money = -7;
    CGameScene scene;
    scene.Begin(&keys, &data);
    EXPECT_EQ(scene.screen->numbers[8].m_value, 9999);
    EXPECT_EQ(scene.screen->numbers[9].m_value, 0);
}

TEST_F(GameSceneBuildTest, TeardownDeletesEachUnitOnce) {
    auto* scene = new CGameScene();
    scene->Begin(&keys, &data);
    GameScreen& s = *scene->screen;
    // Lines refer to units of the colour lists; the scene must not delete them twice.
    int j = 0;
    for (auto& list : s.units) {
        for (CGameChar* u : list) s.lines[j++ % 3].push_back(u);
    }
    scene->effectPool->ShowDamage(12, 80, 60);
    delete scene;  // the address checker reports any double delete or leak
    SUCCEED();
}

TEST_F(GameSceneBuildTest, KeyConfigIsOnlyTakenFromBegin) {
    CGameScene scene;
    scene.Begin(&keys, &data);
    KeyConfig other;
    scene.SetKeyConfig(&other);
    EXPECT_EQ(scene.keyConfig, &keys);
}

TEST(DamageEffectPool, RingOfFiftyAndRunningList) {
    gametest::WorkFolder folder(false);
    DamageEffectPool pool;
    pool.ShowDamage(12, 80, 60);
    ASSERT_EQ(pool.running.size(), 1u);
    CDamageEffect* first = pool.running.front();
    EXPECT_EQ(first, pool.slots[0]);
    EXPECT_EQ(pool.nextSlot, 1u);
    EXPECT_EQ(first->m_life, 60);
    EXPECT_EQ(first->m_number.m_value, 12);
    EXPECT_EQ(first->m_number.m_alpha.value, 255.0);
    EXPECT_EQ(first->m_number.m_alpha.step, 0.0);
    EXPECT_EQ(first->m_number.m_x, 80);

    // 60 updates alive, the 61st retires it; the effect stays in its slot.
    for (int i = 0; i < 60; ++i) pool.UpdateDamageNumbers();
    EXPECT_EQ(pool.running.size(), 1u);
    EXPECT_EQ(first->m_life, 0);
    pool.UpdateDamageNumbers();
    EXPECT_TRUE(pool.running.empty());
    EXPECT_EQ(pool.slots[0], first);

    // The ring wraps from 49 to 0; a slot taken again while still running is
    // listed once, at the end, and starts over.
    for (int i = 1; i < 50; ++i) pool.ShowDamage(i, 10, 10);
    EXPECT_EQ(pool.nextSlot, 0u);
    pool.ShowDamage(7, 20, 20);
    EXPECT_EQ(pool.nextSlot, 1u);
    EXPECT_EQ(pool.running.size(), 49u + 1u);
    pool.ShowDamage(8, 20, 20);  // slot 1, still running
    EXPECT_EQ(pool.running.size(), 50u);
    EXPECT_EQ(pool.running.back(), pool.slots[1]);
    EXPECT_EQ(pool.slots[1]->m_life, 60);
}

}  // namespace
