// The key file: a count, then that many scan codes, all little-endian 32-bit.
#pragma once

#include <string>

#include "app/input/KeyConfig.h"

// Reads "Data/KeyData.dat". 0 when read and the configuration replaced; -1 otherwise
// (configuration unchanged).
int LoadKeyConfig(KeyConfig& config);
// The same for the key file at `path`; on -1, what is wrong with the file goes
// to *problem (when not null), in words: "is empty", "gives a negative count (-1)", ...
int LoadKeyConfigFrom(KeyConfig& config, const std::string& path, std::string* problem);
