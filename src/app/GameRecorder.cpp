#include "app/GameRecorder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "app/RecordedGame.h"
#include "media/core/OutputFile.h"

namespace app {

namespace {

std::vector<int> DownKeys(const uint8_t keys[256]) {
    std::vector<int> down;
    for (int code = 1; code < 256; ++code)
        if (keys[code] == 1) down.push_back(code);
    return down;
}

}  // namespace

GameRecorder::~GameRecorder() { Close(); }

bool GameRecorder::Open(const std::string& path) {
    OpenInMemory();
    m_file = media::OpenOutputFile(path);
    m_path = path;
    if (!m_file) NoteError();
    return m_file != nullptr;
}

bool GameRecorder::Reopen(const std::string& path) {
    if (m_file) std::fclose(m_file);
    m_file = std::fopen(path.c_str(), "ab");
    m_path = path;
    m_failed = m_file == nullptr;
    if (m_failed) NoteError();
    else m_error.clear();
    return !m_failed;
}

void GameRecorder::NoteError() { m_error = std::strerror(errno ? errno : EIO); }

void GameRecorder::OpenInMemory() {
    Close();
    m_active = true;
    m_path.clear();
    m_failed = false;
    std::memset(m_keys, 0, sizeof m_keys);
    m_lastLine = 0;
    m_keysFrom.clear();
    m_error.clear();
    m_text.clear();
}

bool GameRecorder::Resume(const std::string& path, const std::string& text, uint64_t last, const uint8_t keys[256]) {
    Close();
    m_active = true;
    m_file = std::fopen(path.c_str(), "ab");
    m_path = path;
    m_failed = false;
    std::memcpy(m_keys, keys, sizeof m_keys);
    m_lastLine = last;
    m_text = text;
    m_error.clear();
    if (!m_file) NoteError();
    return m_file != nullptr;
}

void GameRecorder::Begin(uint32_t seed, const std::vector<int32_t>& keyCodes, const uint8_t keys[256],
                         const std::string& more) {
    if (!m_active) return;
    std::memcpy(m_keys, keys, sizeof m_keys);
    Write(RecordedGameHeader(seed, keyCodes, DownKeys(keys)) + more);
}

void GameRecorder::KeysFrom(uint64_t frame, const std::vector<int32_t>& codes) {
    if (m_active) m_keysFrom = KeysFromLine(frame, codes);
}

void GameRecorder::EndFrame(uint64_t frame, const uint8_t keys[256]) {
    if (!m_active || (std::memcmp(m_keys, keys, sizeof m_keys) == 0 && m_keysFrom.empty())) return;
    std::memcpy(m_keys, keys, sizeof m_keys);
    WriteKeys(frame);
}

void GameRecorder::Mark(uint64_t frame) {
    if (m_active && m_lastLine != frame) WriteKeys(frame);
}

void GameRecorder::WriteKeys(uint64_t frame) {
    std::string line = std::to_string(frame);
    for (int code : DownKeys(m_keys)) line += " " + std::to_string(code);
    Write(m_keysFrom + line + "\n");  // one write: a change of the key codes never without its frame's line
    m_keysFrom.clear();
    m_lastLine = frame;
}

void GameRecorder::EndRun(uint64_t frames) {
    if (m_active) Write("# frames " + std::to_string(frames) + "\n");
}

bool GameRecorder::Close() {
    m_active = false;
    if (m_file && std::fclose(m_file) != 0) {
        m_failed = true;
        NoteError();
    }
    m_file = nullptr;
    return !m_failed;
}

void GameRecorder::Abandon() {
    m_active = false;
    if (!m_file) return;
    struct stat info;
    const bool plain = fstat(fileno(m_file), &info) == 0 && S_ISREG(info.st_mode);
    std::fclose(m_file);
    m_file = nullptr;
    if (plain) std::remove(m_path.c_str());
}

void GameRecorder::Write(const std::string& text) {
    m_text += text;
    if (!m_file || m_failed) return;
    if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size() || std::fflush(m_file) != 0) {
        m_failed = true;
        NoteError();
    }
}

}  // namespace app
