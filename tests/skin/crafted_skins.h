#pragma once
// Hand-made skin payloads for the decoding budget: bitmap records that
// share one data range, and bitmaps of any claimed size, which
// tools/skin-pack never writes.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace skintest {

using Bytes = std::vector<std::uint8_t>;

inline void Put32At(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 1-bit BMP, black and white palette, every pixel white; a negative
// height is a top-down picture. Without pixels only the headers are there.
inline Bytes OneBitBmp(std::int32_t width, std::int32_t height, bool withPixels = true)
{
    constexpr std::uint32_t kPixelsAt = 14 + 40 + 8;
    const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) + 31) / 32) * 4;
    Bytes b(kPixelsAt + (withPixels ? stride * rows : 0), 0xFF);
    std::fill(b.begin(), b.begin() + kPixelsAt, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32At(b, 10, kPixelsAt);
    Put32At(b, 14, 40);
    Put32At(b, 18, static_cast<std::uint32_t>(width));
    Put32At(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1;                   // planes
    b[28] = 1;                   // bits per pixel
    Put32At(b, 58, 0x00FFFFFF);  // palette entry 1: white
    Put32At(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

// A record named `name` whose data is datas[data] from byte `skip` on; a
// bitmap unless `kind` says otherwise (3: a string).
struct SharedRecord {
    std::string name;
    std::size_t data = 0;
    std::uint8_t kind = 0;
    std::size_t skip = 0;
};

// A payload of records over the given data ranges: each range is
// stored once, however many records name it.
inline Bytes SharedRangePayload(const std::vector<SharedRecord>& records, const std::vector<Bytes>& datas)
{
    constexpr std::size_t kHeader = 24, kRecord = 77;
    Bytes p(kHeader + (records.size() + 1) * kRecord, 0);
    std::memcpy(p.data(), "TAVRIXON_SK2", 12);
    Put32At(p, 12, kHeader);
    Put32At(p, 16, 2);
    Put32At(p, 20, kHeader);
    std::vector<std::size_t> offsets;
    for (const Bytes& d : datas) {
        offsets.push_back(p.size());
        p.insert(p.end(), d.begin(), d.end());
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::size_t at = kHeader + i * kRecord;
        std::memcpy(p.data() + at, records[i].name.data(), std::min<std::size_t>(63, records[i].name.size()));
        p[at + 64] = records[i].kind;
        Put32At(p, at + 65, static_cast<std::uint32_t>(offsets[records[i].data] + records[i].skip));
        Put32At(p, at + 69, static_cast<std::uint32_t>(datas[records[i].data].size() - records[i].skip));
        Put32At(p, at + 73, static_cast<std::uint32_t>(at + kRecord));
    }
    p[kHeader + records.size() * kRecord + 64] = 2;  // the terminator: next 0
    return p;
}

// `count` records "B0", "B1", ... all over datas[0], then one record for
// each further data range.
inline Bytes ManyOverOne(std::size_t count, const std::vector<Bytes>& datas)
{
    std::vector<SharedRecord> records;
    for (std::size_t i = 0; i < count; ++i)
        records.push_back({std::string("B").append(std::to_string(i)), 0});
    for (std::size_t d = 1; d < datas.size(); ++d)
        records.push_back({std::string("D").append(std::to_string(d)), d});
    return SharedRangePayload(records, datas);
}

}  // namespace skintest
