// Every display object of the play screen and its layer switches.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <vector>
#include <string>

#include "objects/GraObj.h"
#include "objects/NumObj.h"
#include "objects/ObjSet.h"
#include "objects/TextMessageMng.h"

class CGameChar;
class GameData;
class GridMenu;

enum UnitColour : int32_t { kYellow = 0, kBlue = 1, kRed = 2, kGreen = 3 };

enum MusicId : int32_t {
    kMusicBattle1 = 0,
    kMusicBattle2 = 1,
    kMusicBossBattle = 2,
    kMusicLastBattle = 3,
    kMusicGameOver = 4,
    kMusicNormal1 = 5,
    kMusicNormal1_2 = 6,
    kMusicNormal2 = 7,
    kMusicNormal3 = 8,
    kMusicWin = 9,
};

enum SoundId : int32_t { kSoundDec = 0, kSoundSelect = 1, kSoundCancel = 2, kSoundAttack = 3 };

enum Layer : int32_t {
    kLayerGround = 0,
    kLayerFrames = 1,
    kLayerUnitStatus = 2,
    kLayerResourceStatus = 3,
    kLayerUnused = 4,
    kLayerCommandMenu = 5,
    kLayerUnitMenu = 6,
    kLayerUnits = 7,
    kLayerMessage0 = 8,
    kLayerMessage1 = 9,
    kLayerMessage2 = 10,
    kLayerLines = 11,
    kLayerRaider = 12,
};

class GameScreen {
public:
    GameScreen();
    ~GameScreen();
    GameScreen(const GameScreen&) = delete;
    GameScreen& operator=(const GameScreen&) = delete;

    std::array<CGraObj, 8> mapChips;
    std::array<CGraObj, 2> windowFrames;
    std::array<CGraObj, 14> icons;
    std::array<CNumObj, 25> numbers;
    CObjSet* groundLayer = nullptr;
    CObjSet* holeLayer = nullptr;
    CObjSet* frameLayer = nullptr;
    std::array<CObjSet, 4> unitStatus;
    std::array<CObjSet, 4> resourceStatus;
    std::array<CObjSet, 4> unitPanels;
    GridMenu* commandMenu = nullptr;
    GridMenu* unitMenu = nullptr;
    std::array<std::list<CGameChar*>, 4> units;  // owns the characters
    std::array<CGraObj, 6> commandWords;
    std::array<std::vector<CGameChar*>, 3> lines;  // refers only
    std::array<uint32_t, 3> lineFront{};           // index of each line's front fighter; size when exhausted
    CGameChar* raider = nullptr;
    int32_t activeLine = 0;
    std::array<CTextMessageMng, 3> messages;
    bool raiderBeaten = false;
    GameData* gameData = nullptr;
    std::array<std::string, 10> musicNames;
    std::array<std::string, 4> soundNames;
    std::array<bool, 20> layerVisible{};
};
