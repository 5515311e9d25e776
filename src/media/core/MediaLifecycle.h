// Window and screen: mode, start and end, draw target, clear, flip.
#pragma once


namespace media::op {

// The work of the public operations of these names (their contracts are in
// Media.h), called by their definitions in Media.cpp, which record them.
int SetScreenMode(int width, int height, int bitsPerPixel, int refreshRate);
int SetWindowScale(double rate);
int ChangeWindowMode(int windowed);
int InitMediaLayer();
int EndMediaLayer();
int SetDrawTarget(int target);
int ClearScreen();
int FlipScreen();

}  // namespace media::op
