#include "about/about_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

struct LanguageCase {
  Language language;
  const char* title;
  const char* web_line;
  const char* last_exclamation;
};

TEST(AboutTexts, ByLanguage) {
  const LanguageCase cases[] = {
      {kCatalan, "Quant a Vantel...", "web: https://vantel.example", "i v\351s!"},
      {kEnglish, "About Vantel...", "web: https://vantel.example/en", "Done"},
      {kSpanish, "Respecto Vantel...", "web: https://vantel.example/es", "\241vaya!"},
  };
  for (const LanguageCase& c : cases) {
    EXPECT_EQ(AboutTitle(c.language, "Vantel"), c.title);
    EXPECT_EQ(AboutWebLine(c.language), c.web_line);
    EXPECT_STREQ(AboutExclamation(c.language, kExclamationCount - 1), c.last_exclamation);
    std::set<std::string> distinct;
    for (int k = 0; k < kExclamationCount; ++k) distinct.insert(AboutExclamation(c.language, k));
    EXPECT_EQ(distinct.size(), 7u) << c.language;
  }
}

// The uninstall entry links to the address of the release manifest: the same one the
// window shows to a Catalan reader.
TEST(AboutTexts, WebAddressIsTheReleases) { EXPECT_STREQ(AboutWebAddress(kCatalan), VANTEL_RELEASE_ADDRESS); }

TEST(AboutTexts, TitleFollowsTheProgramFile) { EXPECT_EQ(AboutTitle(kCatalan, "Serie"), "Quant a Serie..."); }

TEST(AboutTexts, AuthorAndMailLines) {
  EXPECT_EQ(AboutAuthorLine("2026"), "Vantel - 2026");
  EXPECT_EQ(AboutMailLine(""), "");
  EXPECT_EQ(AboutMailLine("someone@vantel.example"), "mail: someone@vantel.example");
  EXPECT_STREQ(kAuthorMail, "");
}

}  // namespace
