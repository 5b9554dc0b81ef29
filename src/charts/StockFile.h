// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Status.h"

// A day file (data/<code>.dat) is a headerless array of 52-byte little-endian DayRecords,
// oldest first; bytes after the last whole record are ignored.

using TArrayOfSingle = std::vector<float>;
using TArrayOfInteger = std::vector<std::int32_t>;

#pragma pack(push, 1)
struct DayRecord {
    double Date;  // whole days since 1899-12-30
    float Open;
    float High;
    float Low;
    float Close;
    float Volume;
    float PrevClose;
    float ChangePct;
    float Amplitude;
    float Amount;
    std::uint32_t Reserved;
    float FloatShares;
};
static_assert(sizeof(DayRecord) == 52);
#pragma pack(pop)

// Copies the record at `address` out of a file image, which need not be aligned.
DayRecord readDayRecord(const std::uint8_t* address);

// A file of fixed-size records held wholly in memory. Addresses handed out point into the
// image and stay valid until the next LoadFromFile or the object's end; nullptr means
// "no record". Objects are shared through std::shared_ptr; nothing here is thread-safe.
class IBaseDataFile {
public:
    virtual ~IBaseDataFile() = default;
    virtual int GetCount() const = 0;
    virtual std::string GetFileName() const = 0;
    virtual const std::uint8_t* GetMemory() const = 0;
    virtual int GetHeaderSize() const = 0;
    virtual const std::uint8_t* GetRecord(int index) const = 0;
    virtual int GetRecordSize() const = 0;
    virtual Status LoadFromFile(const std::string& name) = 0;
    virtual Status SaveToFile(const std::string& name) const = 0;
    virtual const std::uint8_t* RecordAddress(int index) const = 0;
};

// The day-file view used by the charts: positions counted back from the newest record,
// whole-column arrays (element 0 = oldest record) and a search on the 16-bit record key.
class IDataFile : public virtual IBaseDataFile {
public:
    virtual std::optional<DayRecord> Lookup(int value) const = 0;
    virtual std::string GetName() const = 0;
    virtual int IndexOfKey(std::uint16_t key) const = 0;
    virtual int SearchIndex(std::uint16_t key, int lo, int hi) const = 0;
    virtual void GetCloseArray(TArrayOfSingle& values) const = 0;
    virtual void GetCloseDiffArray(TArrayOfSingle& values) const = 0;
    virtual void GetVolumeArray(TArrayOfSingle& values) const = 0;
    virtual Status Save() const = 0;
};

// A missing file is not an error: the object has no image and no records. A file that
// exists but cannot be read also leaves no image, and LoadFromFile reports why.
class TBaseDataFile : public virtual IBaseDataFile {
public:
    int GetCount() const override;
    const std::uint8_t* GetMemory() const override;
    const std::uint8_t* GetRecord(int index) const override;
    // Checked against the count: a wrong index gives nullptr, never an address outside.
    const std::uint8_t* RecordAddress(int index) const override;
    Status LoadFromFile(const std::string& name) override;
    // Replaces the file atomically; without an image nothing is written.
    Status SaveToFile(const std::string& name) const override;
    std::string GetFileName() const override = 0;
    int GetHeaderSize() const override;
    int GetRecordSize() const override = 0;

protected:
    TBaseDataFile() = default;
    const std::uint8_t* addressOf(int index) const;

private:
    std::optional<std::string> m_image;
};

class TDataFile : public TBaseDataFile, public IDataFile {
public:
    // Stores the name without leading and trailing blanks and loads that file.
    explicit TDataFile(const std::string& name);

    // The position is taken modulo the count after the ring start is added.
    const std::uint8_t* RecordAddress(int index) const override;
    std::string GetFileName() const override;
    int GetRecordSize() const override;

    // Key search over positions lo..hi, clamped to the records; records are assumed in
    // ascending key order.
    virtual const std::uint8_t* FindByKey(std::uint16_t key, int lo, int hi) const;
    virtual int GetRingStart() const;
    // 0..20000: that many records back from the newest (0 = newest). Any other value that
    // fits 16 bits (so -1 as 65535) is a key for FindByKey; wider values find nothing.
    std::optional<DayRecord> Lookup(int value) const override;
    std::string GetName() const override;
    Status Save() const override;

    int IndexOfKey(std::uint16_t key) const override;
    int SearchIndex(std::uint16_t key, int lo, int hi) const override;
    void GetCloseArray(TArrayOfSingle& values) const override;
    void GetVolumeArray(TArrayOfSingle& values) const override;
    void GetCloseDiffArray(TArrayOfSingle& values) const override;

    // What the constructor's load reported (ok for a missing file).
    const Status& loadStatus() const { return m_loadStatus; }

private:
    int searchRange(std::uint16_t key, int lo, int hi) const;

    std::string m_fileName;
    Status m_loadStatus = Status::ok();
};
