// Where the parenthesised groups of a text are, for the evaluator and the
// compiler alike. (The formula check only counts a balance; it matches nothing.)
#pragma once

#include <cstdint>
#include <string_view>

#include "format/short_string.h"

struct Group {
  int open = 0;   // 1-based position of "(", 0 when there is no group
  int close = 0;  // 1-based position of the matching ")"
};

// The ")" that closes a "(" is the first after it that closes as many
// parentheses as were opened in between. For each "(" of a text (at most 255
// characters), how far on that ")" is, or 0 when it has none; the distance stays
// right when the text before the "(" is rewritten. A ")" that closes nothing is
// left over.
struct GroupMatches {
  std::uint8_t distance[ShortString::kCapacity] = {};
  bool in_order = true;  // every ")" closes a "(" and every "(" is closed
  explicit GroupMatches(std::string_view text);
};

// The first complete group at depth 0: scanning from the first character, every
// "(" adds 1 to the depth and every ")" takes 1 off; a "(" met at depth 0 opens
// the group and the ")" that closes it ends it. No group when that "(" has no
// ")" (then no later "(" is met at depth 0 either).
Group FirstGroup(std::string_view text, const GroupMatches& matches);
inline Group FirstGroup(std::string_view text) { return FirstGroup(text, GroupMatches(text)); }
