// The scene of a kept state (RunState.h): the title or the game scene with
// every object it owns, its menus, its defence lines and its damage numbers.
#pragma once

#include <memory>

#include "app/ObjectKeeping.h"

class CScene;

namespace app {

// Writes `scene` (which must be the title or the game scene).
void KeepScene(ObjectKeeper& keeper, CScene& scene);
// Reads a scene written by KeepScene into a new one (the archive fails on
// anything else); nothing of the game is loaded or drawn meanwhile.
std::unique_ptr<CScene> ReadScene(ObjectKeeper& keeper);

}  // namespace app
