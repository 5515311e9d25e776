// A short-lived decoration with its own clock.
#pragma once

#include <cstdint>

class CBaseEffect {
public:
    CBaseEffect() = default;
    virtual ~CBaseEffect() = default;

    virtual void Start(int x, int y);
    virtual void Draw();
    virtual void Update();

    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_life = 0;  // finished when below 0
};
