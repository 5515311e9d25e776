// The game scene's words, messages and data-file names (Shift-JIS); the words
// and messages in the game's language unless another is named.
#pragma once

#include "objects/graphics/Language.h"

// The six command words, in menu order (0 breed .. 5 rest); null outside 0..5.
const char* CommandWordText(int index, Language language = GameLanguage());
// The raid warning (0), victory (1) and defeat (2) messages; null outside 0..2.
const char* BattleMessageText(int index, Language language = GameLanguage());
// Music file names by music number 0..9; null outside.
const char* MusicFileName(int id);
// Sound-effect file names by sound number 0..3; null outside.
const char* SoundFileName(int id);
