// The colour images are keyed by.
#pragma once


namespace media::op {

// The work of the public operations of these names (their contracts are in
// Media.h), called by their definitions in Media.cpp, which record them.
int SetTransparentColor(int r, int g, int b);

}  // namespace media::op
