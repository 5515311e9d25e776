#include "app/HelpPanel.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "app/HelpTexts.h"
#include "app/KeyNames.h"
#include "app/input/KeyConfig.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameScreen.h"
#include "game/world/GameTexts.h"
#include "game/world/GridMenu.h"
#include "objects/graphics/Language.h"

namespace app {

namespace {

using texts::HelpWords;

const HelpWords& Words() { return texts::HelpWordsIn(GameLanguage() == Language::English); }

std::string Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Formatted(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    return line;
}

int DaysTo(int day, int every) { return (every - day % every) % every; }

// The yield of an order of `kind` bringing `amount`.
std::string Yield(int kind, int amount) {
    return kind >= 0 && kind < 5 ? Formatted(Words().yields[kind], amount) : std::string();
}

const char* OrderName(int kind) { return kind >= 0 && kind < 5 ? Words().orders[kind] : ""; }

// The colour under the unit menu's cursor (filled column by column), or -1.
int ColourUnderCursor(const GameScreen& screen) {
    const GridMenu* menu = screen.unitMenu;
    const int colour = menu ? menu->cursorColumn * menu->rowCount + menu->cursorRow : -1;
    return colour >= 0 && colour < 4 ? colour : -1;
}

// Why colour k's order of the scene's command would be refused; "" when it would not.
std::string Refusal(const CGameScene& scene, int k) {
    const HelpWords& w = Words();
    const PlayerRecord& p = scene.gameData->player;
    const bool money = scene.commandChoice >= 4;
    const int held = money ? p.money : p.food;
    if (held < scene.rowCost[k]) return Formatted(w.poor, w.resources[money], scene.rowCost[k], held);
    const UnitOrder& order = p.orders[k];
    if (order.daysLeft >= 1) return Formatted(w.busy, w.colours[k], OrderName(order.kind), order.daysLeft);
    return {};
}

void AddKeys(const KeyConfig& keys, std::vector<std::string>& lines) {
    const HelpWords& w = Words();
    lines.push_back(w.keysTitle);
    for (size_t b = 0; b < 6 && b < keys.keys.size(); ++b) {
        const char* name = KeyName(keys.keys[b]);
        lines.push_back(Formatted(w.keyLine, w.buttonNames[b], name ? name : "?"));
    }
    lines.push_back(w.windowKeys);
}

void AddGame(const CGameScene& scene, std::vector<std::string>& lines) {
    const HelpWords& w = Words();
    const PlayerRecord& p = scene.gameData->player;
    lines.push_back(Formatted(w.pressure, scene.raidPressure));
    const int boss = std::min(DaysTo(p.day, 40), DaysTo(p.day, 100));
    lines.push_back(Formatted(w.calendar, DaysTo(p.day, 20), boss));
    for (int k = 0; k < 4; ++k) {
        const UnitOrder& order = p.orders[k];
        if (order.daysLeft < 1) lines.push_back(Formatted(w.atHome, w.colours[k]));
        else
            lines.push_back(Formatted(w.onOrder, w.colours[k], OrderName(order.kind), order.daysLeft,
                                      Yield(order.kind, order.amount).c_str()));
    }
    const int k = scene.state == kStateChooseUnit && scene.screen ? ColourUnderCursor(*scene.screen) : -1;
    if (k < 0) return;
    const bool money = scene.commandChoice >= 4;
    const char* command = CommandWordText(scene.commandChoice - 1);
    lines.push_back(Formatted(w.offer, command ? command : "", w.colours[k], scene.rowCost[k], w.resources[money],
                              Yield(scene.rowOrderKind[k], scene.rowAmount[k]).c_str()));
    if (std::string why = Refusal(scene, k); !why.empty()) lines.push_back("  " + why);
}

}  // namespace

std::vector<std::string> HelpPanel::HelpLines() {
    std::vector<std::string> lines;
    AddKeys(m_keys, lines);
    const auto* game = dynamic_cast<const CGameScene*>(m_scene);
    if (game && game->gameData) {
        lines.emplace_back();
        AddGame(*game, lines);
    }
    return lines;
}

void NoticeRefusedOrder(int stateBefore, const CScene& scene, const KeyConfig& keys) {
    if (stateBefore != kStateChooseUnit) return;
    const auto* game = dynamic_cast<const CGameScene*>(&scene);
    if (!game || game->state != kStateChooseUnit || !game->gameData || !game->screen) return;
    if (GetButtonState(keys, 4) != kButtonPressed) return;
    const int k = ColourUnderCursor(*game->screen);
    if (k < 0) return;
    if (std::string why = Refusal(*game, k); !why.empty()) media::ShowNotice(why);
}

}  // namespace app
