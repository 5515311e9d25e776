#include "media/core/Random.h"

#include "media/Media.h"
#include "media/core/OperationLock.h"

namespace media {

void MersenneTwister::Seed(uint32_t seed) {
    for (int i = 0; i < kN; ++i) {
        mt_[i] = seed & 0xFFFF0000u;
        seed = 69069u * seed + 1u;
        mt_[i] |= (seed & 0xFFFF0000u) >> 16;
        seed = 69069u * seed + 1u;
    }
    index_ = kN;
}

uint32_t MersenneTwister::Next() {
    constexpr int kM = 397;
    constexpr uint32_t kMatrixA = 0x9908B0DFu, kUpper = 0x80000000u, kLower = 0x7FFFFFFFu;
    if (index_ >= kN) {
        int k = 0;
        for (; k < kN - kM; ++k) {
            const uint32_t y = (mt_[k] & kUpper) | (mt_[k + 1] & kLower);
            mt_[k] = mt_[k + kM] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
        }
        for (; k < kN - 1; ++k) {
            const uint32_t y = (mt_[k] & kUpper) | (mt_[k + 1] & kLower);
            mt_[k] = mt_[k + (kM - kN)] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
        }
        const uint32_t y = (mt_[kN - 1] & kUpper) | (mt_[0] & kLower);
        mt_[kN - 1] = mt_[kM - 1] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
        index_ = 0;
    }
    uint32_t y = mt_[index_++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

namespace {
struct RandomState {
    uint32_t seed = 4357;  // an unseeded generator behaves as seeded with 4357
    MersenneTwister generator{seed};
    std::optional<uint32_t> seedOverride;
};
RandomState& TheRandom() {
    static RandomState* state = new RandomState();  // lives until process exit
    return *state;
}
}  // namespace

void SeedRandom(uint32_t seed) {
    OperationGuard guard;
    TheRandom().seed = seed;
    TheRandom().generator.Seed(seed);
}

uint32_t RandomSeed() {
    OperationGuard guard;
    return TheRandom().seed;
}
void SetRandomSeedOverride(std::optional<uint32_t> seed) { TheRandom().seedOverride = seed; }
std::optional<uint32_t> RandomSeedOverride() { return TheRandom().seedOverride; }

}  // namespace media

int media::op::GetRandom(int max) {
    media::OperationGuard guard;
    const uint64_t r = media::TheRandom().generator.Next();
    if (max <= 0) return 0;
    return static_cast<int>((r * (static_cast<uint64_t>(max) + 1u)) >> 32);
}
