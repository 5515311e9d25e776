// Entry point: runs the game. Exit status 1 when the window could not be opened
// (no display, or another copy already running).
#include "app/MainLoop.h"

int main() { return RunMainLoop(); }
