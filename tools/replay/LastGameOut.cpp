#include "replay/LastGameOut.h"

#include "app/AtomicFile.h"
#include "app/GameOptions.h"
#include "app/KeptState.h"
#include "app/LastGame.h"
#include "app/LastGameKeeper.h"
#include "app/MainLoop.h"
#include "app/SystemContext.h"
#include "app/input/KeyConfig.h"
#include "media/core/Random.h"

namespace replay {

void LastGameOut::EndOfStart(const KeyConfig& keys) {
    if (m_path.empty()) return;
    m_stamp = app::LastGameStamp(app::GameVersion());
    m_recorder.OpenInMemory();
    m_recorder.Begin(media::RandomSeed(), keys.keys, GetSystem()->keyboard->current, m_stamp);
}

void LastGameOut::KeysChanged(uint64_t frame, const std::vector<int32_t>& codes) {
    if (!m_path.empty()) m_recorder.KeysFrom(frame, codes);
}

void LastGameOut::EndOfFrame(uint64_t frame) {
    if (!m_path.empty()) m_recorder.EndFrame(frame, GetSystem()->keyboard->current);
}

bool LastGameOut::EndOfRun(uint64_t frame, const CScene& scene, std::string& error) {
    if (m_path.empty()) return true;
    if (!app::GameUnderWay(scene) || !m_loop) {
        error = "no game is under way after frame " + std::to_string(frame) + ": there is no last game to keep";
        return false;
    }
    m_recorder.Mark(frame);
    const std::string state = app::KeptStateOfRun(*m_loop, m_recorder.Text(), m_stamp, app::PicturesDigest());
    m_recorder.EndRun(frame);
    if (state.empty()) {
        error = "the state after frame " + std::to_string(frame) + " cannot be kept";
        return false;
    }
    return app::WriteFileAtomically(m_path, m_recorder.Text(), error) &&
           app::WriteFileAtomically(app::KeptStatePath(m_path), state, error);
}

}  // namespace replay
