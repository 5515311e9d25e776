// A moving graphic object holding a bounded value.
#pragma once

#include <cstdint>

#include "objects/MoveObj.h"

class CDataObj : public CMoveObj {
public:
    CDataObj() = default;

    int32_t m_value = 0;
    int32_t m_max = 9999;
    int32_t m_min = 0;
};
