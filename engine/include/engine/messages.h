// The engine's texts in Catalan, English and Spanish: the captions of the formula
// check's messages and the texts of the five result codes.
#pragma once

#include <cstdint>

#include "format/short_string.h"

// Vantel's languages: the one index that selects the engine's texts and the
// about window's.
enum Language : int { kCatalan = 0, kEnglish = 1, kSpanish = 2 };
constexpr int kLanguageCount = 3;
constexpr int kResultCodeCount = 5;

// A language index as a language: an index out of range is Catalan.
inline Language ValidLanguage(int index) {
  return index >= 0 && index < kLanguageCount ? static_cast<Language>(index) : kCatalan;
}

// Captions of the check's messages by error number (0 is empty): 1 invalid
// character, 2 operator missing, 3 operand missing.
const char* CheckMessageCaption(Language language, int number);

// The text of a result code in a language (0 is the empty text).
const char* ResultText(Language language, int code);
