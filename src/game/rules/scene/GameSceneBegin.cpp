// Building the play screen: pictures, layout, menus, starting units, names.
#include <string>
#include <vector>

#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "game/world/GameTexts.h"
#include "game/world/GridMenu.h"
#include "resources/SoundStore.h"

namespace {

// Sprite sheets by unit colour (Yellow, Blue, Red, Green).
const char* const kUnitSheets[4] = {"CharY.bmp", "CharB.bmp", "CharR.bmp", "CharG.bmp"};
const char* const kStatusIcons[5] = {"TrophicIcon.bmp", "MoneyIcon.bmp", "Icon_Trap.bmp", "Icon_Date.bmp",
                                     "LVIcon.bmp"};

constexpr int kUnitsPerColour = 3;

void LoadPictures(GameScreen& s) {
    for (int i = 0; i < 4; ++i) {
        s.mapChips[i].AddCells("map_chip.bmp", 2, 2, -1, i, i);
        s.mapChips[4 + i].AddCells("map_chip_ana.bmp", 2, 2, -1, i, i);
    }
    for (int c = 0; c < 4; ++c) {
        s.icons[9 + c].AddCells(kUnitSheets[c], 4, 4, -1, 0, 3);
        s.icons[9 + c].m_frameWait = 10;
    }
    s.windowFrames[0].AddPicture("Flame1.bmp");
    s.windowFrames[1].AddPicture("Flame2.bmp");
    for (int i = 0; i < 5; ++i) s.icons[i].AddPicture(kStatusIcons[i]);
    for (int i = 0; i < 4; ++i) s.icons[5 + i].AddCells("Arrow.bmp", 2, 2, -1, i, i);
    s.icons[13].AddPicture("HeiIcon.bmp");
    for (auto& n : s.numbers) n.LoadDigits();
    for (int i = 0; i < 6; ++i) s.commandWords[i].AddText(CommandWordText(i), 8);
}

void BuildLayers(GameScreen& s) {
    for (int y = 0; y <= 30; y += 10) {
        for (int x = 0; x <= 150; x += 10) {
            s.groundLayer->Add(y < 20 ? &s.mapChips[1] : &s.mapChips[0], static_cast<float>(x),
                               static_cast<float>(y));
        }
    }
    s.holeLayer->Add(&s.mapChips[4], 0, 0);
    s.holeLayer->Add(&s.mapChips[5], 10, 0);
    s.holeLayer->Add(&s.mapChips[6], 0, 10);
    s.holeLayer->Add(&s.mapChips[7], 10, 10);
    s.frameLayer->Add(&s.windowFrames[0], 0, 0);
    s.frameLayer->Add(&s.windowFrames[1], 0, 70);
    for (int k = 0; k < 4; ++k) {
        s.unitStatus[k].Add(&s.icons[9 + k], 0, 0);
        s.unitStatus[k].Add(&s.numbers[2 * k], 0, 9);
        s.unitStatus[k].Add(&s.numbers[2 * k + 1], 23, 9);
    }
    for (int k = 0; k < 4; ++k) {
        s.resourceStatus[k].Add(&s.icons[k], 0, 0);
        s.resourceStatus[k].Add(&s.numbers[8 + k], 25, 8);
    }
    for (int k = 0; k < 4; ++k) {
        CObjSet& panel = s.unitPanels[k];
        panel.Add(&s.icons[9 + k], 0, 0);
        panel.Add(nullptr, 16, -8);  // cost icon, filled by the commands
        panel.Add(&s.numbers[12 + 2 * k], 45, 0);
        panel.Add(nullptr, 16, 3);   // result icon
        panel.Add(nullptr, 35, 10);  // current value
        panel.Add(&s.icons[6], 43, 9);
        panel.Add(&s.numbers[13 + 2 * k], 57, 10);
    }
}

void BuildMenus(GameScreen& s) {
    GridMenu& command = *s.commandMenu;
    command.SetGrid(3);
    command.columnPitch = 81;
    command.rowPitch = 11;
    command.cursor = &s.icons[6];
    command.cursorOffsetX = -9;
    command.cursorOffsetY = 0;
    for (unsigned r = 0; r < 3; ++r) {
        command.SetItem(0, r, &s.commandWords[r]);
        command.SetItem(1, r, &s.commandWords[3 + r]);
    }

    GridMenu& unit = *s.unitMenu;
    unit.SetGrid(2);
    unit.columnPitch = 78;
    unit.rowPitch = 20;
    unit.cursor = &s.icons[6];
    unit.cursorOffsetX = -8;
    unit.cursorOffsetY = 5;
    unit.SetItem(0, 0, &s.unitPanels[0]);
    unit.SetItem(0, 1, &s.unitPanels[1]);
    unit.SetItem(1, 0, &s.unitPanels[2]);
    unit.SetItem(1, 1, &s.unitPanels[3]);
}

void PlaceObjects(GameScreen& s) {
    s.groundLayer->SetPos(0, 30);
    s.holeLayer->SetPos(70, 30);
    s.unitStatus[0].SetPos(81, -1);
    s.unitStatus[1].SetPos(120, -1);
    s.unitStatus[2].SetPos(81, 11);
    s.unitStatus[3].SetPos(120, 11);
    s.resourceStatus[0].SetPos(2, -2);
    s.resourceStatus[1].SetPos(38, -2);
    s.resourceStatus[2].SetPos(2, 12);
    s.resourceStatus[3].SetPos(38, 12);
    s.commandMenu->x = 14;
    s.commandMenu->y = 78;
    s.unitMenu->x = 12;
    s.unitMenu->y = 77;
    for (auto& m : s.messages) m.SetPos(8, 77);
}

void MakeStartingUnits(GameScreen& s, const GameData& data) {
    for (int c = 0; c < 4; ++c) {
        for (int i = 0; i < kUnitsPerColour; ++i) {
            auto* stats = new UnitStats();
            auto* character = new CGameChar();
            CopyKindStats(data.unitKinds[c], *stats);
            ApplyLevel(*stats, data.player.unitLevel[c]);
            SetupUnitGraphics(*character, c);
            character->stats = stats;
            s.units[c].push_back(character);
        }
    }
}

}  // namespace

void CGameScene::Begin(KeyConfig* keys, GameData* data) {
    CScene::Begin(keys, data);

    GameScreen& s = *screen;
    commandChoice = 0;
    rowCost = {};
    rowAmount = {};
    rowOrderKind = {};
    stateTimer = 0;
    raidPressure = 0;
    s.activeLine = 0;
    s.gameData = data;
    s.commandMenu->keyConfig = keys;
    s.unitMenu->keyConfig = keys;
    for (auto& m : s.messages) m.m_keys = keys;

    LoadPictures(s);
    BuildLayers(s);
    BuildMenus(s);
    PlaceObjects(s);
    if (data) MakeStartingUnits(s, *data);

    delete s.raider->stats;
    s.raider->stats = new UnitStats();

    EnterState(kStateGameStart);

    if (data) {
        for (int k = 0; k < 4; ++k) {
            s.numbers[2 * k].SetValue(data->player.unitLevel[k]);
            s.numbers[2 * k + 1].SetValue(static_cast<int>(s.units[k].size()));
        }
        s.numbers[8].SetValue(data->player.food);
        s.numbers[9].SetValue(data->player.money);
        s.numbers[10].SetValue(data->player.traps);
        s.numbers[11].SetValue(data->player.day);
    }

    std::vector<std::string> pages;
    for (int i = 0; i < 3; ++i) {
        pages.emplace_back(BattleMessageText(i));
        s.messages[i].SetMessages(pages);
        pages.clear();
    }

    for (int i = 0; i < 10; ++i) s.musicNames[i] = MusicFileName(i);
    for (int i = 0; i < 4; ++i) s.soundNames[i] = SoundFileName(i);

    SoundStore* sounds = SoundStore::Instance();
    for (const auto& name : s.soundNames) sounds->LoadEffect(name.c_str());

    s.commandMenu->SetSounds(s.soundNames[kSoundDec].c_str(), s.soundNames[kSoundSelect].c_str(),
                             s.soundNames[kSoundCancel].c_str());
    s.unitMenu->SetSounds(s.soundNames[kSoundDec].c_str(), s.soundNames[kSoundSelect].c_str(),
                          s.soundNames[kSoundCancel].c_str());
}
