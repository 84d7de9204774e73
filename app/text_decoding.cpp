#include "app/text_decoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace app {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One converter call over the whole input. Undecodable input is skipped a
// byte at a time and stands as U+FFFD (decoding) or is dropped (encoding,
// which cannot fail for valid UTF-8 into GB18030).
std::string Convert(const char* to, const char* from, std::string_view input, std::string_view replacement)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
    std::string output;
    std::string buffer(4096, '\0');
    char* in = const_cast<char*>(input.data());
    size_t in_left = input.size();
    while (in_left > 0) {
        char* out = buffer.data();
        size_t out_left = buffer.size();
        const size_t result = iconv(cd, &in, &in_left, &out, &out_left);
        output.append(buffer.data(), buffer.size() - out_left);
        if (result != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (a truncated sequence at the end): skip one byte.
        output.append(replacement);
        ++in;
        --in_left;
    }
    char* out = buffer.data();
    size_t out_left = buffer.size();
    iconv(cd, nullptr, nullptr, &out, &out_left);
    output.append(buffer.data(), buffer.size() - out_left);
    iconv_close(cd);
    return output;
}

// The length of the valid UTF-8 sequence at text[i], or 0.
size_t Utf8SequenceLength(std::string_view text, size_t i, char32_t& code_point)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        code_point = lead;
        return 1;
    }
    size_t length;
    char32_t value;
    if (lead >= 0xC2 && lead <= 0xDF) { length = 2; value = lead & 0x1F; }
    else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; value = lead & 0x0F; }
    else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; value = lead & 0x07; }
    else return 0;
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
        (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    code_point = value;
    return length;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string CleanUtf8(std::string_view bytes)
{
    return CodePointsToUtf8(Utf8ToCodePoints(bytes));
}

}  // namespace

bool IsValidUtf8(std::string_view bytes)
{
    char32_t ignored;
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = Utf8SequenceLength(bytes, i, ignored);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::u32string Utf8ToCodePoints(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t c;
        const size_t length = Utf8SequenceLength(utf8, i, c);
        if (length == 0) {
            out += kReplacement;
            ++i;
        } else {
            out += c;
            i += length;
        }
    }
    return out;
}

std::string CodePointsToUtf8(std::u32string_view code_points)
{
    std::string out;
    out.reserve(code_points.size());
    for (char32_t c : code_points) AppendUtf8(out, c);
    return out;
}

std::string DecodeOutsideText(std::string_view bytes)
{
    const std::string_view replacement = "\xEF\xBF\xBD";
    if (bytes.starts_with("\xEF\xBB\xBF")) return CleanUtf8(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE")) return CleanUtf8(Convert("UTF-8", "UTF-16LE", bytes.substr(2), replacement));
    if (bytes.starts_with("\xFE\xFF")) return CleanUtf8(Convert("UTF-8", "UTF-16BE", bytes.substr(2), replacement));
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return CleanUtf8(Convert("UTF-8", "GB18030", bytes, replacement));
}

std::string DecodeAnsiText(std::string_view bytes)
{
    const bool has_bom = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
                         bytes.starts_with("\xFE\xFF");
    if (has_bom) return DecodeOutsideText(bytes);
    return CleanUtf8(Convert("UTF-8", "GB18030", bytes, "\xEF\xBF\xBD"));
}

std::string EncodeAnsiText(std::string_view utf8)
{
    return Convert("GB18030", "UTF-8", CleanUtf8(utf8), "");
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

}  // namespace app
