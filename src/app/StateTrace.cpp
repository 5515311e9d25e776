#include "app/StateTrace.h"

#include <charconv>
#include <unordered_map>

#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "game/world/GridMenu.h"
#include "resources/SoundStore.h"
#include "app/scene/Scene.h"
#include "title/TitleScene.h"

namespace app {

namespace {

class JsonOut {
public:
    explicit JsonOut(std::string& out) : m_out(out) {}

    void Key(const char* key) {
        Comma();
        m_out += '"';
        m_out += key;
        m_out += "\":";
        m_needComma = false;
    }
    void Int(int64_t v) { Number(v); }
    void Uint(uint64_t v) { Number(v); }
    void Bool(bool b) { Int(b ? 1 : 0); }
    void IntField(const char* key, int64_t v) {
        Key(key);
        Int(v);
    }
    void String(const std::string& s) {
        Comma();
        static const char* hex = "0123456789abcdef";
        m_out += '"';
        for (unsigned char c : s) {
            if (c == '"' || c == '\\') {
                m_out += '\\';
                m_out += static_cast<char>(c);
            } else if (c < 0x20 || c >= 0x7F) {
                // Control characters, and bytes beyond ASCII read as single code points.
                m_out += "\\u00";
                m_out += hex[c >> 4];
                m_out += hex[c & 15];
            } else {
                m_out += static_cast<char>(c);
            }
        }
        m_out += '"';
        m_needComma = true;
    }
    void Open(char bracket) {
        Comma();
        m_out += bracket;
        m_needComma = false;
    }
    void Close(char bracket) {
        m_out += bracket;
        m_needComma = true;
    }

private:
    template <typename T>
    void Number(T v) {
        Comma();
        char buf[24];
        auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
        m_out.append(buf, end);
        m_needComma = true;
    }
    void Comma() {
        if (m_needComma) m_out += ',';
    }
    std::string& m_out;
    bool m_needComma = false;
};

void Character(JsonOut& j, const CGameChar& c) {
    const UnitStats s = c.stats ? *c.stats : UnitStats{};
    j.Open('[');
    j.Int(c.m_x);
    j.Int(c.m_y);
    j.Int(c.mode);
    j.Bool(c.visible);
    j.Int(s.level);
    j.Int(s.hp);
    j.Int(s.maxHp);
    j.Int(s.attack);
    j.Int(s.defence);
    j.Close(']');
}

void Menu(JsonOut& j, const GridMenu& m) {
    j.Open('[');
    j.Int(m.cursorColumn);
    j.Int(m.cursorRow);
    j.Int(m.selection);
    j.Close(']');
}

void GameFields(JsonOut& j, CGameScene& g) {
    const GameScreen& s = *g.screen;
    const PlayerRecord& p = g.gameData->player;
    j.IntField("timer", g.stateTimer);
    j.IntField("pressure", g.raidPressure);
    j.IntField("choice", g.commandChoice);
    j.IntField("food", p.food);
    j.IntField("money", p.money);
    j.IntField("traps", p.traps);
    j.IntField("day", p.day);
    j.Key("levels");
    j.Open('[');
    for (int32_t level : p.unitLevel) j.Int(level);
    j.Close(']');
    j.Key("orders");
    j.Open('[');
    for (const UnitOrder& o : p.orders) {
        j.Open('[');
        j.Int(o.daysLeft);
        j.Int(o.kind);
        j.Int(o.amount);
        j.Close(']');
    }
    j.Close(']');
    j.Key("units");
    j.Open('[');
    for (const auto& list : s.units) {
        j.Open('[');
        for (const CGameChar* unit : list) Character(j, *unit);
        j.Close(']');
    }
    j.Close(']');
    j.Key("raider");
    if (s.raider) {
        Character(j, *s.raider);
    } else {
        j.Open('[');
        j.Close(']');
    }
    j.IntField("activeLine", s.activeLine);
    j.Key("raiderBeaten");
    j.Bool(s.raiderBeaten);
    j.Key("menus");
    j.Open('[');
    Menu(j, *s.commandMenu);
    Menu(j, *s.unitMenu);
    j.Close(']');
    j.Key("pages");
    j.Open('[');
    for (const CTextMessageMng& m : s.messages) j.Uint(m.m_page);
    j.Close(']');

    // The lines name units only from a raid's set-up to its end; afterwards they may
    // still name units that are gone, so they are reported in the battle states only.
    if (g.state >= kStateRaidAlert && g.state <= kStateDefeat) {
        std::unordered_map<const CGameChar*, std::pair<int, int>> where;
        for (size_t k = 0; k < 4; ++k) {
            int i = 0;
            for (const CGameChar* unit : s.units[k]) where[unit] = {static_cast<int>(k), i++};
        }
        j.Key("lines");
        j.Open('[');
        for (const auto& line : s.lines) {
            j.Open('[');
            for (const CGameChar* unit : line) {
                auto it = where.find(unit);
                j.Open('[');
                j.Int(it == where.end() ? -1 : it->second.first);
                j.Int(it == where.end() ? -1 : it->second.second);
                j.Close(']');
            }
            j.Close(']');
        }
        j.Close(']');
        j.Key("fronts");
        j.Open('[');
        for (uint32_t front : s.lineFront) j.Uint(front);
        j.Close(']');
    }
}

}  // namespace

void AppendTrace(std::string& out, uint64_t frame, CScene& scene) {
    JsonOut j(out);
    auto* game = dynamic_cast<CGameScene*>(&scene);
    auto* title = dynamic_cast<CTitleScene*>(&scene);
    j.Open('{');
    j.Key("frame");
    j.Uint(frame);
    j.Key("scene");
    j.String(game ? "game" : "title");
    j.IntField("state", scene.state);
    j.IntField("pendingState", scene.pendingState);
    j.Key("fade");
    j.Open('[');
    if (scene.fade) {
        j.Int(scene.fade->kind);
        j.Int(scene.fade->counter);
        j.Bool(scene.fade->closing);
    }
    j.Close(']');
    j.Key("music");
    j.String(SoundStore::Instance()->m_musicName);
    if (title) {
        j.Key("visible");
        j.Bool(title->visible);
    }
    if (game) GameFields(j, *game);
    j.Close('}');
    out += '\n';
}

}  // namespace app
