// The interface language of Tools: its choice and its texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr std::int16_t kLanguageCatalan = 0;
constexpr std::int16_t kLanguageEnglish = 1;
constexpr std::int16_t kLanguageSpanish = 2;
constexpr std::int16_t kUndecided = -1;  // only while the choice is being made

inline constexpr const char* kLanguageFile = "Lng.txt";

// The language of a language word, compared in lower case: "cat" Catalan, "esp"
// Spanish, any other non-empty text English; an empty word decides nothing.
std::int16_t LanguageOfWord(std::string_view word);

struct LanguageChoice {
  std::int16_t language;
  bool HostMode;  // the language came neither from the command line nor from the language file
};

// Chooses the language from the command text or, when that is empty, from the
// first field of the language file. Without a usable language file (none, an
// empty one, or one whose first field is empty) the language stays as it was and
// HostMode is set.
LanguageChoice SelectLanguage(std::string_view commandText, std::int16_t language,
                              const std::string& languageFile = kLanguageFile);

// The argument text of a whole command line: what follows the program name and
// the blanks after it.
std::string CommandText(std::string_view commandLine);

// The texts of the window in one language.
struct WindowTexts {
  const char* caption;  // of the form
  const char* tools;    // label over the list
  const char* tool;     // the frame
  const char* fields[4];
};
const WindowTexts& WindowTextsOf(std::int16_t language);

// The delete confirmation: its caption and the start of its prompt.
const char* DeleteCaption(std::int16_t language);
const char* DeletePromptStart(std::int16_t language);

// The texts of the refusals and warnings of the editor.
enum class Notice {
  kListFull,      // a thirteenth tool
  kEmptyTitle,    // a tool without a title
  kNotWritten,    // the list file could not be written
  kToolsDropped,  // the list file holds more than twelve tools
  kNotRead,       // the list file exists but could not be read
  kReadInPart,    // the list file was read only up to a place before its end
  kChanged,       // the question whether to replace a list file changed since it was read
  kNotCodePage,   // a field holds characters that the list file cannot hold
  kBusy,          // another copy kept saving the list file for the whole wait
  kNowhere,       // at start: neither the current folder nor the per-user folder can take the list file
};
const char* NoticeText(Notice notice, std::int16_t language);

// The text in upper case, Windows-1252 letters with accents included.
std::string UpperCase(std::string_view text);

// The prompt of the delete confirmation for a tool title.
std::string DeletePrompt(std::string_view title, std::int16_t language);
