#include "media/core/CallTraceWriter.h"

#include "media/core/CallRecorder.h"
#include "media/core/OutputFile.h"

namespace media {

CallTraceWriter::~CallTraceWriter() { Close(); }

bool CallTraceWriter::Open(const std::string& path, uint64_t every) {
    Close();
    m_file = OpenOutputFile(path);
    if (!m_file) return false;
    m_every = every == 0 ? 1 : every;
    m_failed = false;
    m_held = false;
    StartCallRecorder();
    return true;
}

void CallTraceWriter::EndFrame(uint64_t frame) {
    if (!m_file) return;
    std::string calls = TakeRecordedCalls();
    m_held = frame % m_every != 0;
    if (m_held) {
        m_heldFrame = frame;
        m_heldCalls.swap(calls);
        return;
    }
    WriteFrame(frame, calls);
}

bool CallTraceWriter::Close() {
    if (!m_file) return !m_failed;
    StopCallRecorder();
    if (m_held) WriteFrame(m_heldFrame, m_heldCalls);
    m_held = false;
    if (std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    return !m_failed;
}

void CallTraceWriter::WriteFrame(uint64_t frame, const std::string& calls) {
    const std::string line = "{\"frame\":" + std::to_string(frame) + ",\"calls\":[" + calls + "]}\n";
    if (std::fwrite(line.data(), 1, line.size(), m_file) != line.size()) m_failed = true;
}

}  // namespace media
