// Writes a recorded game (RecordedGame.h) as the game runs: the header at the
// end of start-up, a line for each frame whose keyboard snapshot differs from
// the one before, and the number of frames when the run ends. Each line is
// handed to the system as it is written, so a game that ends abruptly keeps
// what it recorded.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace app {

class GameRecorder {
public:
    GameRecorder() = default;
    ~GameRecorder();
    GameRecorder(const GameRecorder&) = delete;
    GameRecorder& operator=(const GameRecorder&) = delete;

    // Creates the file. False when it cannot be made.
    bool Open(const std::string& path);
    // The end of start-up: the seed drawn, the key codes in force and the keys
    // down in the arrays filled at start.
    void Begin(uint32_t seed, const std::vector<int32_t>& keyCodes, const uint8_t keys[256]);
    // Frame `frame`'s keyboard snapshot (1 = down).
    void EndFrame(uint64_t frame, const uint8_t keys[256]);
    // The run ended after `frames` frames.
    void EndRun(uint64_t frames);
    // Closes the file. False when a write failed.
    bool Close();

private:
    void Write(const std::string& text);

    std::FILE* m_file = nullptr;
    bool m_failed = false;
    uint8_t m_keys[256] = {};
};

}  // namespace app
