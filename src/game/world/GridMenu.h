// A cursor menu over a grid of display objects; the rules poll `selection`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CBaseObj;
struct KeyConfig;

class GridMenu {
public:
    GridMenu() = default;

    void Clear();
    void SetGrid(int rows);  // 2 columns
    void SetItem(unsigned column, unsigned row, CBaseObj* item);
    void SetSounds(const char* decide, const char* move, const char* cancel);
    void Update();
    void Draw();

    int32_t x = 0;
    int32_t y = 0;
    std::vector<std::vector<CBaseObj*>> items;  // items[column][row], not owned
    int32_t columnCount = 0;
    int32_t rowCount = 0;
    int32_t columnPitch = 0;
    int32_t rowPitch = 0;
    int32_t cursorColumn = 0;
    int32_t cursorRow = 0;
    CBaseObj* cursor = nullptr;
    int32_t cursorOffsetX = 0;
    int32_t cursorOffsetY = 0;
    KeyConfig* keyConfig = nullptr;
    int32_t selection = -1;
    std::string decideSound;
    std::string moveSound;
    std::string cancelSound;
};
