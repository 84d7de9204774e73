// LRC files from outside: decoding and parsing must never crash, and every
// tag row must come from a real bracket pair.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/lrc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const app::LrcTables tables = app::ParseLrcFile(bytes);
    for (const app::LrcRow& row : tables.index) {
        if (row.caption.find(']') != std::string::npos) std::abort();
    }
    app::FindLyricRow(tables.index, "00:01");
    if (!tables.index.empty() && !tables.index.front().caption.empty() &&
        !app::FindLyricRow(tables.index, tables.index.front().caption)) std::abort();
    return 0;
}
