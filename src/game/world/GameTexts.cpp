// The game scene's words, messages and data-file names. Compiled to Shift-JIS.
#include "game/world/GameTexts.h"

namespace {

const char* const kCommandWords[6] = {
    "ぞうしょく", "かり", "しきんちょうたつ", "レベルアップ", "トラップせっち", "きゅうけい",
};

const char* const kBattleMessages[3] = {
    "てきしゅうだ！",
    "たたかいにしょうりした！",
    "ぜんめつしてしまった･･･",
};

const char* const kMusicFiles[10] = {
    "Battle1.mp3", "Battle2.mp3",   "BossBattle.mp3", "LastBattle.mp3", "GameOver.mp3",
    "Normal1.mp3", "Normal1_2.mp3", "Normal2.mp3",    "Normal3.mp3",    "Win.mp3",
};

const char* const kSoundFiles[4] = {"Dec.wav", "Select.wav", "Cancel.wav", "Attack.wav"};

}  // namespace

const char* CommandWordText(int index) { return index >= 0 && index < 6 ? kCommandWords[index] : nullptr; }

const char* BattleMessageText(int index) { return index >= 0 && index < 3 ? kBattleMessages[index] : nullptr; }

const char* MusicFileName(int id) { return id >= 0 && id < 10 ? kMusicFiles[id] : nullptr; }

const char* SoundFileName(int id) { return id >= 0 && id < 4 ? kSoundFiles[id] : nullptr; }
