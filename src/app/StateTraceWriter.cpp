#include "app/StateTraceWriter.h"

#include "app/StateTrace.h"
#include "media/core/OutputFile.h"

namespace app {

namespace {
constexpr size_t kFlushBytes = 1 << 20;
}

StateTraceWriter::~StateTraceWriter() { Close(); }

bool StateTraceWriter::Open(const std::string& path, uint64_t every, bool live) {
    Close();
    m_file = media::OpenOutputFile(path);
    if (!m_file) return false;
    m_every = every == 0 ? 1 : every;
    m_live = live;
    m_lastTraced = false;
    m_failed = false;
    return true;
}

void StateTraceWriter::EndFrame(uint64_t frame, CScene& scene) {
    if (!m_file) return;
    m_lastTraced = frame % m_every == 0;
    if (m_lastTraced) Append(frame, scene);
}

void StateTraceWriter::EndRun(uint64_t frame, CScene& scene) {
    if (!m_file || m_lastTraced) return;
    Append(frame, scene);
    m_lastTraced = true;
}

bool StateTraceWriter::Close() {
    if (!m_file) return !m_failed;
    Flush();
    if (std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    return !m_failed;
}

void StateTraceWriter::Append(uint64_t frame, CScene& scene) {
    AppendTrace(m_buffer, frame, scene);
    if (m_live || m_buffer.size() >= kFlushBytes) Flush();
}

void StateTraceWriter::Flush() {
    if (!m_buffer.empty() && std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size())
        m_failed = true;
    if (m_live && std::fflush(m_file) != 0) m_failed = true;
    m_buffer.clear();
}

}  // namespace app
