// The ring of damage numbers: starting, stepping and retiring them.
#include "game/world/DamageEffectPool.h"

#include <utility>

#include "objects/DamageEffect.h"

namespace {
constexpr uint32_t kPoolSize = 50;
}

DamageEffectPool::DamageEffectPool() {
    slots.resize(kPoolSize);
    for (auto& slot : slots) slot = new CDamageEffect();
    nextSlot = 0;
}

DamageEffectPool::DamageEffectPool(std::vector<CDamageEffect*> effects) : slots(std::move(effects)) {}

DamageEffectPool::~DamageEffectPool() {
    running.clear();
    for (auto& slot : slots) {
        delete slot;
        slot = nullptr;
    }
    slots.clear();
}

void DamageEffectPool::ShowDamage(int value, int x, int y) {
    CDamageEffect* effect = slots[nextSlot];
    nextSlot = (nextSlot + 1) % kPoolSize;
    effect->Start(x, y);
    effect->m_number.SetValue(value);
    effect->m_number.m_alpha = Tween{255.0, 255.0, 0.0};
    // A slot taken again while its previous run is still listed runs once, from its new start.
    running.remove(effect);
    running.push_back(effect);
}

void DamageEffectPool::UpdateDamageNumbers() {
    for (auto it = running.begin(); it != running.end();) {
        (*it)->Update();
        if ((*it)->m_life < 0) {
            it = running.erase(it);
        } else {
            ++it;
        }
    }
}
