// Grid menus: cursor movement with wrap-around, decisions, cancels, short key
// tables, and where items and cursor are drawn.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "GameTestSupport.h"
#include "game/world/GridMenu.h"
#include "objects/BaseObj.h"

namespace {

using gametest::Frame;

// Remembers where it was drawn.
class Probe : public CBaseObj {
public:
    void DrawAt(int x, int y) override { drawn.emplace_back(x, y); }
    std::vector<std::pair<int, int>> drawn;
};

class GridMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        gametest::ClearKeys();
        keys = gametest::StandardKeys();
        menu.SetGrid(3);
        menu.keyConfig = &keys;
        menu.SetSounds("Dec.wav", "Select.wav", "Cancel.wav");
    }
    void TearDown() override { gametest::ClearKeys(); }

    // One frame in which the given keys go down (after a frame with none down).
    void Press(std::initializer_list<int> k) {
        Frame({});
        Frame(k);
        menu.Update();
    }

    gametest::WorkFolder folder{false};
    KeyConfig keys;
    GridMenu menu;
};

TEST_F(GridMenuTest, BuiltArmedAndEmpty) {
    GridMenu fresh;
    EXPECT_EQ(fresh.selection, -1);
    EXPECT_TRUE(fresh.items.empty());
    EXPECT_EQ(fresh.cursor, nullptr);
    EXPECT_EQ(menu.columnCount, 2);
    EXPECT_EQ(menu.rowCount, 3);
    ASSERT_EQ(menu.items.size(), 2u);
    EXPECT_EQ(menu.items[1].size(), 3u);
}

TEST_F(GridMenuTest, CursorMovesAndWrapsBothWays) {
    Press({gametest::kKeyUp});
    EXPECT_EQ(menu.cursorRow, 2);
    Press({gametest::kKeyDown});
    EXPECT_EQ(menu.cursorRow, 0);
    Press({gametest::kKeyDown});
    EXPECT_EQ(menu.cursorRow, 1);
    Press({gametest::kKeyRight});
    EXPECT_EQ(menu.cursorColumn, 1);
    Press({gametest::kKeyRight});
    EXPECT_EQ(menu.cursorColumn, 0);
    Press({gametest::kKeyLeft});
    EXPECT_EQ(menu.cursorColumn, 1);
    EXPECT_EQ(menu.selection, -1);
    // Several directions act in one frame.
    Press({gametest::kKeyDown, gametest::kKeyLeft});
    EXPECT_EQ(menu.cursorRow, 2);
    EXPECT_EQ(menu.cursorColumn, 0);
}

TEST_F(GridMenuTest, UpAndDownTogetherLeaveTheRow) {
    menu.cursorRow = 1;
    Press({gametest::kKeyUp, gametest::kKeyDown});
    EXPECT_EQ(menu.cursorRow, 1);
    menu.cursorRow = 0;
    Press({gametest::kKeyUp, gametest::kKeyDown});  // -1 then 0: no wrap on the way
    EXPECT_EQ(menu.cursorRow, 0);
}

TEST_F(GridMenuTest, HeldKeysDoNotRepeat) {
    Frame({});
    Frame({gametest::kKeyDown});
    menu.Update();
    for (int i = 0; i < 5; ++i) {
        Frame({gametest::kKeyDown});
        menu.Update();
    }
    EXPECT_EQ(menu.cursorRow, 1);
}

TEST_F(GridMenuTest, SelectionNumbersCountColumnByColumn) {
    // Command menu (2 x 3): column 1, row 2 is 6.
    menu.cursorColumn = 1;
    menu.cursorRow = 2;
    Press({gametest::kKeyZ});
    EXPECT_EQ(menu.selection, 6);
    // Decided: input is ignored until the owner re-arms.
    Press({gametest::kKeyUp});
    EXPECT_EQ(menu.cursorRow, 2);
    Press({gametest::kKeyX});
    EXPECT_EQ(menu.selection, 6);

    // Unit menu (2 x 2): column 1, row 0 is 3.
    GridMenu unit;
    unit.SetGrid(2);
    unit.keyConfig = &keys;
    unit.cursorColumn = 1;
    Frame({});
    Frame({gametest::kKeyZ});
    unit.Update();
    EXPECT_EQ(unit.selection, 3);

    // A move and a decision in the same frame decide on the new cell.
    menu.selection = -1;
    menu.cursorColumn = 0;
    menu.cursorRow = 0;
    Press({gametest::kKeyDown, gametest::kKeyZ});
    EXPECT_EQ(menu.selection, 2);
}

TEST_F(GridMenuTest, CancelWinsOverDecideInTheSameFrame) {
    Press({gametest::kKeyX});
    EXPECT_EQ(menu.selection, 0);
    menu.selection = -1;
    Press({gametest::kKeyZ, gametest::kKeyX});
    EXPECT_EQ(menu.selection, 0);
    // Both sounds were asked for: each was loaded by name.
    EXPECT_NE(SoundStore::Instance()->m_handles.count("Dec.wav"), 0u);
    EXPECT_NE(SoundStore::Instance()->m_handles.count("Cancel.wav"), 0u);
}

TEST_F(GridMenuTest, ShortKeyTables) {
    // Four buttons: the cursor moves, decide and cancel never act.
    keys.keys.resize(4);
    keys.count = 4;
    Press({gametest::kKeyZ, gametest::kKeyX});
    EXPECT_EQ(menu.selection, -1);
    Press({gametest::kKeyDown});
    EXPECT_EQ(menu.cursorRow, 1);
    // Five buttons: decide works, cancel does not.
    keys.keys = {gametest::kKeyUp, gametest::kKeyDown, gametest::kKeyRight, gametest::kKeyLeft, gametest::kKeyZ};
    Press({gametest::kKeyX});
    EXPECT_EQ(menu.selection, -1);
    Press({gametest::kKeyZ});
    EXPECT_EQ(menu.selection, 2);
    // No table at all: nothing acts.
    menu.selection = -1;
    menu.keyConfig = nullptr;
    Press({gametest::kKeyZ, gametest::kKeyDown});
    EXPECT_EQ(menu.selection, -1);
    EXPECT_EQ(menu.cursorRow, 1);
}

TEST_F(GridMenuTest, SetItemBoundsAndClear) {
    Probe a;
    menu.SetItem(0, 3, &a);  // row == rowCount
    menu.SetItem(2, 0, &a);  // column == columnCount
    for (const auto& column : menu.items) {
        for (CBaseObj* cell : column) EXPECT_EQ(cell, nullptr);
    }
    menu.SetItem(1, 2, &a);
    EXPECT_EQ(menu.items[1][2], &a);

    menu.cursorColumn = 1;
    menu.cursorRow = 2;
    menu.Clear();
    EXPECT_TRUE(menu.items.empty());
    EXPECT_EQ(menu.cursorColumn, 0);
    EXPECT_EQ(menu.cursorRow, 0);
    EXPECT_EQ(menu.columnCount, 2);  // the counts stay
    EXPECT_EQ(menu.rowCount, 3);
    menu.SetItem(0, 0, &a);  // no cells to hold it
    menu.Draw();             // and nothing to draw
    EXPECT_TRUE(a.drawn.empty());
}

TEST_F(GridMenuTest, DrawsItemsAtPitchesAndTheCursorBesideItsCell) {
    Probe items[6];
    Probe cursor;
    menu.x = 14;
    menu.y = 78;
    menu.columnPitch = 81;
    menu.rowPitch = 11;
    menu.cursor = &cursor;
    menu.cursorOffsetX = -9;
    for (unsigned r = 0; r < 3; ++r) {
        menu.SetItem(0, r, &items[r]);
        if (r != 1) menu.SetItem(1, r, &items[3 + r]);  // one empty cell
    }
    menu.cursorColumn = 1;
    menu.cursorRow = 2;
    menu.selection = 4;  // drawn after a choice too
    menu.Draw();
    EXPECT_EQ(items[0].drawn, (std::vector<std::pair<int, int>>{{14, 78}}));
    EXPECT_EQ(items[2].drawn, (std::vector<std::pair<int, int>>{{14, 100}}));
    EXPECT_EQ(items[3].drawn, (std::vector<std::pair<int, int>>{{95, 78}}));
    EXPECT_TRUE(items[4].drawn.empty());
    EXPECT_EQ(items[5].drawn, (std::vector<std::pair<int, int>>{{95, 100}}));
    EXPECT_EQ(cursor.drawn, (std::vector<std::pair<int, int>>{{14 + 81 - 9, 78 + 22}}));
}

}  // namespace
