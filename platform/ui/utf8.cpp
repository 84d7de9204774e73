#include "platform/ui/utf8.h"

#include "platform/core/text.h"

namespace ui::utf8 {

char32_t Decode(const std::string& s, size_t i, size_t* length)
{
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    size_t n = s.size();
    if (i >= n) {
        if (length) *length = 0;
        return 0;
    }
    unsigned char c = byte(i);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    if (extra < 0 || i + extra >= n) {
        if (length) *length = 1;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char cc = byte(i + k);
        if ((cc >> 6) != 2) {
            if (length) *length = 1;
            return 0xFFFD;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (length) *length = static_cast<size_t>(extra) + 1;
    return cp;
}

void Append(std::string& out, char32_t cp) { core::AppendUtf8(out, cp); }

std::string Encode(char32_t cp)
{
    std::string s;
    Append(s, cp);
    return s;
}

size_t Next(const std::string& s, size_t i)
{
    if (i >= s.size()) return s.size();
    size_t len = 1;
    Decode(s, i, &len);
    return i + (len ? len : 1);
}

size_t Prev(const std::string& s, size_t i)
{
    if (i == 0) return 0;
    if (i > s.size()) i = s.size();
    size_t j = i - 1;
    while (j > 0 && (static_cast<unsigned char>(s[j]) >> 6) == 2 && i - j < 4) --j;
    return j;
}

std::vector<char32_t> CodePoints(const std::string& s)
{
    std::vector<char32_t> out;
    for (size_t i = 0; i < s.size();) {
        size_t len = 1;
        out.push_back(Decode(s, i, &len));
        i += len ? len : 1;
    }
    return out;
}

size_t Length(const std::string& s)
{
    size_t n = 0;
    for (size_t i = 0; i < s.size(); i = Next(s, i)) ++n;
    return n;
}

size_t OffsetOf(const std::string& s, size_t n)
{
    size_t i = 0;
    while (n > 0 && i < s.size()) {
        i = Next(s, i);
        --n;
    }
    return i;
}

char32_t ToLowerAscii(char32_t c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (ToLowerAscii(static_cast<unsigned char>(text[i])) !=
            ToLowerAscii(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

}  // namespace ui::utf8
