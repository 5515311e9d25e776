#include "app/scene/Scene.h"

#include "media/Media.h"

CScene::CScene() : fade(new FadeState()) {}

CScene::~CScene() {
    delete fade;
    fade = nullptr;
}

void CScene::EnterState(int newState) {
    state = newState;
    pendingState = newState;
}

void CScene::RequestState(int newState, int kind) {
    if (pendingState != state) return;  // a change is already on its way
    pendingState = newState;
    fadeKind = kind;
    *fade = FadeState{kind, 1, true};
}

void CScene::Begin(KeyConfig* keys, GameData* data) {
    state = 0;
    *fade = FadeState{0, 0, false};
    pendingState = 0;
    fadeKind = 1;
    keyConfig = keys;
    gameData = data;
}

void CScene::Draw() { DrawFade(fade); }

void CScene::Update() {
    const uint32_t counter = static_cast<uint32_t>(fade->counter);
    if (counter > 0 && counter < 30) fade->counter += fade->closing ? 1 : -1;
    if (state != pendingState && (fade->counter == 0 || fade->counter == 30)) {
        EnterState(pendingState);
        pendingState = state;  // whatever EnterState really entered
        *fade = FadeState{fadeKind, 29, false};
    }
}

int CScene::NextScene() { return (fade->counter == 0 || fade->counter == 30) ? 1 : 0; }

void CScene::SetKeyConfig(KeyConfig* keys) { keyConfig = keys; }

void CScene::SetGameData(GameData* data) { gameData = data; }

void DrawFade(FadeState* fade) {
    const float t = static_cast<float>(fade->counter) / 30.0f;
    SetDrawBrightness(0, 0, 0);
    const uint32_t white = MakeColor(255, 255, 255);
    switch (fade->kind) {
        case 0:
            if (fade->closing) {
                SetBlendMode(kBlendAlpha, 255);
                DrawRect(0, 0, 160, 120, white, 1);
                fade->counter = 30;
            } else {
                fade->counter = 0;
            }
            break;
        case 1:
            SetBlendMode(kBlendAlpha, static_cast<int>(t * 255.0));
            DrawRect(0, 0, 160, 120, white, 1);
            break;
        case 2: {
            SetBlendMode(kBlendAlpha, 255);
            const double w = t * 80.0;
            DrawRect(0, 0, static_cast<int>(w), 120, white, 1);
            DrawRect(160, 0, static_cast<int>(160.0 - w), 120, white, 1);
            break;
        }
        default: fade->kind = 0; break;
    }
}
