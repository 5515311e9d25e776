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
    // Opens a recording made before to go on with it: the keys down at its last frame were `keys`.
    bool Resume(const std::string& path, const uint8_t keys[256]);
    // The end of start-up: the seed drawn, the key codes in force and the keys
    // down in the arrays filled at start; `more` (whole comment lines) follows the header.
    void Begin(uint32_t seed, const std::vector<int32_t>& keyCodes, const uint8_t keys[256],
               const std::string& more = "");
    // Frame `frame`'s keyboard snapshot (1 = down).
    void EndFrame(uint64_t frame, const uint8_t keys[256]);
    // Writes frame `frame`'s keys even when unchanged, so that the recording
    // reaches that frame however the run ends.
    void Mark(uint64_t frame);
    // The run ended after `frames` frames.
    void EndRun(uint64_t frames);
    // Closes the file. False when a write failed.
    bool Close();
    // A write has failed (a full disk): nothing more is written.
    bool Failed() const { return m_failed; }
    // Closes the file and removes it, when it is a plain file: after a failed
    // write it holds only part of the game.
    void Abandon();

private:
    void Write(const std::string& text);
    void WriteKeys(uint64_t frame);

    std::FILE* m_file = nullptr;
    std::string m_path;
    bool m_failed = false;
    uint8_t m_keys[256] = {};
    uint64_t m_lastLine = 0;  // the frame of the last key line
};

}  // namespace app
