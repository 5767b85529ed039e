// The about window's texts by language: its title, exclamations, web address, and author and mail lines.
#include "about/about_texts.h"

namespace {

constexpr char kAuthorName[] = "Vantel";

constexpr const char* kTitlePrefixes[kLanguageCount] = {"Quant a ", "About ", "Respecto "};

constexpr const char* kExclamations[kLanguageCount][kExclamationCount] = {
    {"buenu", "Ah!", "Oh!", "vaja!", "hum!", "mmm..", "i v\351s!"},
    {"Ok", "Ah!", "Oh!", "Bah!", "hum!", "mmm..", "Done"},
    {"bueno", "\241Ah!", "\241Oh!", "ps\351", "hum!", "mmm..", "\241vaya!"},
};

constexpr const char* kWebAddresses[kLanguageCount] = {
    "https://vantel.example",
    "https://vantel.example/en",
    "https://vantel.example/es",
};

}  // namespace

const char* AboutTitlePrefix(Language language) { return kTitlePrefixes[ValidLanguage(language)]; }

const char* AboutExclamation(Language language, int index) {
  if (index < 0 || index >= kExclamationCount) index = 0;
  return kExclamations[ValidLanguage(language)][index];
}

const char* AboutWebAddress(Language language) { return kWebAddresses[ValidLanguage(language)]; }

ShortString AboutTitle(Language language, const ShortString& program_name) {
  return ShortString(AboutTitlePrefix(language)) + program_name.view() + "...";
}

ShortString AboutAuthorLine(const ShortString& year_text) {
  return ShortString(kAuthorName) + " - " + year_text.view();
}

ShortString AboutWebLine(Language language) { return ShortString("web: ") + AboutWebAddress(language); }

ShortString AboutMailLine(const ShortString& mail) {
  if (mail.empty()) return {};
  return ShortString("mail: ") + mail.view();
}
