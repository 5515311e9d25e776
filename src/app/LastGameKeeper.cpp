#include "app/LastGameKeeper.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/AtomicFile.h"
#include "app/GameOptions.h"
#include "app/MainLoop.h"
#include "app/SystemContext.h"
#include "app/input/KeyConfig.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "media/core/CatchUp.h"
#include "media/core/Log.h"
#include "media/core/Random.h"
#include "media/core/StartFailure.h"

namespace app {

namespace fs = std::filesystem;

namespace {

// The progress bar is brought up to date on one frame in this many.
constexpr uint64_t kProgressEvery = 1024;

void KeysDown(const std::vector<int>& codes, uint8_t keys[256]) {
    std::memset(keys, 0, 256);
    for (int code : codes) keys[code] = 1;
}

// A game that is lost (or gone) leaves nothing to continue.
bool GameUnderWay(const CGameScene* game) {
    return game && game->state != kStateDefeat && game->state != kStateLeave && game->pendingState != kStateLeave;
}

}  // namespace

LastGameKeeper::LastGameKeeper(std::string folder)
    : m_enabled(!folder.empty()), m_files(LastGameFilesIn(folder)), m_stamp(LastGameStamp(GameVersion())) {
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
    return true;
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
        m_recording = WriteFileAtomically(m_files.current, ContinuedRecording(m_game, m_stamp), error) &&
                      m_recorder.Resume(m_files.current, lastKeys);
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
    const auto* game = dynamic_cast<const CGameScene*>(&scene);
    if (game) m_day = game->gameData->player.day;
    if (!GameUnderWay(game)) Tell("the last game was lost: there is no game to continue");
    NoteScene(game);
}

// Names the recording after what the run is in: a game, or the title.
void LastGameKeeper::NoteScene(const CGameScene* game) {
    const bool inGame = GameUnderWay(game);
    if (inGame == m_inGame || !m_recording) return;
    m_inGame = inGame;
    std::error_code ec;
    if (inGame) fs::rename(m_files.ended, m_files.current, ec);
    else fs::rename(m_files.current, m_files.ended, ec);
}

void LastGameKeeper::EndOfRun(uint64_t frame) {
    if (!m_recording || m_catchUpTo != 0) return;
    m_recorder.EndRun(frame);
    if (!m_recorder.Close()) Tell("cannot write the recording of the game");
}

}  // namespace app
