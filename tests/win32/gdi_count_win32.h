// Counts the live GDI objects of this process by walking the shared GDI handle table that the
// process environment block points at (GetGuiResources is a stub under Wine).
#pragma once

#include <windows.h>

#include <cstdint>

namespace quorelle::testing {

// x64 layout: PEB at TEB + 0x60, the table pointer at PEB + 0xF8, 65,536 entries of 24 bytes,
// the object type in the byte at offset 14 of an entry (zero for a free entry).
inline int CountLiveGdiObjects() {
    constexpr size_t kEntries = 65536;
    constexpr size_t kEntrySize = 24;
    constexpr size_t kTypeOffset = 14;
    const uint8_t* peb = nullptr;
    asm("movq %%gs:0x60, %0" : "=r"(peb));  // the PEB pointer of the thread's TEB
    const auto* table = *reinterpret_cast<const uint8_t* const*>(peb + 0xF8);
    if (table == nullptr) return -1;
    int live = 0;
    for (size_t i = 0; i < kEntries; ++i) {
        if (table[i * kEntrySize + kTypeOffset] != 0) ++live;
    }
    return live;
}

}  // namespace quorelle::testing
