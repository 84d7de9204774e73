// The calling thread's last error, as MclGetError/MclGetErrorStr report it,
// with the errno and the file behind it.
#pragma once

#include <cstdint>
#include <string>

namespace mcl {

void SetLastError(int32_t code, std::string text, int systemCode = 0, std::string file = {});
void ClearLastError();
int32_t LastErrorCode();
const char* LastErrorText();
int LastErrorSystemCode();
const char* LastErrorFile();

}  // namespace mcl
