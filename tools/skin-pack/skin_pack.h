#pragma once
// Writing skin files: the payload of named records and the "SK" archive
// around it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "skin/kiv_themes.h"

namespace skinpack {

// Record kinds of the payload.
enum class RecordKind : std::uint8_t { Bitmap = 0, Integer = 1, Boolean = 2, String = 3 };

struct Record {
    std::string name;  // at most 63 bytes
    RecordKind kind = RecordKind::Integer;
    std::vector<std::uint8_t> data;
};

Record BitmapRecord(const std::string& name, const TBitmap& bitmap);
Record IntegerRecord(const std::string& name, std::int32_t value);
Record BoolRecord(const std::string& name, bool value);
Record StringRecord(const std::string& name, const std::string& text);

// The payload: header, the records chained in order, the terminator.
std::vector<std::uint8_t> BuildPayload(const std::vector<Record>& records);

struct ArchiveOptions {
    std::string entryName = "SKINDATA.SK2";
    // zlib level: 0 gives stored blocks, 9 the smallest stream.
    int level = 9;
    // Fixed Huffman codes only (zlib's Z_FIXED).
    bool fixedCodes = false;
    // Non-empty: traditional encryption with this password.
    std::string password;
    // Bit 3 of the flags: the check byte comes from the time, not the CRC.
    bool checkByTime = false;
    std::uint16_t time = 0x7A31;
    std::uint16_t date = 0x5B8A;
    // Entries written before the skin entry, to test the directory walk.
    std::vector<std::string> otherEntries;
};

std::vector<std::uint8_t> BuildArchive(std::span<const std::uint8_t> payload,
                                       const ArchiveOptions& options = {});

// A complete skin in the look of a built-in style: every colour, integer
// and switch of the key table and the bitmaps the style has.
std::vector<Record> StyleSkinRecords(TkivUIStyle style);

}  // namespace skinpack
