// LRC files from outside, as the lyric tables load them: decoding and
// parsing must never crash, every tag row must come from a real bracket
// pair on one line, and the lookup must find what it is given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/lrc.h"

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(text[i]) != lower(prefix[i])) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const app::LrcTables tables = app::ParseLrcFile(bytes);
    for (const app::LrcRow& row : tables.index) {
        if (row.caption.find(']') != std::string::npos) std::abort();
        for (const std::string* text : {&row.caption, &row.text})
            if (text->find('\n') != std::string::npos || text->find('\r') != std::string::npos) std::abort();
        // The lookup by a row's own first characters finds a row that begins so.
        const std::string_view key = std::string_view(row.caption).substr(0, 5);
        const std::optional<size_t> found = app::FindLyricRow(tables.index, key);
        if (!key.empty() && (!found || !StartsWithIgnoringCase(tables.index[*found].caption, key)))
            std::abort();
    }
    for (const std::string& line : tables.lines)
        if (line.find('\n') != std::string::npos) std::abort();
    app::FindLyricRow(tables.index, "00:01");
    return 0;
}
