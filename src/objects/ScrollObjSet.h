// A set whose members drift every frame at a common speed and wrap around a rectangle.
#pragma once

#include <cstdint>
#include <list>

#include "objects/ObjSet.h"

struct ObjSize {
    int32_t w = 0;
    int32_t h = 0;
};

class CScrollObjSet : public CObjSet {
public:
    CScrollObjSet();

    void Release() override;
    void Reset() override;
    void Update() override;
    void Add(CBaseObj* child, float offX, float offY) override;
    void Remove(unsigned index) override;
    virtual void AddSized(CBaseObj* child, float offX, float offY, int w, int h);

    std::list<ObjSize> m_sizes;  // one per member: the extent used for wrapping
    float m_scrollX = 0.0f;
    float m_scrollY = 0.0f;
    int32_t m_wrapW = 0;
    int32_t m_wrapH = 0;
};
