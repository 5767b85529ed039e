#include "about/about_texts.h"

namespace {

constexpr int kLanguages = 3;
constexpr char kAuthorName[] = "Vantel";

constexpr const char* kTitlePrefixes[kLanguages] = {"Quant a ", "About ", "Respecto "};

constexpr const char* kExclamations[kLanguages][kExclamationCount] = {
    {"buenu", "Ah!", "Oh!", "vaja!", "hum!", "mmm..", "i v\351s!"},
    {"Ok", "Ah!", "Oh!", "Bah!", "hum!", "mmm..", "Done"},
    {"bueno", "\241Ah!", "\241Oh!", "ps\351", "hum!", "mmm..", "\241vaya!"},
};

constexpr const char* kWebAddresses[kLanguages] = {
    "https://vantel.example",
    "https://vantel.example/en",
    "https://vantel.example/es",
};

int Clamp(int language) { return language >= 0 && language < kLanguages ? language : 0; }

}  // namespace

const char* AboutTitlePrefix(int language) { return kTitlePrefixes[Clamp(language)]; }

const char* AboutExclamation(int language, int index) {
  if (index < 0 || index >= kExclamationCount) index = 0;
  return kExclamations[Clamp(language)][index];
}

const char* AboutWebAddress(int language) { return kWebAddresses[Clamp(language)]; }

ShortString AboutTitle(int language, const ShortString& program_name) {
  return ShortString(AboutTitlePrefix(language)) + program_name.view() + "...";
}

ShortString AboutAuthorLine(const ShortString& year_text) {
  return ShortString(kAuthorName) + " - " + year_text.view();
}

ShortString AboutWebLine(int language) { return ShortString("web: ") + AboutWebAddress(language); }

ShortString AboutMailLine(const ShortString& mail) {
  if (mail.empty()) return {};
  return ShortString("mail: ") + mail.view();
}
