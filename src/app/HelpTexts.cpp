// Compiled with a CP932 execution character set: the bytes below are Shift-JIS.
#include "app/HelpTexts.h"

namespace app::texts {

namespace {

const HelpWords kJapanese = {
    "キー",
    {"うえ", "した", "みぎ", "ひだり", "けってい", "キャンセル"},
    "  %s：%s",
    {"", "ヘルプ", "せってい", "ぜんがめん", "がめんほぞん", "はやおくり（おしたまま）", ""},
    "  %s：パネルを とじる（パネルが ないときは おわる）",
    "  %s：パネルを とじる",
    "しゅうげきの きけんど：%d / 100",
    {"%d にち", "%d にち"},
    "20にちめの しゅうげきまで %s、ボスまで %s",
    {"きいろ", "あお", "あか", "みどり"},
    "%s：いえに いる",
    "%s：%s（あと %s、%s）",
    {"かり", "しきんちょうたつ", "トラップせっち", "ぞうしょく", "レベルアップ"},
    {{"しょくりょう +%d", "しょくりょう +%d"},
     {"おかね +%d", "おかね +%d"},
     {"トラップ +%d", "トラップ +%d"},
     {"なかま +%d", "なかま +%d"},
     {"レベル +%d", "レベル +%d"}},
    "%s：",
    "  %s：ひよう %d %s、%s",
    "  %s：%s",
    {"しょくりょう", "おかね"},
    "%sは %sの さいちゅう：あと %s",
    "%sが たりない：%d ひつよう、%d しかない",
};

const HelpWords kEnglish = {
    "Keys",
    {"Up", "Down", "Right", "Left", "Decide", "Cancel"},
    "  %s: %s",
    {"", "help", "settings", "fullscreen", "screenshot", "fast-forward (hold)", ""},
    "  %s: closes this panel (with none open: quits)",
    "  %s: closes this panel",
    "Raid pressure: %d / 100",
    {"%d day", "%d days"},
    "Raid of the 20th day in %s, boss in %s",
    {"Yellow", "Blue", "Red", "Green"},
    "%s: at home",
    "%s: %s, back in %s, brings %s",
    {"hunting", "raising funds", "setting a trap", "breeding", "levelling up"},
    {{"%d food", "%d food"},
     {"%d money", "%d money"},
     {"%d trap", "%d traps"},
     {"%d unit", "%d units"},
     {"%d level", "%d levels"}},
    "%s:",
    "  %s: costs %d %s, brings %s",
    "  %s: %s",
    {"food", "money"},
    "%s is %s: back in %s",
    "Not enough %s: %d needed, %d held",
};

}  // namespace

const HelpWords& HelpWordsIn(bool english) { return english ? kEnglish : kJapanese; }

}  // namespace app::texts
