// UTF-8 <-> UTF-16 for the wide-character Windows calls, so that file names and
// command-line arguments keep any letters. Windows only.
#pragma once

#include <string>
#include <string_view>

std::wstring WideOf(std::string_view utf8);
std::string Utf8Of(std::wstring_view wide);
