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
    "20にちめの しゅうげきまで %d にち、ボスまで %d にち",
    {"きいろ", "あお", "あか", "みどり"},
    "%s：いえに いる",
    "%s：%s（あと %d にち、%s）",
    {"かり", "しきんちょうたつ", "トラップせっち", "ぞうしょく", "レベルアップ"},
    {"しょくりょう +%d", "おかね +%d", "トラップ +%d", "なかま +%d", "レベル +%d"},
    "%s：",
    "  %s：ひよう %d %s、%s",
    "  %s：%s",
    {"しょくりょう", "おかね"},
    "%sは %sの さいちゅう：あと %d にち",
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
    "Raid of the 20th day in %d days, boss in %d days",
    {"Yellow", "Blue", "Red", "Green"},
    "%s: at home",
    "%s: %s, back in %d days, brings %s",
    {"hunting", "raising funds", "setting a trap", "breeding", "levelling up"},
    {"%d food", "%d money", "%d trap", "%d units", "%d level"},
    "%s:",
    "  %s: costs %d %s, brings %s",
    "  %s: %s",
    {"food", "money"},
    "%s is %s: back in %d days",
    "Not enough %s: %d needed, %d held",
};

}  // namespace

const HelpWords& HelpWordsIn(bool english) { return english ? kEnglish : kJapanese; }

}  // namespace app::texts
