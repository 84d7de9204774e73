#pragma once
// Text at the file boundary: outside text files are decoded to UTF-8 (a BOM
// names the encoding; otherwise valid UTF-8 stays UTF-8; otherwise GB18030),
// and the ANSI files the program writes are encoded to GB18030, of which
// GBK is a subset. Inside, text is UTF-8; characters are code points.
#include <string>
#include <string_view>
#include <vector>

namespace app {

std::string DecodeOutsideText(std::string_view bytes);

// The program's own ANSI files: a BOM names the encoding, otherwise the
// bytes are GB18030 (never guessed as UTF-8).
std::string DecodeAnsiText(std::string_view bytes);

// UTF-8 to GB18030 (every code point has a GB18030 form).
std::string EncodeAnsiText(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);

// Code points of UTF-8 text; an invalid byte becomes U+FFFD.
std::u32string Utf8ToCodePoints(std::string_view utf8);
std::string CodePointsToUtf8(std::u32string_view code_points);

// Lines split at CR LF, LF and CR; a break at the very end starts no
// further line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace app
