// The play screen's objects: construction and teardown.
#include "game/world/GameScreen.h"

#include "game/world/GameChar.h"
#include "game/world/GridMenu.h"

GameScreen::GameScreen()
    : groundLayer(new CObjSet()),
      holeLayer(new CObjSet()),
      frameLayer(new CObjSet()),
      commandMenu(new GridMenu()),
      unitMenu(new GridMenu()),
      raider(new CGameChar()) {}

GameScreen::~GameScreen() {
    for (auto& o : mapChips) o.Release();
    for (auto& o : windowFrames) o.Release();
    for (auto& o : icons) o.Release();
    for (auto& o : numbers) o.Release();
    for (auto& o : commandWords) o.Release();

    for (CObjSet** layer : {&groundLayer, &frameLayer, &holeLayer}) {
        (*layer)->Release();
        delete *layer;
        *layer = nullptr;
    }
    for (auto& o : unitStatus) o.Release();
    for (auto& o : resourceStatus) o.Release();
    for (auto& o : unitPanels) o.Release();

    delete commandMenu;
    commandMenu = nullptr;
    delete unitMenu;
    unitMenu = nullptr;

    for (auto& list : units) {
        for (CGameChar* c : list) {
            c->Release();
            delete c;
        }
        list.clear();
    }
    gameData = nullptr;
    for (auto& m : messages) m.Release();
    raider->Release();
    delete raider;
    raider = nullptr;
    for (auto& line : lines) line.clear();
}
