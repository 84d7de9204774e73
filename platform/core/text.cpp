#include "platform/core/text.h"

#include "platform/core/text_decode.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace core {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at text[pos]; returns its length in bytes (0 when
// the bytes there start no valid sequence).
size_t DecodeOne(std::string_view text, size_t pos, char32_t& cp)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char b0 = byte(pos);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    size_t len;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > text.size()) return 0;
    for (size_t i = 1; i < len; ++i) {
        unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// Byte offsets where each character starts, plus the end.
std::vector<size_t> CharStarts(std::string_view text)
{
    std::vector<size_t> starts;
    starts.reserve(text.size() + 1);
    size_t pos = 0;
    while (pos < text.size()) {
        starts.push_back(pos);
        char32_t cp;
        size_t len = DecodeOne(text, pos, cp);
        pos += len ? len : 1;
    }
    starts.push_back(text.size());
    return starts;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsTrimmed(unsigned char c) { return c <= ' '; }

// Converts with iconv; on a byte sequence that cannot be converted, writes
// `bad` and skips `skip_on_error` bytes of input.
std::string Iconv(const char* to, const char* from, std::string_view input, std::string_view bad,
                  size_t skip_on_error)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("No text conversion from ") + from + " to " + to);
    std::string out;
    out.reserve(input.size() * 2);
    char buffer[4096];
    char* in = const_cast<char*>(input.data());
    size_t in_left = input.size();
    while (in_left > 0) {
        char* dst = buffer;
        size_t dst_left = sizeof buffer;
        size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
        out.append(buffer, dst - buffer);
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ, or EINVAL for a sequence cut off at the end.
            out.append(bad);
            size_t skip = std::min(skip_on_error, in_left);
            in += skip;
            in_left -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    iconv_close(cd);
    return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool big_endian)
{
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](size_t i) {
        auto a = static_cast<unsigned char>(bytes[i]);
        auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(big_endian ? (a << 8) | b : (b << 8) | a);
    };
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    if (i < bytes.size()) AppendUtf8(out, kReplacement);  // odd byte at the end
    return out;
}

template <typename Int>
bool ParseInt(std::string_view text, Int& value)
{
    std::string trimmed = Trim(text);
    std::string_view s = trimmed;
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s[0] == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return false;
    // Parse the magnitude wide, so that the most negative value fits.
    unsigned long long magnitude = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
    using Limits = std::numeric_limits<Int>;
    const auto max_magnitude = static_cast<unsigned long long>(Limits::max());
    if (negative) {
        if (magnitude > max_magnitude + 1) return false;
        value = magnitude == max_magnitude + 1 ? Limits::min() : -static_cast<Int>(magnitude);
    } else {
        if (magnitude > max_magnitude) return false;
        value = static_cast<Int>(magnitude);
    }
    return true;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes)
{
    size_t pos = 0;
    while (pos < bytes.size()) {
        char32_t cp;
        size_t len = DecodeOne(bytes, pos, cp);
        if (!len) return false;
        pos += len;
    }
    return true;
}

size_t LengthChars(std::string_view text) { return CharStarts(text).size() - 1; }

std::string LeftChars(std::string_view text, int count)
{
    if (count <= 0) return {};
    auto starts = CharStarts(text);
    size_t chars = starts.size() - 1;
    return std::string(text.substr(0, starts[std::min<size_t>(count, chars)]));
}

std::string RightChars(std::string_view text, int count)
{
    if (count <= 0) return {};
    auto starts = CharStarts(text);
    size_t chars = starts.size() - 1;
    return std::string(text.substr(starts[chars - std::min<size_t>(count, chars)]));
}

std::string MidChars(std::string_view text, int start, int count)
{
    if (start < 1) start = 1;  // as the routine it stands for: no shift of count
    if (count <= 0) return {};
    auto starts = CharStarts(text);
    size_t chars = starts.size() - 1;
    size_t first = std::min<size_t>(start - 1, chars);
    size_t last = std::min<size_t>(first + count, chars);
    return std::string(text.substr(starts[first], starts[last] - starts[first]));
}

std::string DropLastChars(std::string_view text, int count)
{
    if (count <= 0) return std::string(text);
    auto starts = CharStarts(text);
    size_t chars = starts.size() - 1;
    if (chars <= static_cast<size_t>(count)) return {};
    return std::string(text.substr(0, starts[chars - count]));
}

std::u32string Utf8ToCodePoints(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp;
        size_t len = DecodeOne(text, pos, cp);
        out.push_back(len ? cp : kReplacement);
        pos += len ? len : 1;
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string CodePointsToUtf8(std::u32string_view code_points)
{
    std::string out;
    out.reserve(code_points.size());
    for (char32_t cp : code_points) AppendUtf8(out, cp);
    return out;
}

std::string DecodeText(std::string_view bytes)
{
    const std::string encoding = DetectTextEncoding(bytes);
    if (encoding == "UTF-16LE" || encoding == "UTF-16BE") {
        if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) bytes.remove_prefix(2);
        return Utf16ToUtf8(bytes, encoding == "UTF-16BE");
    }
    if (encoding == "UTF-8") {
        if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
        return IsValidUtf8(bytes) ? std::string(bytes) : CodePointsToUtf8(Utf8ToCodePoints(bytes));
    }
    return Iconv("UTF-8", encoding.c_str(), bytes, "\xEF\xBF\xBD", 1);
}

std::string GbkToUtf8(std::string_view gbk) { return Iconv("UTF-8", "GB18030", gbk, "\xEF\xBF\xBD", 1); }

std::string Utf8ToGbk(std::string_view text)
{
    // Bad UTF-8 first becomes U+FFFD, which GB18030 can hold; then '?'.
    std::string clean = IsValidUtf8(text) ? std::string(text) : [&] {
        std::string out;
        size_t pos = 0;
        while (pos < text.size()) {
            char32_t cp;
            size_t len = DecodeOne(text, pos, cp);
            if (len)
                out.append(text.substr(pos, len));
            else
                out.push_back('?');
            pos += len ? len : 1;
        }
        return out;
    }();
    return Iconv("GB18030", "UTF-8", clean, "?", 1);
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = FoldAscii(c);
    return out;
}

std::string UpperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

int CompareText(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(FoldAscii(a[i]));
        auto y = static_cast<unsigned char>(FoldAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareNatural(std::string_view a, std::string_view b)
{
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            size_t ei = i, ej = j;
            while (ei < a.size() && digit(a[ei])) ++ei;
            while (ej < b.size() && digit(b[ej])) ++ej;
            // Leading zeros do not count towards the value.
            size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == '0') ++si;
            while (sj + 1 < ej && b[sj] == '0') ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
            if (int c = a.substr(si, ei - si).compare(b.substr(sj, ej - sj)); c != 0) return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        auto x = static_cast<unsigned char>(FoldAscii(a[i]));
        auto y = static_cast<unsigned char>(FoldAscii(b[j]));
        if (x != y) return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    // Equal but for case or leading zeros: a fixed order all the same.
    int c = a.compare(b);
    return c == 0 ? 0 : c < 0 ? -1 : 1;
}

bool StartsText(std::string_view prefix, std::string_view text)
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool EndsText(std::string_view suffix, std::string_view text)
{
    return text.size() >= suffix.size() && SameText(text.substr(text.size() - suffix.size()), suffix);
}

std::string Trim(std::string_view text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && IsTrimmed(text[begin])) ++begin;
    while (end > begin && IsTrimmed(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

int StrToIntDef(std::string_view text, int fallback)
{
    int value;
    return ParseInt(text, value) ? value : fallback;
}

int64_t StrToInt64Def(std::string_view text, int64_t fallback)
{
    int64_t value;
    return ParseInt(text, value) ? value : fallback;
}

double StrToFloatDef(std::string_view text, double fallback)
{
    std::string trimmed = Trim(text);
    if (trimmed.empty()) return fallback;
    const char* begin = trimmed.data();
    if (*begin == '+') ++begin;
    double value;
    auto [end, ec] =
        std::from_chars(begin, trimmed.data() + trimmed.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != trimmed.data() + trimmed.size() || !std::isfinite(value)) return fallback;
    return value;
}

}  // namespace core
