// A graphic object whose opacity pulses between two bounds.
#pragma once

#include <cstdint>

#include "objects/GraObj.h"

class CBlinkObj : public CGraObj {
public:
    CBlinkObj();

    void Reset() override;
    void Update() override;

    float m_blinkHigh = 255.0f;
    float m_blinkLow = 0.0f;
    float m_blinkValue = 0.0f;
    float m_blinkStep = 0.0f;
    int32_t m_blinkMode = 0;  // 1 saw-tooth, other values bounce
};
