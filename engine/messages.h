// The engine's texts in Catalan, English and Spanish: the captions of the formula
// check's messages and the texts of the five result codes.
#pragma once

#include <cstdint>

#include "format/short_string.h"

enum Language : int { kCatalan = 0, kEnglish = 1, kSpanish = 2 };
constexpr int kLanguageCount = 3;
constexpr int kResultCodeCount = 5;

// Captions of the check's messages by error number (0 is empty): 1 invalid
// character, 2 operator missing, 3 operand missing.
const char* CheckMessageCaption(int language, int number);

// The text of a result code in a language (0 is the empty text).
const char* ResultText(int language, int code);

// Until the dialog's callers include it themselves.
#include "engine/dialog_state.h"
