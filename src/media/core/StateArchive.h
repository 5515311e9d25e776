// A run's state as bytes, written and read back by one and the same pass over
// it: each part of the state has one function that hands every value to the
// archive in turn; writing, the archive appends them, reading, it fills them in
// from the bytes. Values are stored as their bytes in the machine's order
// (little-endian on every machine the game runs on): the bytes belong to the
// build that wrote them, which the file around them says.
//
// Reading never goes past the bytes and never makes more than a count allows:
// bytes too short or a count too large fail the archive, and from then on every
// value read is zero or empty. The reader checks Ok() before using what it read.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace media {

class StateArchive {
public:
    // An archive that appends to Written().
    static StateArchive Writer() { return StateArchive(true, {}); }
    // An archive that reads `bytes` (which must outlive it).
    static StateArchive Reader(std::string_view bytes) { return StateArchive(false, bytes); }

    bool Writing() const { return m_writing; }
    bool Reading() const { return !m_writing; }
    // Reading: nothing was missing or out of bounds so far.
    bool Ok() const { return m_ok; }
    // Marks what was read as unusable (a value out of its range, say).
    void Fail() { m_ok = false; }
    // Reading: every byte has been read.
    bool AtEnd() const { return m_at == m_bytes.size(); }
    const std::string& Written() const { return m_out; }

    template <typename T>
    requires std::is_arithmetic_v<T> || std::is_enum_v<T>
    void Value(T& value) {
        if (m_writing) {
            m_out.append(reinterpret_cast<const char*>(&value), sizeof value);
        } else if (Take(sizeof value)) {
            std::memcpy(&value, m_bytes.data() + m_at - sizeof value, sizeof value);
        } else {
            value = T{};
        }
    }
    void Value(bool& value);
    // A string of at most `max` bytes.
    void Value(std::string& text, size_t max = 4096);
    // `size` raw bytes.
    void Bytes(void* data, size_t size);
    // A number of things to come, each of at least one byte: written as given;
    // read, at most `max` and no more than bytes are left (else the archive
    // fails and 0 comes back).
    size_t Count(size_t count, size_t max);
    // Writing: the value; reading: checks that the same value comes (else the archive fails).
    template <typename T>
    void Expect(T value) {
        T read = value;
        Value(read);
        if (read != value) Fail();
    }

private:
    StateArchive(bool writing, std::string_view bytes) : m_writing(writing), m_bytes(bytes) {}
    // Moves past `size` bytes to read; false (and failed) when they are not there.
    bool Take(size_t size);

    bool m_writing;
    bool m_ok = true;
    std::string_view m_bytes;
    size_t m_at = 0;
    std::string m_out;
};

}  // namespace media
