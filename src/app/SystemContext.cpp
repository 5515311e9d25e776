#include "app/SystemContext.h"

#include <cstdlib>

#include "app/AppTexts.h"
#include "objects/graphics/SharedTextColour.h"
#include "media/Media.h"

FontSetup::FontSetup() {
    SetDefaultFontFace(app::texts::kDefaultFontFace, -1);
    SetDefaultFontThickness(2);
}

SoundSetup::SoundSetup() { SetSoundDataMode(2); }

SystemContext::SystemContext() {
    SetScreenMode(160, 120, 16, 60);
    SetWindowScale(2.0);
    ChangeWindowMode(1);
    InitMediaLayer();  // a failed start shows in ProcessMessage
    SetDrawTarget(kBackScreen);
    SetTransparentColor(255, 0, 255);
    fontSetup = std::make_unique<FontSetup>();
    soundSetup = std::make_unique<SoundSetup>();
    keyboard = std::make_unique<KeyboardState>();
    GetKeyStateAll(keyboard->current);
    GetKeyStateAll(keyboard->previous);
    textColour = MakeColor(255, 255, 255);
    UseSharedTextColour(&textColour);  // text drawing keeps its colour here
}

SystemContext::~SystemContext() {
    UseSharedTextColour(nullptr);
    fontSetup.reset();
    soundSetup.reset();
    keyboard.reset();
    textColour = 0;
    EndMediaLayer();
}

namespace {

SystemContext*& Slot() {
    static SystemContext* context = nullptr;
    return context;
}

void DestroyAtExit() { ResetSystem(); }

}  // namespace

SystemContext* GetSystem() {
    if (!Slot()) {
        Slot() = new SystemContext();
        // Registered after the context is complete: whatever is made after it
        // (the stores) is destroyed before it at exit.
        static const bool registered = (std::atexit(DestroyAtExit), true);
        (void)registered;
    }
    return Slot();
}

void ResetSystem() {
    SystemContext* context = Slot();
    Slot() = nullptr;
    delete context;
}
