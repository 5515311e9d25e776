#include "app/HelpPanel.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "app/HelpTexts.h"
#include "app/KeyNames.h"
#include "app/input/KeyConfig.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameScreen.h"
#include "game/world/GameTexts.h"
#include "game/world/GridMenu.h"
#include "media/shell/KeyTable.h"
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

// The words for one of a thing or any other number of it.
int Number(int count) { return count == 1 ? 0 : 1; }

// "%d days" in the words' language.
std::string Days(int days) { return Formatted(Words().days[Number(days)], days); }

// The yield of an order of `kind` bringing `amount`.
std::string Yield(int kind, int amount) {
    return kind >= 0 && kind < 5 ? Formatted(Words().yields[kind][Number(amount)], amount) : std::string();
}

const char* OrderName(int kind) { return kind >= 0 && kind < 5 ? Words().orders[kind] : ""; }

// The item under a menu's cursor (the menus are filled column by column, from 0), or -1.
int ItemUnderCursor(const GridMenu* menu) {
    return menu ? menu->cursorColumn * menu->rowCount + menu->cursorRow : -1;
}

// Why colour k's order for command `selection` at `cost` would be refused; "" when it would not.
std::string Refusal(const PlayerRecord& p, int selection, int k, int32_t cost) {
    const HelpWords& w = Words();
    const bool money = selection >= 4;
    const int held = money ? p.money : p.food;
    if (cost == kCostOutOfReach || held < cost)
        return Formatted(w.poor, w.resources[money], cost == kCostOutOfReach ? INT32_MAX : cost, held);
    const UnitOrder& order = p.orders[static_cast<size_t>(k)];
    if (order.daysLeft >= 1)
        return Formatted(w.busy, w.colours[k], OrderName(order.kind), Days(order.daysLeft).c_str());
    return {};
}

// Colour k's offer for command `selection`, or why it would be refused.
std::string OfferLine(const PlayerRecord& p, int selection, int k, const OrderOffer& offer) {
    const HelpWords& w = Words();
    if (std::string why = Refusal(p, selection, k, offer.cost); !why.empty())
        return Formatted(w.refused, w.colours[k], why.c_str());
    return Formatted(w.offer, w.colours[k], offer.cost, w.resources[selection >= 4],
                     Yield(offer.kind, offer.amount).c_str());
}

// On the command menu, the offers of the command under the cursor to every colour;
// on the unit menu, the offer made to the colour under the cursor.
void AddOffers(const CGameScene& scene, std::vector<std::string>& lines) {
    const PlayerRecord& p = scene.gameData->player;
    const bool choosing = scene.state == kStateChooseUnit;
    if (!choosing && scene.state != kStateCommandMenu) return;
    const int selection = choosing ? scene.commandChoice : ItemUnderCursor(scene.screen->commandMenu) + 1;
    const int colour = choosing ? ItemUnderCursor(scene.screen->unitMenu) : -1;
    const char* command = CommandWordText(selection - 1);
    if (selection < 1 || selection > 5 || !command || (choosing && (colour < 0 || colour > 3))) return;
    lines.push_back(Formatted(Words().command, command));
    for (int k = 0; k < 4; ++k) {
        if (choosing && k != colour) continue;
        const size_t i = static_cast<size_t>(k);
        const OrderOffer offer =
            choosing ? OrderOffer{scene.rowCost[i], scene.rowAmount[i], scene.rowOrderKind[i], 0}
                     : OfferFor(*scene.gameData, selection, k, static_cast<int32_t>(scene.screen->units[i].size()));
        lines.push_back(OfferLine(p, selection, k, offer));
    }
}

// "  a  b  c": entries of a help line, indented, two spaces apart.
std::string Joined(const std::vector<std::string>& entries) {
    std::string line;
    for (const std::string& entry : entries) line.append("  ").append(entry);
    return line;
}

// The hotkeys that work here, from the one key table (the keys of one action
// joined, "F11/Alt+Enter"), a few to a line; then Escape.
void AddHotkeys(std::vector<std::string>& lines) {
    constexpr size_t kLineBytes = 48;
    const HelpWords& w = Words();
    std::vector<std::pair<media::KeyAction, std::string>> entries;
    for (const media::KeyRole& role : media::KeyTable()) {
        if (role.action == media::KeyAction::Escape || !media::KeyWorks(role.action)) continue;
        auto same =
            std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == role.action; });
        if (same == entries.end()) entries.emplace_back(role.action, role.name);
        else same->second += std::string("/") + role.name;
    }
    std::vector<std::string> line;  // the entries of the line being filled
    size_t width = 0;
    for (const auto& [action, names] : entries) {
        std::string entry = names + " " + w.hotkeys[static_cast<int>(action)];
        if (!line.empty() && width + 2 + entry.size() > kLineBytes) {
            lines.push_back(Joined(line));
            line.clear();
            width = 0;
        }
        width += 2 + entry.size();
        line.push_back(std::move(entry));
    }
    if (!line.empty()) lines.push_back(Joined(line));
    lines.push_back(Formatted(media::EscapeEndsGame() ? w.escapeEnds : w.escapeCloses, "Esc"));
}

void AddKeys(const KeyConfig& keys, std::vector<std::string>& lines) {
    const HelpWords& w = Words();
    lines.push_back(w.keysTitle);
    for (size_t b = 0; b < 6 && b < keys.keys.size(); ++b) {
        const char* name = KeyName(keys.keys[b]);
        lines.push_back(Formatted(w.keyLine, w.buttonNames[b], name ? name : "?"));
    }
    AddHotkeys(lines);
}

void AddGame(const CGameScene& scene, std::vector<std::string>& lines) {
    const HelpWords& w = Words();
    const PlayerRecord& p = scene.gameData->player;
    lines.push_back(Formatted(w.pressure, scene.raidPressure));
    const int boss = std::min(DaysTo(p.day, 40), DaysTo(p.day, 100));
    lines.push_back(Formatted(w.calendar, Days(DaysTo(p.day, 20)).c_str(), Days(boss).c_str()));
    for (int k = 0; k < 4; ++k) {
        const UnitOrder& order = p.orders[k];
        if (order.daysLeft < 1) lines.push_back(Formatted(w.atHome, w.colours[k]));
        else
            lines.push_back(Formatted(w.onOrder, w.colours[k], OrderName(order.kind), Days(order.daysLeft).c_str(),
                                      Yield(order.kind, order.amount).c_str()));
    }
    if (scene.screen) AddOffers(scene, lines);
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
    const int k = ItemUnderCursor(game->screen->unitMenu);
    if (k < 0 || k > 3) return;
    const std::string why =
        Refusal(game->gameData->player, game->commandChoice, k, game->rowCost[static_cast<size_t>(k)]);
    if (!why.empty()) media::ShowNotice(why);
}

}  // namespace app
