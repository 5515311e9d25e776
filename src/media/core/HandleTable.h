// Handle tables: a handle is a positive 32-bit integer made of a type tag
// (bits 27..30), the slot's check value (bits 16..26) and the slot index (bits 0..15).
// A freed slot's check value changes, so a stale handle of a reused slot is refused.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace media {

enum class HandleType : int32_t { Image = 0x1, Sound = 0x2, Font = 0x4 };

constexpr int32_t kHandleTypeShift = 27;
constexpr int32_t kHandleCheckShift = 16;
constexpr int32_t kHandleCheckMask = 0x7FF;  // 11 bits
constexpr int32_t kHandleSlotMask = 0xFFFF;

template <typename Entry>
class HandleTable {
public:
    HandleTable(HandleType type, int capacity) : m_type(type), m_slots(static_cast<size_t>(capacity)) {}

    // Stores the entry in a free slot; -1 when the table is full.
    int32_t Add(std::unique_ptr<Entry> entry) {
        for (size_t i = 0; i < m_slots.size(); ++i) {
            Slot& slot = m_slots[(m_next + i) % m_slots.size()];
            if (slot.entry) continue;
            size_t index = (m_next + i) % m_slots.size();
            m_next = (index + 1) % m_slots.size();
            slot.entry = std::move(entry);
            slot.livePosition = m_live.size();
            m_live.push_back(index);
            return MakeHandle(static_cast<int32_t>(index), slot.check);
        }
        return -1;
    }

    // The entry a valid handle names, or null.
    Entry* Find(int32_t handle) const {
        const Slot* slot = SlotOf(handle);
        return slot ? slot->entry.get() : nullptr;
    }

    // Takes the entry out; its slot gets a new check value. Null for a bad handle.
    std::unique_ptr<Entry> Remove(int32_t handle) {
        Slot* slot = const_cast<Slot*>(SlotOf(handle));
        if (!slot) return nullptr;
        slot->check = (slot->check + 1) & kHandleCheckMask;
        Unlist(*slot);
        return std::move(slot->entry);
    }

    // Visits every live entry with its handle (the live ones only, whatever the
    // capacity). The visit may remove the entry it is given.
    template <typename Fn>
    void ForEach(Fn fn) const {
        for (size_t k = m_live.size(); k-- > 0;) {
            if (k >= m_live.size()) continue;
            const size_t i = m_live[k];
            if (m_slots[i].entry) fn(MakeHandle(static_cast<int32_t>(i), m_slots[i].check), *m_slots[i].entry);
        }
    }

    // Frees every entry (slot check values move on, as for Remove).
    void Clear() {
        for (Slot& slot : m_slots) {
            if (!slot.entry) continue;
            slot.entry.reset();
            slot.check = (slot.check + 1) & kHandleCheckMask;
        }
        m_live.clear();
    }

    int Count() const { return static_cast<int>(m_live.size()); }

    // Where the entries lie, for keeping the table: the slots whose check value
    // has moved on, the slots in use in the order they were listed, and the
    // slot the next Add tries first.
    struct Layout {
        std::vector<std::pair<uint32_t, int32_t>> checks;  // slot, check value (slots not named: 1)
        std::vector<uint32_t> live;
        uint32_t next = 0;
    };
    Layout GetLayout() const {
        Layout layout;
        for (size_t i = 0; i < m_slots.size(); ++i)
            if (m_slots[i].check != 1) layout.checks.emplace_back(static_cast<uint32_t>(i), m_slots[i].check);
        layout.live.assign(m_live.begin(), m_live.end());
        layout.next = static_cast<uint32_t>(m_next);
        return layout;
    }
    // The live entries in the order of Layout::live.
    template <typename Fn>
    void ForEachListed(Fn fn) const {
        for (size_t i : m_live) fn(MakeHandle(static_cast<int32_t>(i), m_slots[i].check), *m_slots[i].entry);
    }
    // Makes this empty table hold `entries` (one for each slot of layout.live,
    // in that order) where `layout` says. False, with the table left empty,
    // when the layout does not fit the table.
    bool Rebuild(const Layout& layout, std::vector<std::unique_ptr<Entry>> entries) {
        if (!m_live.empty() || layout.live.size() != entries.size() || layout.next >= m_slots.size()) return false;
        for (const auto& [index, check] : layout.checks) {
            if (index >= m_slots.size() || check < 0 || check > kHandleCheckMask) return Abandon();
            m_slots[index].check = check;
        }
        for (size_t k = 0; k < entries.size(); ++k) {
            const uint32_t index = layout.live[k];
            if (index >= m_slots.size() || m_slots[index].entry || !entries[k]) return Abandon();
            m_slots[index].entry = std::move(entries[k]);
            m_slots[index].livePosition = m_live.size();
            m_live.push_back(index);
        }
        m_next = layout.next;
        return true;
    }

    int Capacity() const { return static_cast<int>(m_slots.size()); }

private:
    struct Slot {
        std::unique_ptr<Entry> entry;
        int32_t check = 1;
        size_t livePosition = 0;  // index in m_live while in use
    };

    // Takes a slot off the live list (swapping the last one into its place).
    void Unlist(Slot& slot) {
        const size_t pos = slot.livePosition;
        const size_t last = m_live.back();
        m_live[pos] = last;
        m_slots[last].livePosition = pos;
        m_live.pop_back();
    }

    // Rebuild's way out: everything as new.
    bool Abandon() {
        for (Slot& slot : m_slots) slot = Slot{};
        m_live.clear();
        m_next = 0;
        return false;
    }

    int32_t MakeHandle(int32_t index, int32_t check) const {
        return (static_cast<int32_t>(m_type) << kHandleTypeShift) | (check << kHandleCheckShift) | index;
    }

    const Slot* SlotOf(int32_t handle) const {
        if (handle < 0) return nullptr;
        if (((handle >> kHandleTypeShift) & 0xF) != static_cast<int32_t>(m_type)) return nullptr;
        size_t index = static_cast<size_t>(handle & kHandleSlotMask);
        if (index >= m_slots.size()) return nullptr;
        const Slot& slot = m_slots[index];
        if (!slot.entry || slot.check != ((handle >> kHandleCheckShift) & kHandleCheckMask)) return nullptr;
        return &slot;
    }

    HandleType m_type;
    std::vector<Slot> m_slots;
    std::vector<size_t> m_live;  // indices of the slots in use
    size_t m_next = 0;
};

}  // namespace media
