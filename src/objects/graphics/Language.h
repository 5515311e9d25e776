// The language of the words the player sees: Japanese (the default) or English.
// Chosen once at start-up, before the first scene is made; the rules never read it.
// A plain header: the *Texts.cpp files include it.
#pragma once

enum class Language { Japanese, English };

// The language in force (Japanese until one is chosen).
Language GameLanguage();
void SetGameLanguage(Language language);
