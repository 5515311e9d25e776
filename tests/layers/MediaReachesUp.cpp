// Must not compile: a media-layer file that reaches up into the game. The
// LayerIncludeCheck test builds it and expects the game's header to be missing.
#include "media/Media.h"
#include "game/rules/scene/GameScene.h"

int MediaReachesUp() { return kStateGameStart; }
