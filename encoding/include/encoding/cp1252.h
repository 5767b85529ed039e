// Conversion between UTF-8 (the console's, the web page's and, through UTF-16,
// the Windows controls' texts) and Windows-1252 (the engine's and the files').
#pragma once

#include <string>
#include <string_view>

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code point at *pos, moving *pos past it; a malformed byte (a broken or
// overlong sequence, a surrogate) gives U+FFFD and moves past that byte alone.
char32_t NextCodePoint(std::string_view utf8, std::size_t* pos);
void AppendUtf8(std::string* out, char32_t c);

// Characters that Windows-1252 cannot hold, and malformed UTF-8, become "?";
// *lost, when given, is set to whether any did (a "?" of the text itself is no
// loss). The five bytes Windows-1252 leaves undefined stand for the C1 controls
// of the same number, as in Windows' own conversion, so they round-trip.
std::string Utf8ToCp1252(std::string_view utf8, bool* lost = nullptr);
std::string Cp1252ToUtf8(std::string_view cp1252);
