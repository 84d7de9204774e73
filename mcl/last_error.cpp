#include "mcl/last_error.h"

namespace mcl {
namespace {
thread_local int32_t t_code = 0;
thread_local std::string t_text;
}  // namespace

void SetLastError(int32_t code, std::string text)
{
    t_code = code;
    t_text = std::move(text);
}

void ClearLastError()
{
    t_code = 0;
    t_text.clear();
}

int32_t LastErrorCode() { return t_code; }
const char* LastErrorText() { return t_text.c_str(); }

}  // namespace mcl
