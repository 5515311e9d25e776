#include "media/core/StateArchive.h"

namespace media {

bool StateArchive::Take(size_t size) {
    if (!m_ok || m_bytes.size() - m_at < size) {
        m_ok = false;
        return false;
    }
    m_at += size;
    return true;
}

void StateArchive::Value(bool& value) {
    uint8_t byte = value ? 1 : 0;
    Value(byte);
    if (byte > 1) Fail();
    value = byte == 1;
}

void StateArchive::Value(std::string& text, size_t max) {
    const size_t size = Count(text.size(), max);
    if (m_writing) {
        m_out += text;
    } else if (Take(size)) {
        text.assign(m_bytes.data() + m_at - size, size);
    } else {
        text.clear();
    }
}

void StateArchive::Bytes(void* data, size_t size) {
    if (m_writing) m_out.append(static_cast<const char*>(data), size);
    else if (Take(size)) std::memcpy(data, m_bytes.data() + m_at - size, size);
    else if (size > 0) std::memset(data, 0, size);
}

size_t StateArchive::Count(size_t count, size_t max) {
    uint64_t value = count;
    Value(value);
    // Every thing counted takes at least a byte: more than there are bytes left cannot come.
    if (value > max || (!m_writing && value > m_bytes.size() - m_at)) {
        Fail();
        return 0;
    }
    return m_ok ? static_cast<size_t>(value) : 0;
}

}  // namespace media
