#include "objects/graphics/Language.h"

namespace {

Language g_language = Language::Japanese;

}  // namespace

Language GameLanguage() { return g_language; }

void SetGameLanguage(Language language) { g_language = language; }
