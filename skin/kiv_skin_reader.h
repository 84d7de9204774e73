#pragma once
// Skin files: a ZIP-form archive whose first two bytes are "SK" in place of
// "PK", holding the entry "SKINDATA.SK2" (raw deflate, optionally under the
// traditional archive encryption). The entry is a payload of named records:
// bitmaps (whole BMP files), integers (4 bytes), booleans (1 byte) and
// strings. Every offset and size is checked; damaged files are refused.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/gfx/bitmap.h"

namespace skin {

inline constexpr std::string_view kSkinEntryName = "SKINDATA.SK2";
// Payloads above this size are refused as a size problem.
inline constexpr std::uint32_t kMaxSkinPayload = 64u * 1024 * 1024;
// Archive files above this size are not read at all.
inline constexpr std::uint64_t kMaxSkinArchive = 256u * 1024 * 1024;
// The bitmaps of one skin decode to at most this many pixels in all, each
// at most kMaxSkinBitmapSide wide and high. Everything the records of one
// skin hold (pixels at 4 bytes, strings, names and values) counts toward
// kMaxSkinBytes; records that share one data range share one bitmap or
// string, which counts once. A skin beyond any of them is refused from its
// headers, before anything is decoded.
inline constexpr std::int64_t kMaxSkinPixels = 64LL * 1024 * 1024;
inline constexpr std::int64_t kMaxSkinBytes = kMaxSkinPixels * 4 + kMaxSkinPayload;
inline constexpr int kMaxSkinBitmapSide = 4096;

// Results of ExtractSkinEntry.
inline constexpr int kExtractOk = 0;
// Not a skin archive, no such entry, or nothing could be decoded.
inline constexpr int kExtractFailed = 1;
// Encrypted without a password, a wrong password, or a size problem.
inline constexpr int kExtractRefused = 2;

// The entry named `entryName` (letter case ignored) of the archive, decoded
// into `out` (cleared first; left empty unless the result is kExtractOk).
// A password given for an unencrypted entry is ignored.
int ExtractSkinEntry(std::span<const std::uint8_t> archive, std::string_view entryName,
                     std::string_view password, std::vector<std::uint8_t>& out);
// The same from a file into a file; no output file is left behind unless
// the result is kExtractOk.
int ExtractSkinEntry(const std::filesystem::path& archivePath, std::string_view entryName,
                     const std::filesystem::path& outputPath, std::string_view password);

// Traditional archive encryption (the ZIP application note).
class ZipCryptKeys {
public:
    explicit ZipCryptKeys(std::string_view password);
    std::uint8_t Decrypt(std::uint8_t c);
    std::uint8_t Encrypt(std::uint8_t p);

private:
    void Update(std::uint8_t b);
    std::uint8_t StreamByte() const;
    std::uint32_t k0_ = 0x12345678u, k1_ = 0x23456789u, k2_ = 0x34567890u;
};
std::uint32_t Crc32(std::span<const std::uint8_t> data, std::uint32_t crc = 0);

// The exception of an archive that cannot be read at all.
class SkinReadError : public std::runtime_error {
public:
    SkinReadError() : std::runtime_error("Failed to read skin file!") {}
};

}  // namespace skin

// The reader of one skin file. Names are looked up ignoring letter case; a
// name stored twice answers with its first record. Bitmap records whose
// data is one range of the payload answer with one bitmap.
class Tsk2SkinFileReader {
public:
    // Reads the file. Throws skin::SkinReadError when the archive cannot be
    // read (result 1); a refused entry (result 2) or a damaged payload
    // leaves Ready false with nothing loaded.
    Tsk2SkinFileReader(const std::filesystem::path& fileName, std::string_view password);
    // The same from the archive's bytes.
    Tsk2SkinFileReader(std::span<const std::uint8_t> archive, std::string_view password);
    // An empty reader, for LoadPayload.
    Tsk2SkinFileReader() = default;
    Tsk2SkinFileReader(const Tsk2SkinFileReader&) = delete;
    Tsk2SkinFileReader& operator=(const Tsk2SkinFileReader&) = delete;

    bool Ready() const { return ready_; }
    // Owned by the reader; nullptr for a missing name.
    const TBitmap* GetBitmap(std::string_view name) const;
    // -1 for a missing name.
    std::int32_t GetInteger(std::string_view name) const;
    // 0 for a missing name.
    std::uint8_t GetBool(std::string_view name) const;
    // Empty for a missing name.
    std::string GetString(std::string_view name) const;

    // Loads a decoded payload; false (and nothing kept) when it is damaged.
    bool LoadPayload(std::span<const std::uint8_t> payload);
    // The bytes that the loaded records hold, as the budget counts them.
    std::int64_t HeldBytes() const { return held_bytes_; }

private:
    void Load(std::span<const std::uint8_t> archive, std::string_view password);
    void Clear();

    std::vector<std::pair<std::string, std::shared_ptr<const TBitmap>>> bitmaps_;
    std::vector<std::pair<std::string, std::int32_t>> integers_;
    std::vector<std::pair<std::string, std::uint8_t>> booleans_;
    std::vector<std::pair<std::string, std::shared_ptr<const std::string>>> strings_;
    std::int64_t held_bytes_ = 0;
    bool ready_ = false;
};
