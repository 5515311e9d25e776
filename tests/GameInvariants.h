// Checks, frame after frame, what must always hold of a running game scene:
// every unit named anywhere is a live member of a unit list, wandering units stay
// in their band, and the records change only by the rules that move them.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"

namespace rulestest {

class GameInvariants {
public:
    // Call once at the end of every frame the scene ran; `scene` may change between
    // calls (a new game). Returns false after the first failure (reported through gtest).
    bool Check(CGameScene& scene, uint64_t frame) {
        if (&scene != scene_) {  // a new game scene: starts from the new-game record
            scene_ = &scene;
            prev_ = scene.gameData->player;
            prevState_ = scene.state;
            ++games_;
            const PlayerRecord& p = prev_;
            EXPECT_EQ(p.food, 100);
            EXPECT_EQ(p.money, 100);
            EXPECT_EQ(p.traps, 0);
            EXPECT_EQ(p.day, 1);
        }
        const std::string where = "frame " + std::to_string(frame);
        const GameScreen& s = *scene.screen;
        const PlayerRecord& p = scene.gameData->player;

        // Units: members of exactly one list, well-formed, in their band while wandering. Reading
        // every listed unit each frame also lets the sanitizer catch a freed one.
        std::set<const CGameChar*> live;
        for (size_t k = 0; k < 4; ++k) {
            for (const CGameChar* c : s.units[k]) {
                if (!live.insert(c).second) return Fail(where + ": a unit is listed twice");
                if (!c->stats) return Fail(where + ": a unit without stats");
                if (c->mode < kCharHidden || c->mode > kCharWalkLeftSlow) return Fail(where + ": bad mode");
                if (c->colour != static_cast<int>(k)) return Fail(where + ": unit in another colour's list");
                if (c->mode == kCharWander && (c->m_x < 0 || c->m_x > 144 || c->m_y < 40 || c->m_y > 52))
                    return Fail(where + ": a wandering unit left the band at " + std::to_string(c->m_x) + "," +
                                std::to_string(c->m_y));
            }
        }
        if (scene.state >= kStateRaidAlert && scene.state <= kStateDefeat) {
            for (size_t j = 0; j < 3; ++j) {
                if (s.lineFront[j] > s.lines[j].size()) return Fail(where + ": front beyond its line");
                for (const CGameChar* c : s.lines[j])
                    if (!live.count(c)) return Fail(where + ": a line names a unit that is not listed");
            }
        }
        if (s.raider == nullptr || s.raider->stats == nullptr) return Fail(where + ": raider without stats");

        // Records: change only by orders placed, orders completed, and a trap per raid.
        PlayerRecord expect = prev_;
        const bool newDay = p.day != prev_.day;
        if (newDay) {
            if (p.day != prev_.day + 1) return Fail(where + ": the day jumped");
            for (size_t k = 0; k < 4; ++k) {
                expect.orders[k].daysLeft = prev_.orders[k].daysLeft - 1;
                if (expect.orders[k].daysLeft != 0) continue;
                const UnitOrder& o = prev_.orders[k];
                if (o.kind == kOrderHunt) expect.food += o.amount;
                if (o.kind == kOrderRaiseFunds) expect.money += o.amount;
                if (o.kind == kOrderSetTrap) expect.traps += o.amount;
                if (o.kind == kOrderLevelUp) expect.unitLevel[k] += o.amount;
            }
            expect.day = p.day;
        }
        for (size_t k = 0; k < 4; ++k) {
            if (prev_.orders[k].daysLeft <= 0 && p.orders[k].daysLeft >= 1 && !newDay) {
                // An order placed this frame, paid at the offer's cost.
                ++orders_;
                const int choice = scene.commandChoice;
                if (choice < 1 || choice > 5) return Fail(where + ": an order without a command");
                (choice <= 3 ? expect.food : expect.money) -= scene.rowCost[k];
                expect.orders[k] = {std::array<int, 5>{4, 3, 2, 3, 1}[static_cast<size_t>(choice - 1)],
                                    scene.rowOrderKind[k], scene.rowAmount[k]};
            }
        }
        if (scene.state == kStateRaidAlert && prevState_ != kStateRaidAlert) {
            ++raids_;
            if (prev_.traps > 0) expect.traps -= 1;
        }
        if (p.food != expect.food || p.money != expect.money || p.traps != expect.traps || p.day != expect.day ||
            p.unitLevel != expect.unitLevel)
            return Fail(where + ": records changed outside the rules: food " + std::to_string(prev_.food) + "->" +
                        std::to_string(p.food) + " money " + std::to_string(prev_.money) + "->" +
                        std::to_string(p.money) + " traps " + std::to_string(prev_.traps) + "->" +
                        std::to_string(p.traps));
        for (size_t k = 0; k < 4; ++k)
            if (p.orders[k].daysLeft != expect.orders[k].daysLeft || p.orders[k].kind != expect.orders[k].kind ||
                p.orders[k].amount != expect.orders[k].amount)
                return Fail(where + ": order " + std::to_string(k) + " changed outside the rules");
        if (p.food < 0 || p.money < 0 || p.traps < 0) return Fail(where + ": a resource fell below zero");
        if (scene.state == kStateVictory && prevState_ != kStateVictory) ++victories_;
        if (scene.state == kStateDefeat && prevState_ != kStateDefeat) ++defeats_;

        prev_ = p;
        prevState_ = scene.state;
        maxDay_ = std::max(maxDay_, p.day);
        return true;
    }

    // Called for frames that show no game scene (the title).
    void Leave() { scene_ = nullptr; }

    int games_ = 0, raids_ = 0, victories_ = 0, defeats_ = 0, orders_ = 0;
    int32_t maxDay_ = 0;

private:
    bool Fail(const std::string& what) {
        ADD_FAILURE() << what;
        return false;
    }
    CGameScene* scene_ = nullptr;
    PlayerRecord prev_{};
    int prevState_ = 0;
};

}  // namespace rulestest
