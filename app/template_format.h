#pragma once
// The effect template file's own definitions, shared by the reader (the
// template import) and the authoring tool that writes template files.
//
// A template file is a playable video, then the effect movie as a byte
// slice, then a 2000-byte trailer of INI text. The trailer's section and
// key names are scrambled words; every number in it is stored as a string
// of scrambled digits; the validity value is a fixed 42-byte text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace app::template_format {

// The trailer is the last kTrailerSize bytes of the file.
inline constexpr uint64_t kTrailerSize = 2000;

// The effect movie has at least this many frames: the preview switches to
// it at frame 3 and refills the photo slots five frames before its end.
inline constexpr uint32_t kMinMovieFrames = 6;

// Validity: the value is compared whole, as read, with kValidityConstant.
inline constexpr std::string_view kValiditySection = "kzqxm";
inline constexpr std::string_view kValidityKey = "rwtb";
inline constexpr std::string_view kValidityConstant = "VelmoraEffectTemplate-1.0-c7e2a94f3b1d5e08";
static_assert(kValidityConstant.size() == 42);

// The effect movie: its byte offset from the start of the file and its length.
inline constexpr std::string_view kMovieSection = "hvdoe";
inline constexpr std::string_view kMovieOffsetKey = "pqsn";
inline constexpr std::string_view kMovieLengthKey = "cnlw";

// The segment count N: the section's one key has the section's name.
inline constexpr std::string_view kCountSection = "tygex";
inline constexpr std::string_view kCountKey = "tygex";

// The segments: one key per column and segment, the column's prefix
// followed by the segment number 1 to N in plain decimal ("g1", "k1", "v1").
inline constexpr std::string_view kSegmentSection = "jmfra";
inline constexpr std::string_view kFirstValuePrefix = "g";  // ListBox1
inline constexpr std::string_view kEndFramePrefix = "k";    // ListBox2
inline constexpr std::string_view kPhotoCountPrefix = "v";  // ListBox3

// The digit substitution: kScrambledDigits[d] is the stored form of digit d.
inline constexpr std::string_view kScrambledDigits = "mtkqzwhrbx";
static_assert(kScrambledDigits.size() == 10);

inline std::string SegmentKey(std::string_view prefix, uint64_t segment)
{
    return std::string(prefix) + std::to_string(segment);
}

// A number in its stored form: "tkq" for 123.
inline std::string EncodeNumber(uint64_t value)
{
    std::string decimal = std::to_string(value);
    for (char& c : decimal) c = kScrambledDigits[static_cast<size_t>(c - '0')];
    return decimal;
}

// The number of a stored value; nothing when the value is empty, holds a
// character outside the substitution table, or exceeds 64 bits.
inline std::optional<uint64_t> DecodeNumber(std::string_view stored)
{
    if (stored.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : stored) {
        const size_t digit = kScrambledDigits.find(c);
        if (digit == std::string_view::npos) return std::nullopt;
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace app::template_format
