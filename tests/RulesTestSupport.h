// A game scene driven frame by frame for the rules tests: the headless media
// layer, a fresh game record, and helpers that shape the dungeon directly.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>

#include "GameTestSupport.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "game/world/DamageEffectPool.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "game/world/GridMenu.h"
#include "app/input/KeyConfig.h"

namespace rulestest {

using gametest::kKeyDown;
using gametest::kKeyLeft;
using gametest::kKeyRight;
using gametest::kKeyUp;
using gametest::kKeyX;
using gametest::kKeyZ;

class RulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::make_unique<gametest::WorkFolder>(false);
        keys_ = gametest::StandardKeys();
        data_.ResetPlayer();
        data_.FillKindTables();
        gametest::ClearKeys();
        scene_ = std::make_unique<CGameScene>();
        scene_->Begin(&keys_, &data_);
    }
    void TearDown() override {
        scene_.reset();
        gametest::ClearKeys();
        folder_.reset();
    }

    CGameScene& Scene() { return *scene_; }
    GameScreen& Screen() { return *scene_->screen; }
    PlayerRecord& Player() { return data_.player; }
    GameData& Data() { return data_; }
    KeyConfig& Keys() { return keys_; }

    // One frame as the main loop runs it, with exactly these keys down.
    void Step(std::initializer_list<int> down = {}) {
        gametest::Frame(down);
        scene_->Update();
        scene_->Draw();
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) Step();
    }
    // A key pressed for one frame and released in the next.
    void Press(int key) {
        Step({key});
        Step();
    }
    // Frames until the predicate holds (checked after each frame); the count, or -1.
    int StepUntil(const std::function<bool()>& done, int limit = 2000) {
        for (int i = 1; i <= limit; ++i) {
            Step();
            if (done()) return i;
        }
        return -1;
    }

    // From the game's start to the open command menu.
    void ToCommandMenu() {
        ASSERT_GE(StepUntil([&] { return Scene().state == kStateCommandMenu && Scene().fade->counter == 0; }), 0);
    }
    // Puts the command cursor on a selection (1..6) and presses decide.
    void Choose(int selection) {
        GridMenu& m = *Screen().commandMenu;
        m.cursorColumn = (selection - 1) / 3;
        m.cursorRow = (selection - 1) % 3;
        Press(kKeyZ);
    }
    // Puts the unit cursor on a colour and presses decide.
    void ChooseColour(int colour) {
        GridMenu& m = *Screen().unitMenu;
        m.cursorColumn = colour / 2;
        m.cursorRow = colour % 2;
        Press(kKeyZ);
    }

    // Makes colour k hold exactly n units (new ones are plain level-1 units).
    void SetUnitCount(int k, size_t n) {
        auto& list = Screen().units[static_cast<size_t>(k)];
        while (list.size() > n) {
            CGameChar* c = list.back();
            list.pop_back();
            c->Release();
            delete c;
        }
        while (list.size() < n) {
            auto* c = new CGameChar();
            SetupUnitGraphics(*c, k);
            c->stats = new UnitStats{};
            CopyKindStats(data_.unitKinds[static_cast<size_t>(k)], *c->stats);
            ApplyLevel(*c->stats, 1);
            c->SetMode(kCharAppear);
            list.push_back(c);
        }
    }
    CGameChar& Unit(int k, size_t i) {
        auto& list = Screen().units[static_cast<size_t>(k)];
        return **std::next(list.begin(), static_cast<std::ptrdiff_t>(i));
    }
    int32_t Value(size_t number) { return Screen().numbers[number].m_value; }

private:
    std::unique_ptr<gametest::WorkFolder> folder_;
    KeyConfig keys_;
    GameData data_;
    std::unique_ptr<CGameScene> scene_;
};

}  // namespace rulestest
