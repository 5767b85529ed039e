// A path's file name after its last "\", and that name without its extension.
#include "portable/paths.h"

#include "format/text.h"

ShortString FileNameOf(const ShortString& path) {
  std::uint16_t slash = LastPos('\\', path.view());
  return path.Sub(slash);
}

ShortString BaseNameOf(const ShortString& path) {
  ShortString name = FileNameOf(path);
  std::uint16_t dot = LastPos('.', name.view());
  if (dot == 0) return name;
  return name.Sub(0, dot - 1);
}
