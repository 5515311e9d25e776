// The ring of damage-number effects and the list of running ones.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

class CDamageEffect;

class DamageEffectPool {
public:
    DamageEffectPool();
    // A pool of the effects given (a kept state put back); it owns them.
    explicit DamageEffectPool(std::vector<CDamageEffect*> effects);
    ~DamageEffectPool();
    DamageEffectPool(const DamageEffectPool&) = delete;
    DamageEffectPool& operator=(const DamageEffectPool&) = delete;

    void ShowDamage(int value, int x, int y);
    void UpdateDamageNumbers();

    std::list<CDamageEffect*> running;
    std::vector<CDamageEffect*> slots;  // 50, owned
    uint32_t nextSlot = 0;
};
