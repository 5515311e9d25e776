// Drawing of the play screen, layer by layer.
#pragma once

class GameScreen;
class DamageEffectPool;

// The layers whose switch is on, in layer order.
void DrawScreen(GameScreen& screen);
// Every running damage number, front to back.
void DrawEffects(DamageEffectPool& pool);
