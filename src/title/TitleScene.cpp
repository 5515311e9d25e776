// The title scene's states: blank, waiting for the start button, leaving.
#include "title/TitleScene.h"

#include "app/input/KeyConfig.h"
#include "objects/ObjectList.h"
#include "title/TitleObjects.h"

namespace {
constexpr unsigned kStartButton = 4;
constexpr int kWholeScreenFade = 1;
}  // namespace

CTitleScene::CTitleScene() : titleObjects(new TitleObjects()) {
    titleObjects->Build();
    visible = false;
}

CTitleScene::CTitleScene(TitleObjects* objects) : titleObjects(objects) {}

CTitleScene::~CTitleScene() {
    delete titleObjects;
    titleObjects = nullptr;
}

void CTitleScene::EnterState(int newState) {
    switch (newState) {
        case kTitleBlank: break;
        case kTitleWaiting: visible = true; break;
        case kTitleLeaving: visible = false; break;
        default:
            EnterState(kTitleBlank);
            newState = kTitleBlank;
            break;
    }
    state = newState;
    pendingState = newState;
}

void CTitleScene::Update() {
    CScene::Update();
    UpdateAll(titleObjects->updateList);
    switch (state) {
        case kTitleBlank: RequestState(kTitleWaiting, kWholeScreenFade); break;
        case kTitleWaiting:
            if (keyConfig && GetButtonState(*keyConfig, kStartButton) == kButtonPressed) {
                titleObjects->pushKey.m_blinkStep = -50.0f;
                RequestState(kTitleLeaving, kWholeScreenFade);
            }
            break;
        case kTitleLeaving: break;
        default: EnterState(kTitleLeaving); break;
    }
}

void CTitleScene::Draw() {
    if (!visible) return;
    titleObjects->Draw();
    DrawFade(fade);
}

int CTitleScene::NextScene() { return state == kTitleLeaving ? kSceneGame : kSceneStay; }
