// A non-negative number drawn with the digit pictures of "Number.png", centred on its position.
#pragma once

#include <cstdint>
#include <vector>

#include "objects/DataObj.h"

class CNumObj : public CDataObj {
public:
    CNumObj();

    void Reset() override;
    void Draw() override;
    void DrawAt(int x, int y) override;
    virtual void SetValue(int v);
    virtual void SetRange(int min, int max);
    virtual void AddValue(int delta);

    // Graphics 0..9 become the digit cells of "Number.png"; pitch 5.
    void LoadDigits();

    int32_t m_maxDigits = 4;
    int32_t m_digitCount = 0;
    std::vector<int8_t> m_digits = std::vector<int8_t>(4, 0);
    int32_t m_digitPitch = 0;
};
