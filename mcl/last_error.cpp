#include "mcl/last_error.h"

namespace mcl {
namespace {
thread_local int32_t t_code = 0;
thread_local std::string t_text;
thread_local int t_system = 0;
thread_local std::string t_file;
thread_local ErrorEntry t_entry;
}  // namespace

void SetLastError(int32_t code, std::string text, int systemCode, std::string file)
{
    t_code = code;
    t_text = std::move(text);
    t_system = systemCode;
    t_file = std::move(file);
    t_entry = {};
}

void SetLastInputError(int32_t code, std::string text, ErrorEntry entry, std::string file)
{
    SetLastError(code, std::move(text), 0, std::move(file));
    t_entry = entry;
}

ErrorEntry LastErrorEntry() { return t_entry; }

void ClearLastError() { SetLastError(0, {}); }

int32_t LastErrorCode() { return t_code; }
const char* LastErrorText() { return t_text.c_str(); }
int LastErrorSystemCode() { return t_system; }
const char* LastErrorFile() { return t_file.c_str(); }

}  // namespace mcl
