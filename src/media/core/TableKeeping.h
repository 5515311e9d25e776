// A handle table's layout in a kept state (see HandleTable::Layout).
#pragma once

#include "media/core/HandleTable.h"
#include "media/core/StateArchive.h"

namespace media {

template <typename Entry>
void KeepLayout(StateArchive& archive, typename HandleTable<Entry>::Layout& layout, size_t capacity) {
    layout.checks.resize(archive.Count(layout.checks.size(), capacity));
    for (auto& [slot, check] : layout.checks) {
        archive.Value(slot);
        archive.Value(check);
    }
    layout.live.resize(archive.Count(layout.live.size(), capacity));
    for (uint32_t& slot : layout.live) archive.Value(slot);
    archive.Value(layout.next);
}

}  // namespace media
