// Conversion between UTF-8 (the console's texts) and Windows-1252 (the engine's).
#pragma once

#include <string>
#include <string_view>

// Characters that Windows-1252 cannot hold, and malformed UTF-8, become "?".
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view cp1252);
