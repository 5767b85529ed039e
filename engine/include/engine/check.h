// The syntax check of a formula, run before anything is computed.
#pragma once

#include "engine/messages.h"
#include "format/short_string.h"

// What the check would show the user: a message with a caption and a text, or
// nothing (an empty formula is rejected silently).
struct CheckMessage {
  bool shown = false;
  ShortString caption;
  ShortString text;
};

// True when the formula is acceptable. On false, *message holds the message to
// show, if any, in the language. Changes nothing else.
bool CheckFormula(const ShortString& formula, Language language, CheckMessage* message);
