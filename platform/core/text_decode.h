#pragma once
// Which encoding an outside text (a lyric file, a movie's text, a record
// of another installer) is in. core::DecodeText (text.h) decodes with it.
#include <string>
#include <string_view>

namespace core {

// The iconv name of the bytes' encoding: "UTF-8", "UTF-16LE", "UTF-16BE",
// "GB18030", "BIG5", "CP932", "CP949", "WINDOWS-1251", ... A byte-order
// mark decides; otherwise a charset detector names it, and short texts that
// read as Chinese as well as anything else are GB18030.
std::string DetectTextEncoding(std::string_view bytes);

}  // namespace core
