#include "objects/NumObj.h"

#include <cstddef>
#include <cstdint>

#include "objects/graphics/Graphic.h"
#include "objects/graphics/Truncate.h"

namespace {

// Decimal digits of v, counting 0 as one digit.
int32_t DigitCount(int32_t v) {
    int32_t count = 0;
    do {
        ++count;
        v /= 10;
    } while (v != 0);
    return count;
}

}  // namespace

// The built state (range 0..9999, capacity 4) comes from the member
// initialisers; Reset() gives the smaller reuse range 0..100.
CNumObj::CNumObj() = default;

void CNumObj::Reset() {
    CGraObj::Reset();  // gives the digit graphics back
    m_value = 0;
    m_max = 100;
    m_min = 0;
    m_digitPitch = 0;
    m_maxDigits = 4;
    m_digitCount = 0;
    // m_digits keeps its length.
}

void CNumObj::Draw() { CNumObj::DrawAt(m_x, m_y); }

void CNumObj::DrawAt(int x, int y) {
    const int32_t n = m_digitCount;
    double half = static_cast<double>(n) * 0.5 * static_cast<double>(m_digitPitch);
    int64_t digitX = int64_t{x} - TruncToInt(half);
    const int alpha = TruncToInt(m_alpha.value);
    const int r = TruncToInt(m_bright[0].value);
    const int g = TruncToInt(m_bright[1].value);
    const int b = TruncToInt(m_bright[2].value);
    for (int32_t i = 0; i < n && static_cast<size_t>(i) < m_digits.size(); ++i) {
        const int digit = m_digits[i];
        if (digit >= 0 && static_cast<size_t>(digit) < m_graphics.size() && digitX >= INT32_MIN &&
            digitX <= INT32_MAX) {
            m_graphics[digit]->Draw(static_cast<int>(digitX), y, m_turn, alpha, r, g, b);
        }
        digitX += m_digitPitch;
    }
}

void CNumObj::SetValue(int v) {
    m_value = v;
    if (m_value < m_min) m_value = m_min;
    if (m_value > m_max) m_value = m_max;

    m_digitCount = DigitCount(m_value);
    // Digits from the last place to the first (the same digits, signs included,
    // as dividing by powers of ten from the first); a place beyond the capacity
    // is not stored.
    int32_t r = m_value;
    for (int32_t i = m_digitCount - 1; i >= 0; --i) {
        if (static_cast<size_t>(i) < m_digits.size()) m_digits[i] = static_cast<int8_t>(r % 10);
        r /= 10;
    }
}

void CNumObj::SetRange(int min, int max) {
    if (min < 0) min = 0;
    if (max < min) max = min;
    m_min = min;
    m_max = max;
    // The array is compared too: Reset() restores the capacity field but keeps the array.
    const int32_t capacity = DigitCount(max);
    if (capacity != m_maxDigits || static_cast<size_t>(capacity) != m_digits.size()) {
        m_digits.resize(static_cast<size_t>(capacity), 0);  // leading digits stay
        m_maxDigits = capacity;
    }
}

void CNumObj::AddValue(int delta) {
    int64_t v = int64_t{m_value} + delta;
    if (v < m_min) v = m_min;
    if (v > m_max) v = m_max;
    SetValue(static_cast<int>(v));
}

void CNumObj::LoadDigits() {
    for (int i = 0; i < 10; ++i) AddCells("Number.png", 10, 1, i, i, i);
    m_digitPitch = 5;
}
