// How the media layer's start goes: the single-instance check, and the result
// for the program's exit status.
#pragma once

namespace media {

// True once InitMediaLayer has failed (no display, a second copy, a 24-bit
// desktop); stays true until a later InitMediaLayer succeeds.
bool MediaStartFailed();

// Takes the single-instance lock ahead of InitMediaLayer, which keeps it, so
// that a program opens its output files only when no other copy runs. False
// when another copy holds it: InitMediaLayer will then refuse to start, and say so.
bool ClaimSingleInstance();

}  // namespace media
