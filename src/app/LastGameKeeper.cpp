#include "app/LastGameKeeper.h"

#include <cstdio>
#include <cstring>
#include <ctime>
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
// While the game cannot be written, it is tried again on one frame in this many (five seconds).
constexpr uint64_t kRetryEvery = 300;

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
    if (ParseLastGame(recording, stamp, game, reason) != LastGameRead::Continue || game.frames < loop.frames)
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

bool LastGameKeeper::PrepareContinue(MainLoopOptions& loop, const std::vector<int32_t>& deviceKeys,
                                     const std::string& from) {
    m_asked = true;
    m_from = from;
    m_deviceKeys = deviceKeys;
    if (!m_enabled) return false;
    const std::string& source = from.empty() ? m_files.current : from;
    m_found = ReadLastGame(source, m_stamp, m_game, m_reason);
    if (m_found != LastGameRead::Continue) return false;
    m_catchUpTo = m_game.frames;
    media::SetRandomSeedOverride(m_game.header.seed);
    loop.keyCodes = m_game.header.keyCodes;
    KeysDown(m_game.header.downAtStart, m_keys);
    media::BeginCatchUp(m_keys);
    FindKeptState(source);
    return true;
}

void LastGameKeeper::FindKeptState(const std::string& recording) {
    const std::string path = KeptStatePath(recording);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return;
    std::string problem, reason;
    if (!media::ReadSmallFile(path, kMaxKeptStateBytes, m_keptFile, problem)) reason = "it " + problem;
    else if (ReadKeptStateFile(m_keptFile, m_stamp, m_game, m_keptFrame, m_keptState, reason)) return;
    m_keptFile.clear();
    media::LogLine("The state kept with the last game is not used (%s): the game is played again from its start",
                   reason.c_str());
}

void LastGameKeeper::BetweenFrames(LoopState& loop) {
    m_loop = &loop;
    if (loop.frames == 0) PutKeptState(loop);
    else if (m_catchUpTo == 0 && loop.frames % kKeepStateEvery == 0) KeepState(loop);
}

void LastGameKeeper::PutKeptState(LoopState& loop) {
    if (m_keptState.empty() || m_catchUpTo == 0 || !m_started) return;
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
    const std::vector<KeyCodesChange>& keyChanges = m_game.header.keyChanges;
    while (m_nextKeyChange < keyChanges.size() && keyChanges[m_nextKeyChange].frame <= m_keptFrame) ++m_nextKeyChange;
    KeysDown(*down, m_keys);
    media::SetCatchUpKeys(m_keys);
    if (m_keptFrame >= m_catchUpTo) GoLive(*loop.scene);
}

void LastGameKeeper::KeepState(const LoopState& loop) {
    if (!m_started || !m_inGame || m_keptAt == loop.frames) return;
    m_keptAt = loop.frames;
    // The recording reaches the frame the state is kept after (first on the disk, then the state).
    m_recorder.Mark(loop.frames);
    if (m_recorder.Failed() || m_behind) return;
    if (!m_pictures) m_pictures = PicturesDigest();
    const std::string file = KeptStateOfRun(loop, m_recorder.Text(), m_stamp, *m_pictures);
    std::string error;
    // Not flushed to the disk: the frame waits for no disk, and a state lost leaves the recording.
    if (!file.empty() && !WriteFileAtomically(m_statePath, file, error, Durability::Handed))
        media::LogLine("The game's state is not kept: %s", error.c_str());
}

void LastGameKeeper::Tell(const std::string& message) const {
    media::LogLine("%s", message.c_str());
    std::fprintf(stderr, "anagura: %s\n", message.c_str());
}

void LastGameKeeper::SetAside() {
    std::error_code ec;
    fs::remove(m_statePath, ec);
    fs::rename(m_files.current, m_files.bad, ec);
    if (ec) {
        // What is in the way (the last game set aside before, a folder of that name) goes first.
        std::error_code removed;
        fs::remove(m_files.bad, removed);
        ec.clear();
        fs::rename(m_files.current, m_files.bad, ec);
    }
    if (!ec) {
        Tell("cannot continue the last game: " + m_reason + "; it is kept as " + m_files.bad +
             " and a new game starts");
        return;
    }
    Tell("cannot continue the last game: " + m_reason + "; it cannot be set aside as " + m_files.bad + " (" +
         ec.message() + ") and a new game starts");
}

void LastGameKeeper::AfterStart(const KeyConfig& keys) {
    if (media::MediaStartFailed()) return;
    if (!m_enabled) {
        Tell("no home folder: the game is not kept and cannot be continued");
        return;
    }
    // Temporary copies left by a run killed while it wrote them.
    const std::time_t now = std::time(nullptr);
    for (const std::string& path : {m_files.current, m_files.ended, m_statePath})
        RemoveLeftoverTemporaries(path, now);
    m_started = true;
    if (!m_from.empty() && m_found != LastGameRead::Continue) {
        Tell("cannot continue " + m_from + ": " +
             (m_found == LastGameRead::Bad ? m_reason : std::string("it holds no game")) +
             "; the last game kept is left as it was and a new game starts");
    } else if (m_found == LastGameRead::Bad) {
        SetAside();
    } else if (m_asked && m_found == LastGameRead::Nothing) {
        Tell("there is no game to continue: a new game starts");
    }
    if (m_catchUpTo > 0) {
        const std::vector<int>& last =
            m_game.changes.empty() ? m_game.header.downAtStart : m_game.changes.back().codes;
        uint8_t lastKeys[256];
        KeysDown(last, lastKeys);
        m_inGame = true;
        m_recorder.Resume(RecordingPath(), ContinuedRecording(m_game, m_stamp), m_game.frames, lastKeys);
        WriteRecording();
        std::error_code ec;
        if (!m_from.empty()) {
            // A game from elsewhere is the last game now, with its own state or none.
            std::string error;
            if (m_keptFile.empty() || !WriteFileAtomically(m_statePath, m_keptFile, error))
                fs::remove(m_statePath, ec);
        }
        m_keptFile = std::string();
    } else {
        m_recorder.Open(RecordingPath());
        m_recorder.Begin(media::RandomSeed(), keys.keys, GetSystem()->keyboard->current, m_stamp);
        m_behind = !m_recorder.Error().empty();
    }
    KeepTrying(0);
}

bool LastGameKeeper::WriteRecording() {
    const std::string& path = RecordingPath();
    // Replaced whole; where its folder cannot be written, written over in place.
    m_behind =
        !(WriteFileAtomically(path, m_recorder.Text(), m_writeError) || RewriteFile(path, m_recorder.Text())) ||
        !m_recorder.Reopen(path);
    return !m_behind;
}

void LastGameKeeper::KeepTrying(uint64_t frame) {
    m_behind = m_behind || m_recorder.Failed();
    if (!m_behind) return;
    const std::string folder = fs::path(m_files.current).parent_path().string();
    if (!m_failureTold) {
        m_failureTold = true;
        Tell("cannot keep the game in " + folder + " (" +
             (m_recorder.Error().empty() ? std::string("it cannot be written") : m_recorder.Error()) +
             "): it is kept in memory, and written there as soon as it can be");
    }
    if (frame < m_retryAt) return;
    m_retryAt = frame + kRetryEvery;
    if (!WriteRecording()) return;
    Tell("the game is kept again in " + RecordingPath());
    std::error_code ec;
    fs::remove(m_inGame ? m_files.ended : m_files.current, ec);  // what was left under the other name
}

void LastGameKeeper::BeforeFrame(uint64_t frame) {
    if (m_catchUpTo == 0) return;
    const std::vector<KeyChange>& changes = m_game.changes;
    if (m_nextChange < changes.size() && changes[m_nextChange].frame == frame) {
        KeysDown(changes[m_nextChange++].codes, m_keys);
        media::SetCatchUpKeys(m_keys);
    }
    const std::vector<KeyCodesChange>& keyChanges = m_game.header.keyChanges;
    if (m_nextKeyChange < keyChanges.size() && keyChanges[m_nextKeyChange].frame == frame)
        ChangeKeys(keyChanges[m_nextKeyChange++].codes);
    if (frame % kProgressEvery == 0) media::ShowCatchUpProgress(static_cast<double>(frame) / m_catchUpTo);
}

void LastGameKeeper::KeysChanged(uint64_t frame, const std::vector<int32_t>& codes) {
    if (m_started && m_catchUpTo == 0) m_recorder.KeysFrom(frame, codes);
}

void LastGameKeeper::AfterFrame(uint64_t frame, CScene& scene) {
    if (m_catchUpTo != 0) {
        if (frame == m_catchUpTo) GoLive(scene);
        return;
    }
    if (!m_started) return;
    m_recorder.EndFrame(frame, GetSystem()->keyboard->current);
    const auto* game = dynamic_cast<const CGameScene*>(&scene);
    if (game) {
        // A line at the start of each day: a game cut off loses at most a day.
        if (game->gameData->player.day != m_day) m_recorder.Mark(frame);
        m_day = game->gameData->player.day;
    }
    NoteScene(game);
    KeepTrying(frame);
}

void LastGameKeeper::GoLive(CScene& scene) {
    media::EndCatchUp();
    m_catchUpTo = 0;
    media::TakeRecordedCalls();  // those of the frames caught up: a call trace holds the live frames'
    const auto* game = dynamic_cast<const CGameScene*>(&scene);
    if (game) m_day = game->gameData->player.day;
    if (!GameUnderWay(scene)) Tell("the last game was lost: there is no game to continue");
    // A game played with other keys goes on with this player's.
    if (!m_deviceKeys.empty() && KeyCodesAt(m_game, m_game.frames) != m_deviceKeys) {
        media::LogLine("The last game was played with other keys: it goes on with this player's");
        ChangeKeys(m_deviceKeys);
    }
    NoteScene(game);
}

// Names the recording after what the run is in: a game, or the title.
void LastGameKeeper::NoteScene(const CGameScene* game) {
    const bool inGame = game && GameUnderWay(*game);
    if (inGame == m_inGame || !m_started) return;
    const std::string from = RecordingPath();
    m_inGame = inGame;
    std::error_code ec;
    fs::remove(m_statePath, ec);  // a state kept of another game, or of none now
    if (m_behind) return;         // written under its new name when it can be
    fs::rename(from, RecordingPath(), ec);
    if (ec && WriteRecording()) fs::remove(from, ec);
}

void LastGameKeeper::EndOfRun(uint64_t frame) {
    if (!m_started || m_catchUpTo != 0) return;  // a catch-up cut short leaves the last game as it was
    if (m_loop) KeepState(*m_loop);
    m_recorder.EndRun(frame);
    const bool closed = m_recorder.Close();
    if ((!closed || m_behind) && !WriteRecording()) Tell("the game could not be kept: " + m_writeError);
}

}  // namespace app
