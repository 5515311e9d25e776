#include "app/StandInScene.h"

#include "media/Media.h"

void StandInScene::EnterState(int newState) { CScene::EnterState(newState == 1 ? 1 : 0); }

void StandInScene::Update() {
    CScene::Update();
    ++frames;
    if (frames % 120 == 0) RequestState(state == 0 ? 1 : 0, state == 0 ? 1 : 2);
}

void StandInScene::Draw() {
    SetDrawBrightness(255, 255, 255);
    SetBlendMode(kBlendNone, 255);
    const uint32_t background = state == 0 ? MakeColor(40, 60, 140) : MakeColor(150, 90, 30);
    DrawRect(0, 0, 160, 120, background, 1);
    const int x = frames % 176 - 16;
    DrawRect(x, 52, x + 16, 68, MakeColor(255, 255, 255), 1);
    DrawRect(x, 52, x + 16, 68, MakeColor(0, 0, 0), 0);
    CScene::Draw();
}
