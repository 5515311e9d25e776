// A placeholder first scene: two full-screen colours, fading from one to the
// other every two seconds, with a square crossing the screen.
#pragma once

#include "app/scene/Scene.h"

class StandInScene : public CScene {
public:
    void EnterState(int newState) override;
    void Draw() override;
    void Update() override;
    int NextScene() override { return kSceneStay; }

    int frames = 0;
};
