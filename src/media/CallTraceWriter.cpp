#include "media/CallTraceWriter.h"

#include "media/CallRecorder.h"

namespace media {

CallTraceWriter::~CallTraceWriter() { Close(); }

bool CallTraceWriter::Open(const std::string& path, uint64_t every) {
    Close();
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) return false;
    m_every = every == 0 ? 1 : every;
    m_failed = false;
    StartCallRecorder();
    return true;
}

void CallTraceWriter::EndFrame(uint64_t frame, bool last) {
    if (!m_file) return;
    const std::string calls = TakeRecordedCalls();
    if (frame % m_every != 0 && !last) return;
    const std::string line = "{\"frame\":" + std::to_string(frame) + ",\"calls\":[" + calls + "]}\n";
    if (std::fwrite(line.data(), 1, line.size(), m_file) != line.size()) m_failed = true;
}

bool CallTraceWriter::Close() {
    if (!m_file) return !m_failed;
    StopCallRecorder();
    if (std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    return !m_failed;
}

}  // namespace media
