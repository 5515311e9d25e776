#include "app/LastGameKeeper.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/AtomicFile.h"
#include "app/GameOptions.h"
#include "app/KeptState.h"
#include "app/MainLoop.h"
#include "app/RunState.h"
#include "app/SystemContext.h"
#include "app/input/KeyConfig.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "media/core/CallRecorder.h"
#include "media/core/CatchUp.h"
#include "media/core/Log.h"
#include "media/core/Random.h"
#include "media/core/SmallFile.h"
#include "media/core/StartFailure.h"

namespace app {

namespace fs = std::filesystem;

namespace {

// The progress bar is brought up to date on one frame in this many.
constexpr uint64_t kProgressEvery = 1024;
// The state is kept after one frame in this many of live play (a minute):
// continuing after a kill plays at most that many frames again.
constexpr uint64_t kKeepStateEvery = 3600;
// A kept state is far below this.
constexpr size_t kMaxKeptStateBytes = 256u << 20;

constexpr int kEscape = 1;

void KeysDown(const std::vector<int>& codes, uint8_t keys[256]) {
    std::memset(keys, 0, 256);
    for (int code : codes) keys[code] = 1;
}

}  // namespace

bool GameUnderWay(const CScene& scene) {
    const auto* game = dynamic_cast<const CGameScene*>(&scene);
    return game && game->state != kStateDefeat && game->state != kStateLeave && game->pendingState != kStateLeave;
}

std::string KeptStateOfRun(const LoopState& loop, const std::string& recording, const std::string& stamp,
                           uint64_t pictures) {
    ContinuedGame game;
    std::string reason;
    if (ParseLastGame(recording, stamp, loop.keyConfig->keys, game, reason) != LastGameRead::Continue ||
        game.frames < loop.frames)
        return {};
    return KeptStateFile(stamp, pictures, loop.frames, RecordingDigest(game, loop.frames), KeepRunState(loop));
}

LastGameKeeper::LastGameKeeper(std::string folder)
    : m_enabled(!folder.empty()),
      m_files(LastGameFilesIn(folder)),
      m_stamp(LastGameStamp(GameVersion())),
      m_statePath(KeptStatePath(m_files.current)) {
    std::error_code ec;
    if (m_enabled) fs::create_directories(folder, ec);
}

bool LastGameKeeper::PrepareContinue(MainLoopOptions& loop, const std::vector<int32_t>& keyCodes) {
    m_asked = true;
    if (!m_enabled) return false;
    m_found = ReadLastGame(m_files.current, m_stamp, keyCodes, m_game, m_reason);
    if (m_found != LastGameRead::Continue) return false;
    m_catchUpTo = m_game.frames;
    media::SetRandomSeedOverride(m_game.header.seed);
    loop.keyCodes = m_game.header.keyCodes;
    KeysDown(m_game.header.downAtStart, m_keys);
    media::BeginCatchUp(m_keys);
    FindKeptState();
    return true;
}

void LastGameKeeper::FindKeptState() {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(m_statePath, ec))) return;
    std::string bytes, problem, reason;
    if (!media::ReadSmallFile(m_statePath, kMaxKeptStateBytes, bytes, problem)) reason = "it " + problem;
    else if (ReadKeptStateFile(bytes, m_stamp, m_game, m_keptFrame, m_keptState, reason)) return;
    media::LogLine("The state kept with the last game is not used (%s): the game is played again from its start",
                   reason.c_str());
}

void LastGameKeeper::BetweenFrames(LoopState& loop) {
    m_loop = &loop;
    if (loop.frames == 0) PutKeptState(loop);
    else if (m_catchUpTo == 0 && loop.frames % kKeepStateEvery == 0) KeepState(loop);
}

void LastGameKeeper::PutKeptState(LoopState& loop) {
    if (m_keptState.empty() || m_catchUpTo == 0) return;
    std::string reason;
    const bool put = PutRunState(m_keptState, loop, reason);
    m_keptState = std::string();
    if (!put) {
        media::LogLine(
            "The state kept with the last game cannot be put back (%s): the game is played again "
            "from its start",
            reason.c_str());
        return;
    }
    media::LogLine("The last game goes on from the state kept after frame %llu",
                   static_cast<unsigned long long>(m_keptFrame));
    // Escape only ends a run: the keys of a game caught up are without it.
    KeyboardState& keyboard = *GetSystem()->keyboard;
    keyboard.current[kEscape] = keyboard.previous[kEscape] = 0;
    const std::vector<KeyChange>& changes = m_game.changes;
    const std::vector<int>* down = &m_game.header.downAtStart;
    for (; m_nextChange < changes.size() && changes[m_nextChange].frame <= m_keptFrame; ++m_nextChange)
        down = &changes[m_nextChange].codes;
    KeysDown(*down, m_keys);
    media::SetCatchUpKeys(m_keys);
    if (m_keptFrame >= m_catchUpTo) GoLive(*loop.scene);
}

void LastGameKeeper::KeepState(const LoopState& loop) {
    if (!m_recording || !m_inGame || m_keptAt == loop.frames) return;
    m_keptAt = loop.frames;
    // The recording reaches the frame the state is kept after.
    m_recorder.Mark(loop.frames);
    if (m_recorder.Failed()) return;
    if (!m_pictures) m_pictures = PicturesDigest();
    const std::string file = KeptStateOfRun(loop, m_recorder.Text(), m_stamp, *m_pictures);
    std::string error;
    if (file.empty()) return;
    if (!WriteFileAtomically(m_statePath, file, error))
        media::LogLine("The game's state is not kept: %s", error.c_str());
}

void LastGameKeeper::Tell(const std::string& message) const {
    media::LogLine("%s", message.c_str());
    std::fprintf(stderr, "anagura: %s\n", message.c_str());
}

void LastGameKeeper::AfterStart(const KeyConfig& keys) {
    if (media::MediaStartFailed()) return;
    if (!m_enabled) {
        Tell("no home folder: the game is not kept and cannot be continued");
        return;
    }
    std::error_code ec;
    if (m_found == LastGameRead::Bad) {
        Tell("cannot continue the last game: " + m_reason + "; it is kept as " + m_files.bad +
             " and a new game starts");
        fs::rename(m_files.current, m_files.bad, ec);
    } else if (m_asked && m_found == LastGameRead::Nothing) {
        Tell("there is no game to continue: a new game starts");
    }
    if (m_catchUpTo > 0) {
        std::string error;
        const std::vector<int>& last =
            m_game.changes.empty() ? m_game.header.downAtStart : m_game.changes.back().codes;
        uint8_t lastKeys[256];
        KeysDown(last, lastKeys);
        const std::string text = ContinuedRecording(m_game, m_stamp);
        m_recording = WriteFileAtomically(m_files.current, text, error) &&
                      m_recorder.Resume(m_files.current, text, m_game.frames, lastKeys);
        m_inGame = true;
    } else {
        m_recording = m_recorder.Open(m_files.ended);
        m_recorder.Begin(media::RandomSeed(), keys.keys, GetSystem()->keyboard->current, m_stamp);
    }
    if (!m_recording) Tell("cannot record the game in " + m_files.current + ": it cannot be continued");
}

void LastGameKeeper::BeforeFrame(uint64_t frame) {
    if (m_catchUpTo == 0) return;
    const std::vector<KeyChange>& changes = m_game.changes;
    if (m_nextChange < changes.size() && changes[m_nextChange].frame == frame) {
        KeysDown(changes[m_nextChange++].codes, m_keys);
        media::SetCatchUpKeys(m_keys);
    }
    if (frame % kProgressEvery == 0) media::ShowCatchUpProgress(static_cast<double>(frame) / m_catchUpTo);
}

void LastGameKeeper::AfterFrame(uint64_t frame, CScene& scene) {
    if (m_catchUpTo != 0) {
        if (frame == m_catchUpTo) GoLive(scene);
        return;
    }
    if (!m_recording) return;
    m_recorder.EndFrame(frame, GetSystem()->keyboard->current);
    const auto* game = dynamic_cast<const CGameScene*>(&scene);
    if (game) {
        // A line at the start of each day: a game cut off loses at most a day.
        if (game->gameData->player.day != m_day) m_recorder.Mark(frame);
        m_day = game->gameData->player.day;
    }
    NoteScene(game);
}

void LastGameKeeper::GoLive(CScene& scene) {
    media::EndCatchUp();
    m_catchUpTo = 0;
    media::TakeRecordedCalls();  // those of the frames caught up: a call trace holds the live frames'
    const auto* game = dynamic_cast<const CGameScene*>(&scene);
    if (game) m_day = game->gameData->player.day;
    if (!GameUnderWay(scene)) Tell("the last game was lost: there is no game to continue");
    NoteScene(game);
}

// Names the recording after what the run is in: a game, or the title.
void LastGameKeeper::NoteScene(const CGameScene* game) {
    const bool inGame = game && GameUnderWay(*game);
    if (inGame == m_inGame || !m_recording) return;
    m_inGame = inGame;
    std::error_code ec;
    if (inGame) fs::rename(m_files.ended, m_files.current, ec);
    else fs::rename(m_files.current, m_files.ended, ec);
    fs::remove(m_statePath, ec);  // a state kept of another game, or of none now
}

void LastGameKeeper::EndOfRun(uint64_t frame) {
    if (!m_recording || m_catchUpTo != 0) return;
    if (m_loop) KeepState(*m_loop);
    m_recorder.EndRun(frame);
    if (!m_recorder.Close()) Tell("cannot write the recording of the game");
}

}  // namespace app
