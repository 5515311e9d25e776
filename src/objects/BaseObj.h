// Base of every display object: an integer screen position and six per-frame
// operations. Owners end an object's life with Release(), then delete.
#pragma once

#include <cstdint>

class CBaseObj {
public:
    CBaseObj() = default;
    virtual ~CBaseObj() = default;

    virtual void Release();
    virtual void Reset();
    virtual void Draw();
    virtual void Update();
    virtual void DrawAt(int x, int y);
    virtual void SetPos(int x, int y);

    int32_t m_x = 0;
    int32_t m_y = 0;
};
