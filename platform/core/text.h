#pragma once
// Text inside the program is UTF-8. These routines count characters (code
// points), decode outside text files, and fold ASCII letter case.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// --- Characters of UTF-8 text. A byte that starts no valid sequence counts
// as one character, so every routine works on any bytes.
bool IsValidUtf8(std::string_view bytes);
size_t LengthChars(std::string_view text);
// The first / last `count` characters (all of them when fewer; none when
// count <= 0).
std::string LeftChars(std::string_view text, int count);
std::string RightChars(std::string_view text, int count);
// `count` characters from character `start`, counted from 1 (a start
// below 1 counts as 1).
std::string MidChars(std::string_view text, int start, int count);
// The text without its last `count` characters: "照片.jpg" without 4 gives
// "照片"; a text of `count` characters or fewer gives "".
std::string DropLastChars(std::string_view text, int count);

std::u32string Utf8ToCodePoints(std::string_view text);  // bad bytes: U+FFFD
std::string CodePointsToUtf8(std::u32string_view code_points);
void AppendUtf8(std::string& out, char32_t code_point);

// --- Outside text. A byte-order mark decides (UTF-8, UTF-16 LE or BE);
// otherwise the encoding that DetectTextEncoding (text_decode.h) names, with
// GB18030 (a superset of GBK) where a short text reads as Chinese too.
// Undecodable bytes become U+FFFD.
std::string DecodeText(std::string_view bytes);
std::string GbkToUtf8(std::string_view gbk);
// Every character has a GB18030 form; bad UTF-8 bytes become '?'.
std::string Utf8ToGbk(std::string_view text);

// Lines end at CR LF, LF or CR; a break at the very end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// --- ASCII letter case and small conversions.
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);  // <0, 0, >0
// As file managers order names: case-insensitive, with runs of digits
// compared by their value ("photo2" before "photo10").
int CompareNatural(std::string_view a, std::string_view b);
bool StartsText(std::string_view prefix, std::string_view text);
bool EndsText(std::string_view suffix, std::string_view text);
// Spaces, tabs and other control characters at both ends removed.
std::string Trim(std::string_view text);

std::string IntToStr(int64_t value);
// Decimal with an optional sign, or hexadecimal after "$" or "0x"; spaces
// around are allowed; anything else, or out of range, gives `fallback`.
int StrToIntDef(std::string_view text, int fallback);
int64_t StrToInt64Def(std::string_view text, int64_t fallback);
// A decimal number with an optional fraction and exponent ('.' only).
double StrToFloatDef(std::string_view text, double fallback);

}  // namespace core
