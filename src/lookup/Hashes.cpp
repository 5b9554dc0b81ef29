// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hashes.h"

std::uint32_t THash::hashOf(std::string_view key) {
    std::uint32_t h = 0x12345670;
    for (const unsigned char c : key) {
        h = (h << 4) + c;
        const std::uint32_t g = h & 0xF0000000u;
        if (g != 0) h = h | (g >> 24) | g;
    }
    return h;
}

void THash::clear() {
    for (std::vector<Entry>& bucket : m_buckets) bucket.clear();
    m_slotCount = 0;
}

int THash::findSlot(std::string_view key) const {
    const std::uint32_t hash = hashOf(key);
    for (const Entry& entry : m_buckets[hash % kBucketCount])
        if (entry.hash == hash && entry.key == key) return entry.slot;
    return -1;
}

int THash::slotFor(std::string_view key) {
    if (key.empty()) throw EHashInvalidKeyError();
    if (const int slot = findSlot(key); slot >= 0) return slot;
    const std::uint32_t hash = hashOf(key);
    m_buckets[hash % kBucketCount].push_back({hash, m_slotCount, std::string(key)});
    return m_slotCount++;
}

void TIntegerHash::set(std::string_view key, int value) {
    const auto slot = static_cast<std::size_t>(slotFor(key));
    if (slot >= m_values.size()) m_values.resize(slot + 1);
    m_values[slot] = value;
}

int TIntegerHash::find(std::string_view key) const {
    const int slot = findSlot(key);
    return slot >= 0 ? m_values[static_cast<std::size_t>(slot)] : kNotFound;
}

void TIntegerHash::clear() {
    THash::clear();
    m_values.clear();
}
