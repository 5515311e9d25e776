// A character on the dungeon map: a unit or the raider.
#pragma once

#include <cstdint>

#include "objects/GraObj.h"

struct UnitStats;

enum CharMode : int32_t {
    kCharHidden = 0,
    kCharWander = 1,
    kCharGoDown = 2,
    kCharComeUp = 3,
    kCharAppear = 4,
    kCharStand = 5,
    kCharWalkLeft = 6,
    kCharWalkRight = 7,
    kCharFlyLeft = 8,
    kCharFlyRight = 9,
    kCharWalkLeftSlow = 10,
};

class CGameChar : public CGraObj {
public:
    CGameChar();
    ~CGameChar() override;

    void Reset() override;
    void Draw() override;  // only while visible
    void Update() override;

    void SetMode(int mode);

    int32_t mode = kCharHidden;
    bool visible = false;
    int32_t colour = 0;
    int32_t moveCounter = 0;
    int32_t moveWait = 0;
    int32_t targetX = 0;
    int32_t targetY = 0;
    double velX = 0.0;
    double velY = 0.0;
    double flyX = 0.0;
    double flyY = 0.0;
    UnitStats* stats = nullptr;  // owned
};

// Loads a unit's four walk animations (sheet rows) for a colour.
void SetupUnitGraphics(CGameChar& c, int colour);
