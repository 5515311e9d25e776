// The evening raid roll and the set-up of a raid: defence lines, raider, traps.
#include <iterator>
#include <list>

#include "game/rules/scene/GameScene.h"
#include "game/rules/scene/RuleMath.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "media/Media.h"

void CGameScene::RollRaid() {
    PlayerRecord& player = gameData->player;
    raidPressure = rules::SatAdd(raidPressure, GetRandom(30) + 10);
    if (raidPressure < 100 && player.day % 20 != 0) {
        RequestState(kStateNewDay, 1);  // a quiet night
    } else {
        raidPressure = 0;
        RequestState(kStateRaidAlert, 1);
    }
}

void CGameScene::SetUpRaid() {
    GameScreen& s = *screen;
    PlayerRecord& player = gameData->player;

    std::list<CGameChar*>::iterator next[4];
    for (size_t k = 0; k < 4; ++k) next[k] = s.units[k].begin();
    s.activeLine = 0;
    size_t defenders = 0;
    for (size_t k = 0; k < 4; ++k)
        if (player.orders[k].daysLeft <= 0) defenders += s.units[k].size();
    for (auto& line : s.lines) line.clear();

    // Defenders go to lines 0, 1, 2, 0, ... in the order their colours are drawn.
    for (size_t placed = 0; placed < defenders;) {
        const size_t k = static_cast<size_t>(GetRandom(3));
        if (player.orders[k].daysLeft >= 1 || next[k] == s.units[k].end()) continue;
        s.lines[static_cast<size_t>(s.activeLine)].push_back(*next[k]);
        ++next[k];
        ++placed;
        s.activeLine = (s.activeLine + 1) % 3;
    }

    s.lineFront = {0, 0, 0};
    s.activeLine = 0;
    for (size_t j = 0; j < 3; ++j) {
        int i = 0;
        for (CGameChar* unit : s.lines[j]) {
            unit->SetMode(kCharStand);
            unit->SetPos(rules::ClampToInt32(44 - int64_t{10} * i), 40 + 7 * static_cast<int>(j));
            i = rules::SatAdd(i, 1);
        }
    }

    CGameChar& raider = *s.raider;
    raider.SetMode(kCharWalkLeft);
    raider.SetPos(100, 47);

    const int32_t day = player.day;
    const bool bossDay = day % 40 == 0 || day % 100 == 0;
    int32_t kind = 0;
    if (day % 100 == 0) kind = 5;
    else if (day % 40 == 0) kind = 4;
    else kind = GetRandom(3);
    int32_t level = bossDay ? day / 4 + 1 : GetRandom(3) + day / 6 - 3;

    if (!raider.stats) raider.stats = new UnitStats{};
    UnitStats& stats = *raider.stats;
    const UnitRecord& enemy = gameData->enemyKinds[static_cast<size_t>(kind)];
    stats = UnitStats{};
    CopyKindStats(enemy, stats);
    ApplyLevel(stats, level);

    if (player.traps > 0) {
        // Each trap takes a twelfth of the raider's hit points; twelve or more leave it 100.
        const int64_t taken = int64_t{stats.hp} * player.traps / 12;
        const int64_t hp = int64_t{stats.hp} - taken;
        stats.hp = hp <= 0 ? 100 : rules::ClampToInt32(hp);
        player.traps -= 1;
    }

    raider.ClearGraphics();
    raider.AddCells(enemy.imageName, 4, 1, -1, 0, 3);
    raider.SetMode(kCharStand);
}
