// The compiled form of a formula (inside the engine): a straight-line program
// over a file of registers that computes a term from k. The compiler
// (compile.cpp) writes it; a run (run.cpp) executes it over blocks of k.
#pragma once

#include <cstdint>
#include <vector>

#include "format/short_string.h"

constexpr std::uint16_t kIndexRegister = 0;       // holds k
constexpr std::uint16_t kMinusIndexRegister = 1;  // holds -1 x k

// One step: registers[target] = operation(registers[left], registers[right]).
// A step that fails stops its term with a code.
struct Step {
  enum Kind : std::uint8_t {
    kAdd,
    kSubtract,
    kMultiply,
    kDivide,
    kPower,         // left ^ right
    kIntegerPower,  // left ^ exponent, a constant integer
    kIndexPower,    // a constant left ^ k (right is k's register) or ^ -k (right is -k's)
    kFactorial,     // left !
    kNegate,        // -1 x left
    kGroup,         // left as its number text reads back
    kSignedGroup,   // the same; a negative value sends the term to the text evaluation
    kLeaf,          // a leaf read from its text (letters, exponents next to n...)
    kFail,          // stop with code
  };
  Kind kind;
  std::uint16_t target = 0;
  std::uint16_t left = 0;
  std::uint16_t right = 0;
  std::int32_t exponent = 0;        // kIntegerPower
  std::uint16_t running_power = 0;  // kIndexPower: which running power of the run carries it
  std::uint16_t leaf = 0;           // kLeaf: which of the program's leaves
  std::int32_t code = 0;            // kFail
};

// A piece of a leaf read from text: a character, the digits of k, or the number
// text of the value in a register.
struct LeafPiece {
  enum Kind : std::uint8_t { kCharacter, kIndex, kRegisterText };
  Kind kind;
  char character = 0;        // kCharacter
  std::uint16_t source = 0;  // kRegisterText: the register
};

struct Program {
  bool runs = false;               // false: every term goes through the text evaluation
  std::uint32_t index_limit = 0;   // terms k below this run the program
  bool fixed_group_texts = false;  // a group whose value has no fixed text sends its term to the text
  std::vector<Step> steps;
  std::vector<std::vector<LeafPiece>> leaves;
  // The registers' values before the first step: k and -k (set per term), the
  // constants, and room for the results of the steps.
  std::vector<double> initial;
  std::uint16_t running_powers = 0;  // kIndexPower steps
  std::uint16_t result = 0;          // the register of the term's value
};
