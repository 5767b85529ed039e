#include "portable/int_reading.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* text;
  std::int32_t value;
  std::int32_t error;
};

// The n field's reading: blanks around the number, decimal, "$" hexadecimal and
// "%" binary integers of 32 bits, the whole text or nothing.
TEST(ReadInteger, TypedIntegers) {
  const Case cases[] = {
      {"  12  ", 12, 0},
      {"", 0, 0},
      {"    ", 0, 0},
      {"12a", 0, 1},
      {"1.5", 0, 1},
      {"+", 0, 1},
      {"-", 0, 1},
      {"$", 0, 1},
      {"%", 0, 1},
      {"-$", 0, 1},
      {"-2147483648", -2147483647 - 1, 0},
      {"2147483647", 2147483647, 0},
      {"2147483648", 0, 1},
      {"-2147483649", 0, 1},
      {"99999999999999999999", 0, 1},
      {"$10", 16, 0},
      {"$A", 10, 0},
      {"$ff", 255, 0},
      {"$00000000FF", 255, 0},
      {"$FFFFFFFF", -1, 0},
      {"$100000000", 0, 1},
      {"%101", 5, 0},
      {"%102", 0, 1},
      {"-$10", -16, 0},
      {"+7", 7, 0},
      {"\t7", 7, 0},
      {"7\t", 0, 1},
      {"1 2", 0, 1},
      {"0x10", 0, 1},
      {"$-1", 0, 1},
      {"--1", 0, 1},
      {"65535", 65535, 0},
  };
  for (const Case& c : cases) {
    std::int32_t error = -5;
    EXPECT_EQ(ReadInteger(c.text, &error), c.value) << '"' << c.text << '"';
    EXPECT_EQ(error, c.error) << '"' << c.text << '"';
  }
}

}  // namespace
