// The bits of one value read as another type of the same size, as std::bit_cast
// does; for the standard libraries that lack std::bit_cast (emscripten's).
#pragma once

#include <cstring>
#include <type_traits>

template <class To, class From>
To BitCast(const From& from) {
  static_assert(sizeof(To) == sizeof(From), "BitCast needs types of one size");
  static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>,
                "BitCast copies bytes: both types must be trivially copyable");
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}
