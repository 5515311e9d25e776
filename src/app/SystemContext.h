// The process-wide system context: the first GetSystem() starts the media layer
// (screen 160 x 120 x 16, window scale 2, windowed, default font, sound data mode,
// transparent colour magenta) and makes the keyboard arrays and the shared text colour.
#pragma once

#include <cstdint>
#include <memory>

#include "app/input/KeyboardState.h"

// Its construction sets the default font face and thickness.
struct FontSetup {
    FontSetup();
};

// Its construction sets the sound data mode.
struct SoundSetup {
    SoundSetup();
};

class SystemContext {
public:
    SystemContext();
    ~SystemContext();  // frees its members, then ends the media layer
    SystemContext(const SystemContext&) = delete;
    SystemContext& operator=(const SystemContext&) = delete;

    std::unique_ptr<FontSetup> fontSetup;
    std::unique_ptr<SoundSetup> soundSetup;
    std::unique_ptr<KeyboardState> keyboard;
    uint32_t textColour = 0;  // colour of the last text drawn; starts white
};

// The single context; the first call creates it and starts the media layer. It is
// destroyed at process exit, after everything made after it.
SystemContext* GetSystem();

// Destroys the context now (ending the media layer); the next GetSystem() makes
// a new one. For tests and tools that run the game more than once in a process.
void ResetSystem();
