// The media layer's random-number generator: MT19937 with the 1998 seeding
// (each state word from two successive steps of x = 69069 x + 1, the seed itself first).
#pragma once

#include <cstdint>
#include <optional>

namespace media {

class MersenneTwister {
public:
    static constexpr int kN = 624;
    explicit MersenneTwister(uint32_t seed = 4357) { Seed(seed); }
    void Seed(uint32_t seed);
    uint32_t Next();
    // The whole state, to be kept and put back.
    const uint32_t* Words() const { return m_mt; }
    int Index() const { return m_index; }
    // False (nothing changed) for an index beyond 0..kN.
    bool Put(const uint32_t words[kN], int index);

private:
    uint32_t m_mt[kN];
    int m_index = kN;
};

// Seeds the media layer's generator (InitMediaLayer).
void SeedRandom(uint32_t seed);
// The seed the generator was last given (4357 before any): with it a recorded
// game is played again. Not one of the game's operations.
uint32_t RandomSeed();
// Seed InitMediaLayer uses instead of the clock (headless controls); nullopt: the clock.
void SetRandomSeedOverride(std::optional<uint32_t> seed);
std::optional<uint32_t> RandomSeedOverride();

// The generator as it is now, to be kept and put back with a run's state.
struct KeptRandom {
    uint32_t seed = 0;
    uint32_t words[MersenneTwister::kN] = {};
    int32_t index = 0;
};
KeptRandom CurrentRandom();
// False (nothing changed) when the state is not one the generator can be in.
bool PutRandom(const KeptRandom& kept);

}  // namespace media

namespace media::op {

// The work of the public operations of these names (their contracts are in
// Media.h), called by their definitions in Media.cpp, which record them.
int GetRandom(int max);

}  // namespace media::op
