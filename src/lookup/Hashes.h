// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Thrown when a key to be stored is the empty text.
class EHashInvalidKeyError : public std::invalid_argument {
public:
    EHashInvalidKeyError() : std::invalid_argument("Key cannot be an empty string") {}
};

// A table of text keys in 128 buckets, each key owning a value slot that a derived table
// stores its values by. Keys compare exactly, case included. No operation removes a single
// key, so slots are handed out in order and given back all at once by clear.
class THash {
public:
    static constexpr std::uint32_t kBucketCount = 128;

    static std::uint32_t hashOf(std::string_view key);

    int count() const { return m_slotCount; }
    void clear();

protected:
    // The key's slot, or -1 when the key is absent.
    int findSlot(std::string_view key) const;
    // The key's slot, a new one for a new key; throws EHashInvalidKeyError for an empty key.
    int slotFor(std::string_view key);

private:
    struct Entry {
        std::uint32_t hash;
        int slot;
        std::string key;
    };

    std::array<std::vector<Entry>, kBucketCount> m_buckets;
    int m_slotCount = 0;
};

// The stock code index: stock code to its row in the stock directory table.
class TIntegerHash : public THash {
public:
    // The answer for a key that was never set; callers check it against their grid.
    static constexpr int kNotFound = 999999;

    // Replaces the value of a key already present.
    void set(std::string_view key, int value);
    // kNotFound for an absent key, the empty key included.
    int find(std::string_view key) const;
    void clear();

private:
    std::vector<int> m_values;  // by slot
};
