#pragma once
// UTF-8 helpers for text editing: code points and their boundaries.
#include <cstddef>
#include <string>
#include <vector>

namespace ui::utf8 {

// The code point at byte offset i (invalid bytes read as U+FFFD) and its length.
char32_t Decode(const std::string& s, size_t i, size_t* length = nullptr);
void Append(std::string& out, char32_t cp);
std::string Encode(char32_t cp);
// Byte offset of the next / previous code point boundary.
size_t Next(const std::string& s, size_t i);
size_t Prev(const std::string& s, size_t i);
std::vector<char32_t> CodePoints(const std::string& s);
// Number of code points.
size_t Length(const std::string& s);
// Byte offset of the n-th code point (clamped to the end).
size_t OffsetOf(const std::string& s, size_t n);
// Lower case for ASCII letters, the code point itself otherwise.
char32_t ToLowerAscii(char32_t c);
// Case-insensitive (ASCII letters) prefix test.
bool StartsWithNoCase(const std::string& text, const std::string& prefix);
bool EqualsNoCase(const std::string& a, const std::string& b);

}  // namespace ui::utf8
