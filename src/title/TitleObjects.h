// Every display object of the title: the landscape layers, the walkers, the logo
// and the blinking prompt, and the list of the objects updated each frame.
#pragma once

#include <array>
#include <list>

#include "objects/BlinkObj.h"
#include "objects/GraObj.h"
#include "objects/ScrollObjSet.h"

struct TitleObjects {
    TitleObjects();
    ~TitleObjects();  // gives every object its Release
    TitleObjects(const TitleObjects&) = delete;
    TitleObjects& operator=(const TitleObjects&) = delete;

    // Loads the pictures, lays out the layers and sets speeds, blink and tints.
    void Build();
    // Draws every layer, back to front (the bar at the top and at the bottom).
    void Draw();

    CGraObj bars;  // letterbox bar, drawn at the top and at the bottom
    CGraObj cloud;
    CGraObj mountains;
    CGraObj ground;
    std::array<CGraObj, 4> walkers;  // Y, R, G, B
    CGraObj logo;
    CGraObj sky;
    CBlinkObj pushKey;
    CScrollObjSet walkerRow;
    CScrollObjSet clouds;
    CScrollObjSet groundStrip;
    CScrollObjSet mountainStrip;
    std::list<CBaseObj*> updateList;  // not owning
};
