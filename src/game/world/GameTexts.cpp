// The game scene's words, messages and data-file names. Compiled to Shift-JIS.
#include "game/world/GameTexts.h"

#include "objects/graphics/Language.h"

namespace {

const char* const kCommandWords[2][6] = {
    {"ぞうしょく", "かり", "しきんちょうたつ", "レベルアップ", "トラップせっち", "きゅうけい"},
    {"Breed", "Hunt", "Raise funds", "Level up", "Set trap", "Rest"},
};

const char* const kBattleMessages[2][3] = {
    {"てきしゅうだ！", "たたかいにしょうりした！", "ぜんめつしてしまった･･･"},
    {"Raiders attack!", "We won the battle!", "All our units fell..."},
};

int Row(Language language) { return language == Language::English ? 1 : 0; }

const char* const kMusicFiles[10] = {
    "Battle1.mp3", "Battle2.mp3",   "BossBattle.mp3", "LastBattle.mp3", "GameOver.mp3",
    "Normal1.mp3", "Normal1_2.mp3", "Normal2.mp3",    "Normal3.mp3",    "Win.mp3",
};

const char* const kSoundFiles[4] = {"Dec.wav", "Select.wav", "Cancel.wav", "Attack.wav"};

}  // namespace

const char* CommandWordText(int index, Language language) {
    return index >= 0 && index < 6 ? kCommandWords[Row(language)][index] : nullptr;
}

const char* BattleMessageText(int index, Language language) {
    return index >= 0 && index < 3 ? kBattleMessages[Row(language)][index] : nullptr;
}

const char* MusicFileName(int id) { return id >= 0 && id < 10 ? kMusicFiles[id] : nullptr; }

const char* SoundFileName(int id) { return id >= 0 && id < 4 ? kSoundFiles[id] : nullptr; }
