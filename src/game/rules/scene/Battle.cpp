// The battle: lining up, one exchange of blows, and the clean-up after a victory.
#include "game/rules/scene/GameScene.h"
#include "game/rules/scene/RuleMath.h"
#include "game/rules/state/GameData.h"
#include "game/world/DamageEffectPool.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "media/Media.h"
#include "resources/SoundStore.h"

namespace {

bool Exhausted(const GameScreen& s, size_t line) { return s.lineFront[line] >= s.lines[line].size(); }

// Every fighter still standing in line `line`, front first.
template <typename Fn>
void ForEachStanding(GameScreen& s, size_t line, Fn fn) {
    const auto& members = s.lines[line];
    for (size_t i = s.lineFront[line]; i < members.size(); ++i) fn(*members[i], i - s.lineFront[line]);
}

void SetStandingMode(GameScreen& s, int mode) {
    for (size_t j = 0; j < 3; ++j) ForEachStanding(s, j, [mode](CGameChar& c, size_t) { c.SetMode(mode); });
}

// trunc(v) of a non-negative raw damage minus a quarter of the defence; a negative result is 1.
int32_t Damage(int64_t base, int32_t defence) {
    const int64_t raw = static_cast<int64_t>(static_cast<double>((GetRandom(40) + 80) * base) / 100.0);
    int64_t d = raw - defence / 4;
    if (d < 0) d = 1;
    return rules::ClampToInt32(d);
}

}  // namespace

void CGameScene::FormLines() {
    GameScreen& s = *screen;
    for (size_t j = 0; j < 3; ++j) {
        ForEachStanding(s, j, [j](CGameChar& c, size_t i) {
            c.SetPos(rules::ClampToInt32(44 - 10 * static_cast<int64_t>(i)), 40 + 7 * static_cast<int>(j));
        });
    }
    s.raider->SetPos(100, 47);
    SetStandingMode(s, kCharWalkRight);
    s.raider->SetMode(kCharWalkLeft);
}

void CGameScene::RunExchange() {
    GameScreen& s = *screen;
    CGameChar& raider = *s.raider;
    size_t active = static_cast<size_t>(s.activeLine);
    if (active > 2 || Exhausted(s, active)) {
        // Not reachable through the states: the active line always has a fighter here.
        s.raiderBeaten = false;
        EnterState(kStateBattleOver);
        return;
    }
    CGameChar& front = *s.lines[active][s.lineFront[active]];

    SoundStore::Instance()->PlayEffect(s.soundNames[kSoundAttack].c_str());

    // The active front fighter counts one and a half times.
    int64_t strength = front.stats->attack / 2;
    for (size_t j = 0; j < 3; ++j)
        if (!Exhausted(s, j)) strength += s.lines[j][s.lineFront[j]]->stats->attack;
    const double x = (static_cast<double>(strength) / 3.0 + 0.9) * 0.5;
    const int64_t blow = x >= 9.0e15 ? int64_t{9000000000000000} : static_cast<int64_t>(x);

    const int32_t toRaider = Damage(blow, raider.stats->defence);
    raider.stats->hp = rules::SatSub(raider.stats->hp, toRaider);
    const int32_t toFront = Damage(raider.stats->attack / 2, front.stats->defence);
    front.stats->hp = rules::SatSub(front.stats->hp, toFront);

    effectPool->ShowDamage(toFront, 72, 50 + 7 * s.activeLine);
    effectPool->ShowDamage(toRaider, 88, 50);

    if (front.stats->hp <= 0) {
        front.SetMode(kCharFlyLeft);
        s.lineFront[active] += 1;
        SetStandingMode(s, kCharWalkLeft);
        ForEachStanding(s, active, [](CGameChar& c, size_t) { c.SetMode(kCharWalkLeftSlow); });
    } else {
        SetStandingMode(s, kCharWalkLeft);
    }

    if (Exhausted(s, 0) && Exhausted(s, 1) && Exhausted(s, 2)) {
        s.raiderBeaten = false;  // also when the raider fell in the same exchange
        EnterState(kStateBattleOver);
        return;
    }
    for (int tries = 0; tries < 3; ++tries) {
        s.activeLine = (s.activeLine + 1) % 3;
        if (!Exhausted(s, static_cast<size_t>(s.activeLine))) break;
    }

    if (raider.stats->hp <= 0) {
        raider.SetMode(kCharFlyRight);
        SetStandingMode(s, kCharWalkRight);
        s.raiderBeaten = true;
        EnterState(kStateBattleOver);
    } else {
        raider.SetMode(kCharWalkRight);
        EnterState(kStateAfterExchange);
    }
}

void CGameScene::CleanUpAfterBattle() {
    GameScreen& s = *screen;
    const PlayerRecord& player = gameData->player;
    for (size_t k = 0; k < 4; ++k) {
        auto& list = s.units[k];
        for (auto it = list.begin(); it != list.end();) {
            CGameChar* unit = *it;
            if (unit->stats && unit->stats->hp <= 0) {
                unit->Release();
                delete unit;
                it = list.erase(it);
            } else {
                ++it;
            }
        }
        if (player.orders[k].daysLeft < 1)
            for (CGameChar* unit : list) unit->SetMode(kCharAppear);
    }
}
