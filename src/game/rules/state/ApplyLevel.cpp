// Growth of a character's statistics for its level.
#include <cstdint>
#include <limits>

#include "game/rules/state/GameData.h"
#include "media/Media.h"

namespace {

// value += trunc((draw x growth x factor) / 100.0), with draw = 80..120 (percent).
// The product is formed wide so that huge levels cannot overflow; the sum saturates.
void Grow(int32_t& value, int32_t growth, int64_t factor) {
    const int64_t percent = GetRandom(40) + 80;
    const int64_t product = percent * growth * factor;
    const int64_t add = static_cast<int64_t>(static_cast<double>(product) / 100.0);
    int64_t sum = static_cast<int64_t>(value) + add;
    if (sum > std::numeric_limits<int32_t>::max()) sum = std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min()) sum = std::numeric_limits<int32_t>::min();
    value = static_cast<int32_t>(sum);
}

}  // namespace

void ApplyLevel(UnitStats& stats, int32_t level) {
    const int64_t factor = static_cast<int64_t>(level) + 3;
    Grow(stats.maxHp, stats.hpGrowth, factor);
    stats.hp = stats.maxHp;
    Grow(stats.attack, stats.attackGrowth, factor);
    Grow(stats.defence, stats.defenceGrowth, factor);
    stats.level = level;
}
