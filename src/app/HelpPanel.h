// What the game tells the player above its picture, in the game's language:
// the help panel's lines (the player's keys; in a game the raid pressure, the
// calendar, each colour's order, and on the unit menu the offer under the
// cursor) and the notice of a refused order. Both read the scene as the state
// trace does and change nothing in it.
#pragma once

#include <string>
#include <vector>

#include "media/shell/WindowOverlay.h"

class CScene;
struct KeyConfig;

namespace app {

class HelpPanel final : public media::HelpSource {
public:
    explicit HelpPanel(const KeyConfig& keys) : m_keys(keys) {}
    // The scene the panel reads from now on (the main loop's current one).
    void Watch(const CScene* scene) { m_scene = scene; }
    std::vector<std::string> HelpLines() override;

private:
    const KeyConfig& m_keys;
    const CScene* m_scene = nullptr;
};

// After a frame that began in `stateBefore`: when the player chose a colour on
// the unit menu and the order was refused, the notice says why.
void NoticeRefusedOrder(int stateBefore, const CScene& scene, const KeyConfig& keys);

}  // namespace app
