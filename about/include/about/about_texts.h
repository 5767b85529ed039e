// The about window's texts in Catalan, English and Spanish, by Vantel's one
// language index (the engine's Language).
#pragma once

#include "engine/messages.h"
#include "format/short_string.h"

constexpr int kExclamationCount = 7;

// "Quant a ", "About ", "Respecto ": the window title before the program name.
const char* AboutTitlePrefix(Language language);

// The button's caption, drawn at random from the seven of a language.
const char* AboutExclamation(Language language, int index);

// The project's web address in the language: "/en" and "/es" for English and
// Spanish.
const char* AboutWebAddress(Language language);

// The window title: "Quant a Vantel..." for the program Vantel in Catalan.
ShortString AboutTitle(Language language, const ShortString& program_name);

// The author line: the author's name, " - " and the year.
ShortString AboutAuthorLine(const ShortString& year_text);

// "web: " and the full web address.
ShortString AboutWebLine(Language language);

// "mail: " and the address; empty when there is no address, so nothing is drawn.
ShortString AboutMailLine(const ShortString& mail);

// The author's e-mail address: none, so the window draws no mail line.
inline constexpr char kAuthorMail[] = "";
