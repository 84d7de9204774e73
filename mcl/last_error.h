// The calling thread's last error, as MclGetError/MclGetErrorStr report it,
// with the errno and the file behind it.
#pragma once

#include <cstdint>
#include <string>

namespace mcl {

// The list entry an input error belongs to; index -1: none.
struct ErrorEntry {
    bool audio = false;
    int32_t index = -1;
};

// An error of no entry, with the errno and the file behind it.
void SetLastError(int32_t code, std::string text, int systemCode = 0, std::string file = {});
// An input entry's error, naming the entry and its file.
void SetLastInputError(int32_t code, std::string text, ErrorEntry entry, std::string file);
ErrorEntry LastErrorEntry();
void ClearLastError();
int32_t LastErrorCode();
const char* LastErrorText();
int LastErrorSystemCode();
const char* LastErrorFile();

}  // namespace mcl
