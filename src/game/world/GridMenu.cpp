// Cursor menus: movement with wrap-around, decide and cancel, drawing.
#include "game/world/GridMenu.h"

#include "app/input/KeyConfig.h"
#include "objects/BaseObj.h"
#include "resources/SoundStore.h"

namespace {

enum MenuButton : unsigned { kUp = 0, kDown = 1, kRight = 2, kLeft = 3, kDecide = 4, kCancel = 5 };

}  // namespace

void GridMenu::Clear() {
    for (auto& column : items) {
        for (auto& cell : column) cell = nullptr;
    }
    items.clear();
    cursorColumn = 0;
    cursorRow = 0;
}

void GridMenu::SetGrid(int rows) {
    Clear();
    if (rows < 0) rows = 0;
    items.assign(2, std::vector<CBaseObj*>(static_cast<size_t>(rows), nullptr));
    columnCount = 2;
    rowCount = rows;
}

void GridMenu::SetItem(unsigned column, unsigned row, CBaseObj* item) {
    if (column >= static_cast<unsigned>(columnCount) || row >= static_cast<unsigned>(rowCount)) return;
    if (column >= items.size() || row >= items[column].size()) return;
    items[column][row] = item;
}

void GridMenu::SetSounds(const char* decide, const char* move, const char* cancel) {
    decideSound = decide ? decide : "";
    moveSound = move ? move : "";
    cancelSound = cancel ? cancel : "";
}

void GridMenu::Update() {
    if (selection != -1) return;
    if (keyConfig == nullptr) return;
    const KeyConfig& keys = *keyConfig;
    auto pressed = [&keys](unsigned button) { return GetButtonState(keys, button) == kButtonPressed; };
    SoundStore* sounds = SoundStore::Instance();

    if (pressed(kUp)) {
        cursorRow -= 1;
        sounds->PlayEffect(moveSound.c_str());
    }
    if (pressed(kDown)) {
        cursorRow += 1;
        sounds->PlayEffect(moveSound.c_str());
    }
    if (pressed(kRight)) {
        cursorColumn += 1;
        sounds->PlayEffect(moveSound.c_str());
    }
    if (pressed(kLeft)) {
        cursorColumn -= 1;
        sounds->PlayEffect(moveSound.c_str());
    }

    if (cursorColumn < 0) cursorColumn = columnCount - 1;
    if (cursorColumn >= columnCount) cursorColumn = 0;
    if (cursorRow < 0) cursorRow = rowCount - 1;
    if (cursorRow >= rowCount) cursorRow = 0;

    if (pressed(kDecide)) {
        selection = cursorColumn * rowCount + cursorRow + 1;
        sounds->PlayEffect(decideSound.c_str());
    }
    if (pressed(kCancel)) {
        selection = 0;
        sounds->PlayEffect(cancelSound.c_str());
    }
}

void GridMenu::Draw() {
    for (int c = 0; c < columnCount && static_cast<size_t>(c) < items.size(); ++c) {
        const auto& column = items[static_cast<size_t>(c)];
        for (int r = 0; r < rowCount && static_cast<size_t>(r) < column.size(); ++r) {
            CBaseObj* item = column[static_cast<size_t>(r)];
            if (item) item->DrawAt(x + columnPitch * c, y + rowPitch * r);
        }
    }
    if (cursor) {
        cursor->DrawAt(x + columnPitch * cursorColumn + cursorOffsetX, y + rowPitch * cursorRow + cursorOffsetY);
    }
}
