#include "media/core/Random.h"

#include <algorithm>

#include "media/Media.h"
#include "media/core/OperationLock.h"

namespace media {

void MersenneTwister::Seed(uint32_t seed) {
    for (int i = 0; i < kN; ++i) {
        m_mt[i] = seed & 0xFFFF0000u;
        seed = 69069u * seed + 1u;
        m_mt[i] |= (seed & 0xFFFF0000u) >> 16;
        seed = 69069u * seed + 1u;
    }
    m_index = kN;
}

bool MersenneTwister::Put(const uint32_t words[kN], int index) {
    if (index < 0 || index > kN) return false;
    std::copy(words, words + kN, m_mt);
    m_index = index;
    return true;
}

uint32_t MersenneTwister::Next() {
    constexpr int kM = 397;
    constexpr uint32_t kMatrixA = 0x9908B0DFu, kUpper = 0x80000000u, kLower = 0x7FFFFFFFu;
    if (m_index >= kN) {
        int k = 0;
        for (; k < kN - kM; ++k) {
            const uint32_t y = (m_mt[k] & kUpper) | (m_mt[k + 1] & kLower);
            m_mt[k] = m_mt[k + kM] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
        }
        for (; k < kN - 1; ++k) {
            const uint32_t y = (m_mt[k] & kUpper) | (m_mt[k + 1] & kLower);
            m_mt[k] = m_mt[k + (kM - kN)] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
        }
        const uint32_t y = (m_mt[kN - 1] & kUpper) | (m_mt[0] & kLower);
        m_mt[kN - 1] = m_mt[kM - 1] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
        m_index = 0;
    }
    uint32_t y = m_mt[m_index++];
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
KeptRandom CurrentRandom() {
    OperationGuard guard;
    KeptRandom kept;
    kept.seed = TheRandom().seed;
    std::copy(TheRandom().generator.Words(), TheRandom().generator.Words() + MersenneTwister::kN, kept.words);
    kept.index = TheRandom().generator.Index();
    return kept;
}

bool PutRandom(const KeptRandom& kept) {
    OperationGuard guard;
    if (!TheRandom().generator.Put(kept.words, kept.index)) return false;
    TheRandom().seed = kept.seed;
    return true;
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
