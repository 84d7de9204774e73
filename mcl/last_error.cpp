#include "mcl/last_error.h"

namespace mcl {
namespace {
thread_local int32_t t_code = 0;
thread_local std::string t_text;
thread_local ErrorEntry t_entry;
}  // namespace

void SetLastError(int32_t code, std::string text) { SetLastInputError(code, std::move(text), {}); }

void SetLastInputError(int32_t code, std::string text, ErrorEntry entry)
{
    t_code = code;
    t_text = std::move(text);
    t_entry = entry;
}

ErrorEntry LastErrorEntry() { return t_entry; }

void ClearLastError()
{
    t_code = 0;
    t_text.clear();
    t_entry = {};
}

int32_t LastErrorCode() { return t_code; }
const char* LastErrorText() { return t_text.c_str(); }

}  // namespace mcl
