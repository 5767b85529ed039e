// The engine's results by the names Vantel's dialog and its description use:
// the process-wide LanguageIndex, ResultCode and ResultTexts, the start-up step,
// and the calls that leave their result in them (Evaluate, IntegerPower,
// Factorial, TermValue, PartialSum, PartialProduct). Each is set in this unit
// alone and read by the program's shell; the rest of the engine takes the
// language as an argument and hands back its Result.
#pragma once

#include <cstdint>

#include "engine/check.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "engine/sequence.h"
#include "format/short_string.h"

// Vantel's language, Catalan: set by its definition alone. The dialog passes it
// to the check, the term request and the about window; LoadResultTexts reads it.
extern Language LanguageIndex;

// The code of the last call below; a value is used only when it is 0.
extern std::int32_t ResultCode;

// Texts of the result codes 0 to 4 in the language of LanguageIndex (filled by LoadResultTexts).
extern ShortString ResultTexts[kResultCodeCount];

// Copies the five texts of LanguageIndex's language into ResultTexts.
void LoadResultTexts();

// The engine's start-up: loads the result texts of LanguageIndex's language.
// Number texts always use "." as the decimal point.
void EngineStartup();

// The value of a text; the code in ResultCode, the result texts loaded.
double Evaluate(const ShortString& text);

// x^e and m! (code 2 above 170), the code in ResultCode.
double IntegerPower(double x, std::int32_t e);
double Factorial(std::uint16_t m);

// a_n, S_n and P_n, each leaving its code in ResultCode and the result texts
// loaded. For n = 0, S_n and P_n compute nothing and ResultCode keeps its value.
double TermValue(const ShortString& formula, std::uint16_t n);
double PartialSum(const ShortString& formula, std::uint16_t n);
double PartialProduct(const ShortString& formula, std::uint16_t n);
