// A formula prepared once per request: its groups, splits and leaves are found
// once, and each term k is then computed from a small program without building or
// rescanning text. Every term gives exactly the value and the code the text
// evaluation of its term text gives; where that cannot be guaranteed (a formula
// whose term texts could be cut at 255 characters, parentheses out of order, a
// negative group value whose sign would become an operator), the term goes
// through the text evaluation instead.
#pragma once

#include <cstdint>
#include <vector>

#include "format/short_string.h"

struct TermResult {
  double value = 0;
  std::int32_t code = 0;  // a result code; the value is used only when it is 0
};

// One step of a prepared program (a stack machine run in order).
struct Instruction {
  enum Kind : std::uint8_t {
    kPushConstant,  // push constant
    kPushIndex,     // push constant x k (constant is 1 or -1)
    kPushGroup,     // push constant x the group's value as its number text reads back
    kLeaf,          // push a leaf read from text (letters, exponents next to n...)
    kStoreGroup,    // pop a group's value into its slot
    kStoreSigned,   // the same; a negative value sends the term to the text evaluation
    kFail,          // stop with the code in index
    kAdd,
    kSubtract,
    kMultiply,
    kDivide,
    kPower,
    kFactorial,
    kDivideConstant,    // top / constant
    kConstantDivide,    // constant / top
    kPowerConstant,     // top ^ constant
    kMultiplyConstant,  // top x constant
    kAddConstant,       // top + constant
    kSubtractConstant,  // top - constant
    kConstantSubtract,  // constant - top
  };
  Kind kind;
  std::int32_t index = 0;  // group slot, leaf number or result code
  double constant = 0;
};

// A piece of a leaf that is read from text: a character, the digits of k, or a
// group's number text.
struct LeafPiece {
  enum Kind : std::uint8_t { kCharacter, kIndex, kGroup };
  Kind kind;
  char character = 0;
  std::int32_t slot = 0;
};

struct PreparedFormula {
  ShortString formula;
  bool prepared = false;          // false: every term goes through the text evaluation
  std::uint32_t index_limit = 0;  // terms k below this are prepared
  std::vector<Instruction> program;
  std::vector<std::vector<LeafPiece>> leaves;
  int groups = 0;
  int stack_depth = 0;
};

// Prepares a formula (ResultCode is left as it was).
PreparedFormula PrepareFormula(const ShortString& formula);

// Term k: value and code, exactly as the text evaluation of the term text.
TermResult PreparedTerm(const PreparedFormula& prepared, std::uint16_t k);

// Term k through the text evaluation (the reference).
TermResult TextTerm(const ShortString& formula, std::uint16_t k);

// False when term k would not go through the prepared program (for tests).
bool IsPreparedTerm(const PreparedFormula& prepared, std::uint16_t k);
