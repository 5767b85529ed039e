// The formula check: valid characters, the first and last one, which neighbours may meet, the parentheses.
#include "engine/check.h"

#include <cstring>

#include "engine/messages.h"
#include "format/text.h"

namespace {

bool IsExponentLetter(char c) { return c == 'E' || c == 'e'; }
bool In(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

bool IsValid(char c) { return IsLetter(c) || IsDigit(c) || In(c, "!()*+-./^"); }
// May not begin a formula.
bool IsForbiddenFirst(char c) { return In(c, "!)*/^"); }
// An operand must follow.
bool IsPending(char c) { return In(c, "(*+-/^"); }
// May stand before a letter or "(".
bool IsJoining(char c) { return In(c, "!(*+-/^"); }
bool IsOpening(char c) { return c == '(' || (IsLetter(c) && !IsExponentLetter(c)); }
bool IsClosing(char c) { return c == ')' || (IsLetter(c) && !IsExponentLetter(c)); }
bool IsNumberChar(char c) { return IsDigit(c) || c == '.'; }
// Takes the operand before it: may not follow a pending character.
bool IsOperandTaking(char c) { return In(c, "!)*+/^"); }

enum ScanError { kInvalidCharacter = 1, kOperatorMissing = 2, kOperandMissing = 3 };

void Show(CheckMessage* message, ShortString caption, ShortString text) {
  message->shown = true;
  message->caption = caption;
  message->text = text;
}

// The first neighbour rule that a character breaks, or 0.
int NeighbourError(char x, char y) {
  if (IsOpening(x) && !IsJoining(y)) return kOperatorMissing;
  if (IsNumberChar(x) && IsClosing(y)) return kOperatorMissing;
  if (IsOperandTaking(x) && IsPending(y)) return kOperandMissing;
  return 0;
}

}  // namespace

bool CheckFormula(const ShortString& formula, Language language, CheckMessage* message) {
  *message = CheckMessage{};
  const std::string_view f = formula.view();
  if (Trim(f).empty()) return false;

  if (IsForbiddenFirst(f.front())) {
    Show(message, CheckMessageCaption(language, kOperandMissing), "? " + formula);
    return false;
  }
  if (IsPending(f.back())) {
    Show(message, CheckMessageCaption(language, kOperandMissing), formula + " ?");
    return false;
  }

  int balance = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const char x = f[i];
    if (x == '(') ++balance;
    if (x == ')') --balance;
    int error = 0;
    if (!IsValid(x)) {
      error = kInvalidCharacter;
    } else if (i >= 1) {
      error = NeighbourError(x, f[i - 1]);
    }
    if (error == kInvalidCharacter) {
      Show(message, CheckMessageCaption(language, error), formula.Sub(0, i + 1) + " : " + x);
      return false;
    }
    if (error != 0) {
      Show(message, CheckMessageCaption(language, error), formula.Sub(0, i) + "?" + x);
      return false;
    }
  }

  if (balance != 0) {
    ShortString text = "  \"(\"  ";
    text += balance > 0 ? '>' : '<';
    text += "  \")\"";
    Show(message, "Error: ", text);
    return false;
  }
  return true;
}
