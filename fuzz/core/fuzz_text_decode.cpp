// Any bytes decode to valid UTF-8 under the encoding the detector names,
// and the detector names one that the decoder knows.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/text.h"
#include "platform/core/text_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string encoding = core::DetectTextEncoding(bytes);
    if (encoding.empty()) std::abort();
    const std::string text = core::DecodeText(bytes);
    if (!core::IsValidUtf8(text)) std::abort();
    // UTF-8 without a mark stays as it is.
    if (encoding == "UTF-8" && core::IsValidUtf8(bytes) && !bytes.starts_with("\xEF\xBB\xBF") &&
        text != bytes)
        std::abort();
    return 0;
}
