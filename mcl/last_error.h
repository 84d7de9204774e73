// The calling thread's last error, as MclGetError/MclGetErrorStr report it.
#pragma once

#include <cstdint>
#include <string>

namespace mcl {

void SetLastError(int32_t code, std::string text);
void ClearLastError();
int32_t LastErrorCode();
const char* LastErrorText();

}  // namespace mcl
