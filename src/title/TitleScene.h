// The title: an animated landscape with the logo; the decide button starts a game.
#pragma once

#include <memory>

#include "app/scene/Scene.h"

struct TitleObjects;

enum TitleState : int { kTitleBlank = 0, kTitleWaiting = 1, kTitleLeaving = 2 };

class CTitleScene : public CScene {
public:
    CTitleScene();
    // A title whose objects are given as they are (a kept state put back): nothing is built.
    explicit CTitleScene(TitleObjects* objects);
    ~CTitleScene() override;

    void EnterState(int newState) override;
    void Draw() override;
    void Update() override;
    int NextScene() override;

    TitleObjects* titleObjects = nullptr;  // owned
    bool visible = false;
};
