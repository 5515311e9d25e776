// The default font: its settings and the font made from them, brought up to
// date (re-created) only when a setting really changes.
#pragma once

#include <cstdint>

#include "media/text/FontTable.h"

namespace media {

// The settings as they are now.
const FontSettings& DefaultFontSettings();
// Gives the default font these settings (a kept state put back).
void PutDefaultFontSettings(const FontSettings& settings);
// Re-creates the default font when it is missing or its settings differ from
// the current ones. A creation that failed is not retried until a setting changes.
void BringDefaultFontUpToDate();
// True when BringDefaultFontUpToDate would find nothing to do.
bool DefaultFontUpToDate();
// The default font, or null when it could not be made.
Font* DefaultFont();
// How many times the default font has been made (for tests and tools).
uint64_t DefaultFontCreations();

}  // namespace media

namespace media::op {

// The work of the public operations of these names (their contracts are in
// Media.h), called by their definitions in Media.cpp, which record them.
int SetDefaultFontSize(int size);
int SetDefaultFontThickness(int thickness);
int SetDefaultFontFace(const char* face, int charSet);

}  // namespace media::op
