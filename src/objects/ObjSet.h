// An ordered group of display objects drawn at fractional offsets from the
// set's position. The set never owns its members.
#pragma once

#include <vector>

#include "objects/BaseObj.h"

struct ObjOffset {
    float x = 0.0f;
    float y = 0.0f;
};

class CObjSet : public CBaseObj {
public:
    CObjSet();

    void Release() override;
    void Reset() override;
    void Draw() override;
    void Update() override;
    void DrawAt(int x, int y) override;
    void SetPos(int x, int y) override;
    virtual void Add(CBaseObj* child, float offX, float offY);
    virtual void Remove(unsigned index);
    virtual void SetOffset(unsigned index, float offX, float offY);
    virtual void SetChild(CBaseObj* child, unsigned index);

    std::vector<CBaseObj*> m_children;  // drawing order; null entries are empty slots
    std::vector<ObjOffset> m_offsets;   // one per entry of m_children
};
