#include "skin/kiv_skin_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <map>
#include <optional>

#include "platform/core/files.h"
#include "platform/gfx/image_io.h"
#include "skin/kiv_inflate.h"

namespace skin {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054B50u;
constexpr std::uint32_t kCentralSignature = 0x02014B50u;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kMaxEntryName = 259;
constexpr std::size_t kCryptHeaderSize = 12;

std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at)
{
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at)
{
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
           (static_cast<std::uint32_t>(d[at + 2]) << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

struct CentralEntry {
    std::uint16_t flags = 0;
    std::uint16_t time = 0;
    std::uint32_t crc = 0;
    std::uint32_t uncompressed = 0;
    std::uint32_t localOffset = 0;
};

// Finds the entry in the central directory; false when the archive is not a
// readable skin archive or holds no such entry.
bool FindEntry(std::span<const std::uint8_t> a, std::string_view name, CentralEntry& entry)
{
    if (a.size() < kEndRecordSize || U16(a, 0) != 0x4B53) return false;
    const std::size_t end = a.size() - kEndRecordSize;
    if (U32(a, end) != kEndSignature || U16(a, end + 20) != 0) return false;
    std::size_t pos = U32(a, end + 16);
    while (pos < end) {
        if (end - pos < kCentralHeaderSize || U32(a, pos) != kCentralSignature) return false;
        const std::size_t nameLen = U16(a, pos + 28);
        const std::size_t extraLen = U16(a, pos + 30);
        const std::size_t commentLen = U16(a, pos + 32);
        if (nameLen > kMaxEntryName || end - pos - kCentralHeaderSize < nameLen) return false;
        const std::string_view entryName(reinterpret_cast<const char*>(a.data() + pos + kCentralHeaderSize),
                                         nameLen);
        if (SameName(entryName, name)) {
            entry.flags = U16(a, pos + 8);
            entry.time = U16(a, pos + 12);
            entry.crc = U32(a, pos + 16);
            entry.uncompressed = U32(a, pos + 24);
            entry.localOffset = U32(a, pos + 42);
            return true;
        }
        pos += kCentralHeaderSize + nameLen + extraLen + commentLen;
    }
    return false;
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> data, std::uint32_t crc)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::uint8_t b : data) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

ZipCryptKeys::ZipCryptKeys(std::string_view password)
{
    for (char c : password) Update(static_cast<std::uint8_t>(c));
}

void ZipCryptKeys::Update(std::uint8_t b)
{
    // crc32 of one byte, continuing from k0 (without the usual inversion).
    const std::uint8_t one[1] = {b};
    k0_ = ~Crc32(one, ~k0_);
    k1_ = (k1_ + (k0_ & 0xFF)) * 134775813u + 1;
    const std::uint8_t high[1] = {static_cast<std::uint8_t>(k1_ >> 24)};
    k2_ = ~Crc32(high, ~k2_);
}

std::uint8_t ZipCryptKeys::StreamByte() const
{
    const std::uint32_t temp = (k2_ & 0xFFFF) | 2;
    return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

std::uint8_t ZipCryptKeys::Decrypt(std::uint8_t c)
{
    const std::uint8_t p = c ^ StreamByte();
    Update(p);
    return p;
}

std::uint8_t ZipCryptKeys::Encrypt(std::uint8_t p)
{
    const std::uint8_t c = p ^ StreamByte();
    Update(p);
    return c;
}

int ExtractSkinEntry(std::span<const std::uint8_t> archive, std::string_view entryName,
                     std::string_view password, std::vector<std::uint8_t>& out)
{
    out.clear();
    CentralEntry entry;
    if (!FindEntry(archive, entryName, entry)) return kExtractFailed;

    // From here on the output exists: failures are judged by its size.
    int result = kExtractOk;
    [&] {
        const std::size_t local = entry.localOffset;
        if (local > archive.size() || archive.size() - local < kLocalHeaderSize) {
            result = kExtractFailed;
            return;
        }
        const std::size_t skip = kLocalHeaderSize + U16(archive, local + 26) + U16(archive, local + 28);
        if (archive.size() - local < skip) {
            result = kExtractFailed;
            return;
        }
        if (entry.uncompressed > kMaxSkinPayload) {
            result = kExtractRefused;
            return;
        }
        std::span<const std::uint8_t> data = archive.subspan(local + skip);
        std::vector<std::uint8_t> plain;
        if (entry.flags & 1) {
            if (password.empty() || data.size() < kCryptHeaderSize) {
                result = kExtractRefused;
                return;
            }
            ZipCryptKeys keys(password);
            std::uint8_t last = 0;
            for (std::size_t i = 0; i < kCryptHeaderSize; ++i) last = keys.Decrypt(data[i]);
            const std::uint8_t check = (entry.flags & 8) ? static_cast<std::uint8_t>(entry.time >> 8)
                                                         : static_cast<std::uint8_t>(entry.crc >> 24);
            if (last != check) {
                result = kExtractRefused;
                return;
            }
            plain.reserve(data.size() - kCryptHeaderSize);
            for (std::size_t i = kCryptHeaderSize; i < data.size(); ++i)
                plain.push_back(keys.Decrypt(data[i]));
            data = plain;
        }
        if (Inflate(data, out, entry.uncompressed) != InflateStatus::Ok) result = kExtractFailed;
    }();
    if (!out.empty() || result != kExtractOk) {
        if (out.size() != entry.uncompressed) result = kExtractRefused;
    } else {
        result = kExtractFailed;  // an empty entry is no skin
    }
    if (result != kExtractOk) out.clear();
    return result;
}

namespace {

std::optional<std::string> ReadArchiveFile(const std::filesystem::path& path)
{
    const auto size = core::FileSizeOf(path);
    if (!size || *size > kMaxSkinArchive) return std::nullopt;
    return core::ReadFileBytes(path);
}

}  // namespace

int ExtractSkinEntry(const std::filesystem::path& archivePath, std::string_view entryName,
                     const std::filesystem::path& outputPath, std::string_view password)
{
    const auto bytes = ReadArchiveFile(archivePath);
    if (!bytes) return kExtractFailed;
    std::vector<std::uint8_t> out;
    const int result =
        ExtractSkinEntry(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()),
                         entryName, password, out);
    if (result != kExtractOk) return result;
    const std::string_view text(reinterpret_cast<const char*>(out.data()), out.size());
    return core::WriteFileBytes(outputPath, text) ? kExtractOk : kExtractFailed;
}

}  // namespace skin

namespace {

constexpr std::size_t kPayloadHeaderSize = 24;
constexpr std::size_t kRecordSize = 77;
constexpr std::size_t kRecordNameSize = 64;

template <class List>
auto FindName(const List& list, std::string_view name)
{
    return std::find_if(list.begin(), list.end(), [&](const auto& item) {
        return item.first.size() == name.size() &&
               std::equal(name.begin(), name.end(), item.first.begin(), [](char x, char y) {
                   return std::toupper(static_cast<unsigned char>(x)) ==
                          std::toupper(static_cast<unsigned char>(y));
               });
    });
}

}  // namespace

Tsk2SkinFileReader::Tsk2SkinFileReader(const std::filesystem::path& fileName, std::string_view password)
{
    const auto bytes = skin::ReadArchiveFile(fileName);
    if (!bytes) throw skin::SkinReadError();
    Load(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()), password);
}

Tsk2SkinFileReader::Tsk2SkinFileReader(std::span<const std::uint8_t> archive, std::string_view password)
{
    Load(archive, password);
}

void Tsk2SkinFileReader::Load(std::span<const std::uint8_t> archive, std::string_view password)
{
    std::vector<std::uint8_t> payload;
    const int result = skin::ExtractSkinEntry(archive, skin::kSkinEntryName, password, payload);
    if (result == skin::kExtractFailed) throw skin::SkinReadError();
    if (result != skin::kExtractOk) return;
    ready_ = LoadPayload(payload);
}

void Tsk2SkinFileReader::Clear()
{
    bitmaps_.clear();
    integers_.clear();
    booleans_.clear();
    strings_.clear();
    held_bytes_ = 0;
    ready_ = false;
}

bool Tsk2SkinFileReader::LoadPayload(std::span<const std::uint8_t> p)
{
    using skin::U32;
    Clear();
    if (p.size() < kPayloadHeaderSize) return false;
    // Bitmaps and strings by their data range, made once the whole chain
    // has passed its checks and the budget.
    using Range = std::pair<std::size_t, std::size_t>;
    std::map<Range, std::shared_ptr<const TBitmap>> decoded;
    std::map<Range, std::shared_ptr<const std::string>> texts;
    std::vector<std::pair<std::string, Range>> bitmapRecords, stringRecords;
    std::int64_t pixels = 0, bytes = 0;
    const auto refuse = [&] {
        Clear();
        return false;
    };
    std::size_t record = U32(p, 20);
    // Every record lies at its own place, so a chain longer than the
    // payload holds records is a loop.
    const std::size_t maxRecords = p.size() / kRecordSize + 1;
    for (std::size_t n = 0;; ++n) {
        if (n > maxRecords || record > p.size() || p.size() - record < kRecordSize) return refuse();
        const std::size_t next = U32(p, record + 73);
        if (next == 0) break;
        const char* nameBytes = reinterpret_cast<const char*>(p.data() + record);
        const std::string name(nameBytes, strnlen(nameBytes, kRecordNameSize));
        const std::uint8_t kind = p[record + kRecordNameSize];
        const std::size_t offset = U32(p, record + 65);
        const std::size_t size = U32(p, record + 69);
        if (offset > p.size() || p.size() - offset < size) return refuse();
        const auto data = p.subspan(offset, size);
        const Range range(offset, size);
        bytes += static_cast<std::int64_t>(name.size());
        switch (kind) {
        case 0: {
            if (!decoded.contains(range)) {
                TSize side;
                try {
                    side = gfx::BmpSize(data);
                } catch (const gfx::ImageError&) {
                    return refuse();
                }
                if (side.cx > skin::kMaxSkinBitmapSide || side.cy > skin::kMaxSkinBitmapSide) return refuse();
                const std::int64_t area = static_cast<std::int64_t>(side.cx) * side.cy;
                pixels += area;
                bytes += area * static_cast<std::int64_t>(sizeof(std::uint32_t));
                if (pixels > skin::kMaxSkinPixels) return refuse();
                decoded.emplace(range, nullptr);
            }
            bitmapRecords.emplace_back(name, range);
            break;
        }
        case 1:
            if (size != 4) return refuse();
            integers_.emplace_back(name, static_cast<std::int32_t>(U32(data, 0)));
            bytes += 4;
            break;
        case 2:
            if (size != 1) return refuse();
            booleans_.emplace_back(name, data[0]);
            bytes += 1;
            break;
        case 3:
            if (!texts.contains(range)) {
                texts.emplace(range, nullptr);
                bytes += static_cast<std::int64_t>(size);
            }
            stringRecords.emplace_back(name, range);
            break;
        default: break;  // a kind this reader does not know: skipped
        }
        if (bytes > skin::kMaxSkinBytes) return refuse();
        record = next;
    }
    for (auto& [range, bitmap] : decoded) {
        try {
            bitmap = std::make_shared<const TBitmap>(gfx::DecodeBmp(p.subspan(range.first, range.second)));
        } catch (const gfx::ImageError&) {
            return refuse();
        }
    }
    for (auto& [range, text] : texts) {
        const auto data = p.subspan(range.first, range.second);
        text = std::make_shared<const std::string>(data.begin(), data.end());
    }
    bitmaps_.reserve(bitmapRecords.size());
    for (const auto& [name, range] : bitmapRecords) bitmaps_.emplace_back(name, decoded[range]);
    strings_.reserve(stringRecords.size());
    for (const auto& [name, range] : stringRecords) strings_.emplace_back(name, texts[range]);
    held_bytes_ = bytes;
    ready_ = true;
    return true;
}

const TBitmap* Tsk2SkinFileReader::GetBitmap(std::string_view name) const
{
    const auto it = FindName(bitmaps_, name);
    return it == bitmaps_.end() ? nullptr : it->second.get();
}

std::int32_t Tsk2SkinFileReader::GetInteger(std::string_view name) const
{
    const auto it = FindName(integers_, name);
    return it == integers_.end() ? -1 : it->second;
}

std::uint8_t Tsk2SkinFileReader::GetBool(std::string_view name) const
{
    const auto it = FindName(booleans_, name);
    return it == booleans_.end() ? 0 : it->second;
}

std::string Tsk2SkinFileReader::GetString(std::string_view name) const
{
    const auto it = FindName(strings_, name);
    return it == strings_.end() ? std::string() : *it->second;
}
