// Pictures that carry words come in each language: the Japanese one in image/,
// the English one of the same name in image/en/.
#pragma once

#include <string>

// The name to load for the picture `name` in the game's language. An English
// picture that is missing falls back to the Japanese one, with a log line.
std::string WordPicture(const char* name);
