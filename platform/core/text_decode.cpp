#include "platform/core/text_decode.h"

#include <unicode/ucsdet.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/text.h"

namespace core {

namespace {

// The detector's confidence where it has too little to go on.
constexpr int kNoEvidence = 10;

struct Guess {
    std::string name;  // the detector's name
    int confidence;    // 0..100
};

// Every guess of the detector, best first.
std::vector<Guess> Detect(std::string_view bytes)
{
    std::vector<Guess> guesses;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status), ucsdet_close);
    if (U_FAILURE(status)) return guesses;
    ucsdet_setText(detector.get(), bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &count, &status);
    if (U_FAILURE(status)) return guesses;
    for (int32_t i = 0; i < count; ++i) {
        UErrorCode match_status = U_ZERO_ERROR;
        const char* name = ucsdet_getName(matches[i], &match_status);
        const int confidence = ucsdet_getConfidence(matches[i], &match_status);
        if (U_SUCCESS(match_status) && name) guesses.push_back({name, confidence});
    }
    return guesses;
}

int ConfidenceOf(const std::vector<Guess>& guesses, std::string_view name)
{
    for (const Guess& g : guesses)
        if (g.name == name) return g.confidence;
    return 0;
}

// The legacy encodings taken from the detector, as iconv names them (the
// Windows supersets, which lyric files are written in). Multi-byte ones may
// win over GB18030 on its own bytes; single-byte ones only where the bytes
// are no GB18030.
struct Legacy {
    std::string_view detector_name;
    std::string_view iconv_name;
    bool multi_byte;
};
constexpr Legacy kLegacy[] = {
    {"Big5", "CP950", true},
    {"Shift_JIS", "CP932", true},
    {"EUC-JP", "EUC-JP", true},
    {"EUC-KR", "CP949", true},
    {"windows-1251", "WINDOWS-1251", false},
    {"KOI8-R", "KOI8-R", false},
    {"ISO-8859-5", "ISO-8859-5", false},
    {"windows-1250", "WINDOWS-1250", false},
    {"ISO-8859-2", "WINDOWS-1250", false},
    {"windows-1252", "WINDOWS-1252", false},
    {"ISO-8859-1", "WINDOWS-1252", false},
    {"windows-1253", "WINDOWS-1253", false},
    {"ISO-8859-7", "WINDOWS-1253", false},
    {"windows-1254", "WINDOWS-1254", false},
    {"ISO-8859-9", "WINDOWS-1254", false},
};

const Legacy* FindLegacy(std::string_view detector_name)
{
    for (const Legacy& l : kLegacy)
        if (l.detector_name == detector_name) return &l;
    return nullptr;
}

// UTF-16 without a mark: the detector's word, where the text has the zero
// bytes that its ASCII characters (tags, line breaks) give.
std::optional<std::string> Utf16WithoutMark(std::string_view bytes, const std::vector<Guess>& guesses)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || bytes.find('\0') == std::string_view::npos) return {};
    const int le = ConfidenceOf(guesses, "UTF-16LE");
    const int be = ConfidenceOf(guesses, "UTF-16BE");
    if (std::max(le, be) < 50) return {};
    return std::string(le >= be ? "UTF-16LE" : "UTF-16BE");
}

// Bytes that GB18030 reads without a fault.
bool IsCleanGb18030(std::string_view bytes)
{
    const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char lead = at(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead == 0x80 || lead == 0xFF || i + 1 >= bytes.size()) return false;
        const unsigned char second = at(i + 1);
        if (second >= 0x30 && second <= 0x39) {  // four-byte form
            if (i + 3 >= bytes.size()) return false;
            if (at(i + 2) < 0x81 || at(i + 2) > 0xFE || at(i + 3) < 0x30 || at(i + 3) > 0x39) return false;
            i += 4;
            continue;
        }
        if (second < 0x40 || second == 0x7F || second == 0xFF) return false;
        i += 2;
    }
    return true;
}

enum class Script { None, Latin, Greek, Cyrillic };

// The script of a letter that European two-byte UTF-8 holds; None for
// anything else (IPA, modifier letters, Hebrew, Arabic, symbols).
Script ScriptOf(char32_t cp)
{
    if ((cp >= 0xC0 && cp <= 0x24F && cp != 0xD7 && cp != 0xF7)) return Script::Latin;
    if (cp >= 0x386 && cp <= 0x3CE) return Script::Greek;
    if (cp >= 0x400 && cp <= 0x4FF) return Script::Cyrillic;
    return Script::None;
}

bool IsAsciiLetter(char32_t cp) { return (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z'); }

// Valid UTF-8 whose non-ASCII characters all take two bytes: European text,
// or short GBK whose bytes happen to be UTF-8 ("为什么" is CE AA CA B2 C3 B4,
// "Ϊʲô"). Every Chinese character takes three bytes in UTF-8, so this is
// the one place where the two meet; the detector always says UTF-8 here.
bool TwoByteUtf8IsGbk(std::string_view bytes)
{
    const std::u32string cps = Utf8ToCodePoints(bytes);
    Script script = Script::None;
    size_t letters = 0;
    bool inside_word = false;  // a letter next to an ASCII letter: "café"
    for (size_t i = 0; i < cps.size(); ++i) {
        const char32_t cp = cps[i];
        if (cp < 0x80) continue;
        if (cp >= 0xA0 && cp <= 0xBF) continue;  // « » ¿ ¡ ° and the like
        const Script s = ScriptOf(cp);
        if (s == Script::None) return true;
        if (script != Script::None && s != script) return true;  // mixed scripts: GBK
        script = s;
        ++letters;
        if ((i > 0 && IsAsciiLetter(cps[i - 1])) || (i + 1 < cps.size() && IsAsciiLetter(cps[i + 1])))
            inside_word = true;
    }
    // The UTF-8 reading is letters of one script. The GBK reading is
    // plausible only as common characters (GB2312: both bytes A1..FE; a
    // UTF-8 lead byte is C2..DF, so the trail byte tells).
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) continue;
        if (static_cast<unsigned char>(bytes[i + 1]) < 0xA1) return false;
        ++i;
    }
    if (inside_word && script == Script::Latin) return false;
    // Both readings fit: a few characters stay Chinese.
    return letters < 6;
}

}  // namespace

std::string DetectTextEncoding(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) return "UTF-8";
    if (bytes.starts_with("\xFF\xFE")) return "UTF-16LE";
    if (bytes.starts_with("\xFE\xFF")) return "UTF-16BE";

    bool ascii = true, wide = false, valid_utf8 = IsValidUtf8(bytes);
    for (size_t i = 0; valid_utf8 && i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80) ascii = false;
        if (b >= 0xE0) wide = true;
    }
    if (valid_utf8 && ascii && bytes.find('\0') == std::string_view::npos) return "UTF-8";

    const std::vector<Guess> guesses = Detect(bytes);
    if (auto utf16 = Utf16WithoutMark(bytes, guesses)) return *utf16;
    if (valid_utf8) {
        // A character of three or more bytes: UTF-8 (short Chinese UTF-8
        // such as "为什么" gets a Hebrew code page from the detector).
        if (wide || ascii) return "UTF-8";
        return TwoByteUtf8IsGbk(bytes) ? "GB18030" : "UTF-8";
    }

    const bool clean_gb = IsCleanGb18030(bytes);
    const int gb = ConfidenceOf(guesses, "GB18030");
    for (const Guess& g : guesses) {
        if (g.name == "GB18030") break;  // ranked above every other legacy guess
        const Legacy* legacy = FindLegacy(g.name);
        if (!legacy) continue;
        // The detector gives 10 where it has too little to go on, and ties
        // short texts there; GB18030 keeps those. On bytes that GB18030
        // reads, only a multi-byte encoding may take them from it.
        if (g.confidence <= std::max(gb, kNoEvidence)) continue;
        if (clean_gb && !legacy->multi_byte) continue;
        return std::string(legacy->iconv_name);
    }
    return "GB18030";
}

}  // namespace core
