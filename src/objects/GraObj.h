// A display object showing one of its graphics, with opacity and tint tweens,
// paced animation and mirroring.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "objects/graphics/Tween.h"
#include "objects/BaseObj.h"

class CGraphic;
class ImageStore;

class CGraObj : public CBaseObj {
public:
    CGraObj();

    void Release() override;
    void Reset() override;
    void Draw() override;
    void Update() override;
    void DrawAt(int x, int y) override;
    void SetPos(int x, int y) override;
    virtual bool IsSettled();
    virtual void SetTurn(bool turn);

    void AddPicture(const char* name);
    void AddCells(const char* name, int cols, int rows, int index, int first, int last);
    void AddText(const char* text, int lineHeight);
    void AddBox(int height);
    // Gives every graphic back to the store; m_current is left alone.
    void ClearGraphics();

    std::vector<CGraphic*> m_graphics;  // given back to the store, never deleted here
    uint32_t m_current = 0;
    uint32_t m_frameWait = 1;
    uint32_t m_frameCount = 0;
    Tween m_alpha{255.0, 255.0, 0.0};
    std::array<Tween, 3> m_bright{{{255.0, 255.0, 0.0}, {255.0, 255.0, 0.0}, {255.0, 255.0, 0.0}}};
    bool m_turn = false;
    ImageStore* m_store = nullptr;
};
