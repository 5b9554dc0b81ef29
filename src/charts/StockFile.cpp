// SPDX-License-Identifier: GPL-3.0-or-later
#include "StockFile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "FileIo.h"

namespace {

constexpr int kMaxPositionBack = 20000;

// The key is the record's first two bytes as a little-endian number, whatever the host.
std::uint16_t recordKey(const std::uint8_t* record) {
    return static_cast<std::uint16_t>(record[0] | (record[1] << 8));
}

bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string trimmed(const std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

}  // namespace

DayRecord readDayRecord(const std::uint8_t* address) {
    DayRecord record;
    std::memcpy(&record, address, sizeof record);
    return record;
}

int TBaseDataFile::GetCount() const {
    if (!m_image) return 0;
    const long long header = GetHeaderSize();
    const long long size = GetRecordSize();
    const long long body = static_cast<long long>(m_image->size()) - header;
    if (size <= 0 || body <= 0) return 0;
    return static_cast<int>(std::min<long long>(body / size, INT_MAX));
}

const std::uint8_t* TBaseDataFile::GetMemory() const {
    return m_image ? reinterpret_cast<const std::uint8_t*>(m_image->data()) : nullptr;
}

const std::uint8_t* TBaseDataFile::GetRecord(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return RecordAddress(index);
}

const std::uint8_t* TBaseDataFile::RecordAddress(int index) const { return addressOf(index); }

const std::uint8_t* TBaseDataFile::addressOf(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return GetMemory() + GetHeaderSize() + static_cast<std::size_t>(index) * static_cast<std::size_t>(GetRecordSize());
}

Status TBaseDataFile::LoadFromFile(const std::string& name) {
    m_image.reset();
    const std::filesystem::path path(name);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return Status::ok();
    std::string bytes;
    const Status status = fileio::readFile(path, bytes);
    if (!status.isOk()) return status;
    m_image = std::move(bytes);
    return Status::ok();
}

Status TBaseDataFile::SaveToFile(const std::string& name) const {
    if (!m_image) return Status::ok();
    return fileio::writeFileAtomically(std::filesystem::path(name), *m_image);
}

int TBaseDataFile::GetHeaderSize() const { return 0; }

TDataFile::TDataFile(const std::string& name) : m_fileName(trimmed(name)) {
    m_loadStatus = LoadFromFile(GetFileName());
}

const std::uint8_t* TDataFile::RecordAddress(int index) const {
    const int count = GetCount();
    if (count == 0) return nullptr;
    // A floored modulo, so a negative position wraps into the image instead of before it.
    long long position = (static_cast<long long>(index) + GetRingStart()) % count;
    if (position < 0) position += count;
    return addressOf(static_cast<int>(position));
}

std::string TDataFile::GetFileName() const { return m_fileName; }

int TDataFile::GetRecordSize() const { return static_cast<int>(sizeof(DayRecord)); }

const std::uint8_t* TDataFile::FindByKey(std::uint16_t key, int lo, int hi) const {
    const int index = SearchIndex(key, lo, hi);
    return index < 0 ? nullptr : GetRecord(index);
}

int TDataFile::GetRingStart() const { return 0; }

std::optional<DayRecord> TDataFile::Lookup(int value) const {
    const std::uint8_t* record = nullptr;
    if (value >= 0 && value <= kMaxPositionBack) {
        record = GetRecord(GetCount() - value - 1);
    } else if (value >= INT16_MIN && value <= UINT16_MAX) {
        record = FindByKey(static_cast<std::uint16_t>(value), 0, GetCount() - 1);
    }
    if (!record) return std::nullopt;
    return readDayRecord(record);
}

std::string TDataFile::GetName() const { return m_fileName; }

Status TDataFile::Save() const { return SaveToFile(m_fileName); }

int TDataFile::IndexOfKey(std::uint16_t key) const { return SearchIndex(key, 0, GetCount() - 1); }

int TDataFile::SearchIndex(std::uint16_t key, int lo, int hi) const {
    // A caller's range beyond the records would otherwise make the search read outside them.
    return searchRange(key, std::max(lo, 0), std::min(hi, GetCount() - 1));
}

int TDataFile::searchRange(std::uint16_t key, int lo, int hi) const {
    if (hi < lo) return -1;
    const int mid = lo + (hi - lo) / 2;
    const std::uint16_t found = recordKey(GetRecord(mid));
    if (found == key) return mid;
    if (found > key) return searchRange(key, lo, mid - 1);
    return searchRange(key, mid + 1, hi);
}

void TDataFile::GetCloseArray(TArrayOfSingle& values) const {
    const int count = GetCount();
    values.assign(static_cast<std::size_t>(count), 0.0f);
    for (int i = 0; i < count; ++i) values[static_cast<std::size_t>(i)] = readDayRecord(GetRecord(i)).Close;
}

void TDataFile::GetVolumeArray(TArrayOfSingle& values) const {
    const int count = GetCount();
    values.assign(static_cast<std::size_t>(count), 0.0f);
    for (int i = 0; i < count; ++i) values[static_cast<std::size_t>(i)] = readDayRecord(GetRecord(i)).Volume;
}

void TDataFile::GetCloseDiffArray(TArrayOfSingle& values) const {
    GetCloseArray(values);
    for (std::size_t i = values.size(); i-- > 1;) values[i] -= values[i - 1];
    if (!values.empty()) values[0] = 0.0f;
}
