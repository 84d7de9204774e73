// The calling thread's last error, as MclGetError/MclGetErrorStr report it.
#pragma once

#include <cstdint>
#include <string>

namespace mcl {

// The list entry an input error belongs to; index -1: none.
struct ErrorEntry {
    bool audio = false;
    int32_t index = -1;
};

// An error of no entry.
void SetLastError(int32_t code, std::string text);
void SetLastInputError(int32_t code, std::string text, ErrorEntry entry);
ErrorEntry LastErrorEntry();
void ClearLastError();
int32_t LastErrorCode();
const char* LastErrorText();

}  // namespace mcl
