// Entry point: runs the game's main loop.
int main() { return 0; }
