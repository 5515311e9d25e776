// Writes a recorded game (RecordedGame.h) as the game runs: the header at the
// end of start-up, a line for each frame whose keyboard snapshot differs from
// the one before, and the number of frames when the run ends. Each line is
// handed to the system as it is written, so a game that ends abruptly keeps
// what it recorded; all of it is kept in memory too (Text()).
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

    // Creates the file and starts recording. False when the file cannot be
    // made (the game is recorded in memory only).
    bool Open(const std::string& path);
    // Starts recording in memory only.
    void OpenInMemory();
    // Opens a recording made before, whose bytes are `text`, to go on with it:
    // its last line is of frame `last`, with the keys `keys` down.
    bool Resume(const std::string& path, const std::string& text, uint64_t last, const uint8_t keys[256]);
    // The end of start-up: the seed drawn, the key codes in force and the keys
    // down in the arrays filled at start; `more` (whole comment lines) follows the header.
    void Begin(uint32_t seed, const std::vector<int32_t>& keyCodes, const uint8_t keys[256],
               const std::string& more = "");
    // The key codes in force change from frame `frame` on: noted with that
    // frame's line (written whatever the keys down), at its end.
    void KeysFrom(uint64_t frame, const std::vector<int32_t>& codes);
    // Frame `frame`'s keyboard snapshot (1 = down).
    void EndFrame(uint64_t frame, const uint8_t keys[256]);
    // Writes frame `frame`'s keys even when unchanged, so that the recording
    // reaches that frame however the run ends.
    void Mark(uint64_t frame);
    // The run ended after `frames` frames.
    void EndRun(uint64_t frames);
    // Closes the file. False when a write failed.
    bool Close();
    // A write has failed (a full disk): nothing more is written to the file,
    // the game goes on being recorded in memory.
    bool Failed() const { return m_failed; }
    // Why the file could not be made or written ("" when it could).
    const std::string& Error() const { return m_error; }
    // Goes on appending to the file at `path`, which holds Text() whole (written
    // again by the caller); false when it cannot be opened.
    bool Reopen(const std::string& path);
    // Everything recorded since Open (or given to Resume), written or not.
    const std::string& Text() const { return m_text; }
    // Closes the file and removes it, when it is a plain file: after a failed
    // write it holds only part of the game. Nothing more is recorded.
    void Abandon();

private:
    void Write(const std::string& text);
    void NoteError();
    void WriteKeys(uint64_t frame);

    bool m_active = false;  // recording (into memory, and into the file when there is one)
    std::FILE* m_file = nullptr;
    std::string m_path;
    bool m_failed = false;
    uint8_t m_keys[256] = {};
    uint64_t m_lastLine = 0;  // the frame of the last key line
    std::string m_keysFrom;
    std::string m_error;  // a change of the key codes to write with the frame's line
    std::string m_text;
};

}  // namespace app
