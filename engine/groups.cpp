// Matching each "(" with its ")" in one scan, and finding the first complete group at depth 0.
#include "engine/groups.h"

GroupMatches::GroupMatches(std::string_view text) {
  std::uint8_t open[ShortString::kCapacity];
  int depth = 0;
  const int size = static_cast<int>(text.size() < ShortString::kCapacity ? text.size() : ShortString::kCapacity);
  for (int i = 0; i < size; ++i) {
    if (text[i] == '(') {
      open[depth++] = static_cast<std::uint8_t>(i);
    } else if (text[i] == ')') {
      if (depth == 0) {
        in_order = false;
        continue;
      }
      const int o = open[--depth];
      distance[o] = static_cast<std::uint8_t>(i - o);
    }
  }
  if (depth != 0) in_order = false;
}

Group FirstGroup(std::string_view text, const GroupMatches& matches) {
  int depth = 0;
  for (int i = 0; i < static_cast<int>(text.size()); ++i) {
    if (text[i] == '(') {
      if (depth == 0) {
        const int d = matches.distance[i];
        return d == 0 ? Group{} : Group{i + 1, i + 1 + d};
      }
      ++depth;
    } else if (text[i] == ')') {
      --depth;
    }
  }
  return {};
}
