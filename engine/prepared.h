// A formula prepared once per request: its groups, splits and leaves are found
// once, and the terms are then computed by a short straight-line program over a
// file of registers, without building or rescanning text. The program runs over
// a block of consecutive k at a time (one lane per k), so that each step is a
// short loop over the block. Every term gives
// exactly the value and the code the text evaluation of its term text gives;
// where that cannot be guaranteed (a formula whose term texts could be cut at 255
// characters, parentheses out of order, a negative group value whose sign would
// become an operator), the term goes through the text evaluation instead.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "format/short_string.h"

struct TermResult {
  double value = 0;
  std::int32_t code = 0;  // a result code; the value is used only when it is 0
};

// One step of a prepared program: registers[target] = operation(registers[a],
// registers[b]); the program stops at the first step that gives a code.
struct Instruction {
  enum Kind : std::uint8_t {
    kAdd,
    kSubtract,
    kMultiply,
    kDivide,
    kPower,
    kIntegerPower,  // registers[a] ^ exponent
    kIndexPower,    // a constant registers[a] ^ k (b is k's register) or ^ -k (b is -k's)
    kFactorial,     // registers[a] !
    kNegate,        // -1 x registers[a]
    kGroup,         // the value registers[a] as its number text reads back
    kSignedGroup,   // the same; a negative value sends the term to the text evaluation
    kLeaf,          // a leaf read from its text (letters, exponents next to n...)
    kFail,          // stop with the code in exponent
  };
  Kind kind;
  std::uint16_t target = 0;
  std::uint16_t a = 0;
  std::uint16_t b = 0;
  std::int32_t exponent = 0;  // kIntegerPower's exponent, kIndexPower's running power, kLeaf's leaf, kFail's code
};

// A piece of a leaf read from text: a character, the digits of k, or the number
// text of the value in a register.
struct LeafPiece {
  enum Kind : std::uint8_t { kCharacter, kIndex, kValue };
  Kind kind;
  char character = 0;
  std::uint16_t value = 0;
};

struct PreparedFormula {
  ShortString formula;
  bool prepared = false;           // false: every term goes through the text evaluation
  std::uint32_t index_limit = 0;   // terms k below this are prepared
  bool fixed_group_texts = false;  // a group whose value has no fixed text sends its term to the text
  std::vector<Instruction> program;
  std::vector<std::vector<LeafPiece>> leaves;
  // Register 0 holds k, register 1 holds -k; then the constants and the results
  // of the steps. registers holds their values before the first step (the
  // constants); lanes holds every register for each k of a block.
  std::vector<double> registers;
  mutable std::vector<double> lanes;
  // The running products of the powers of a constant to k: x^k is x^(k-1) times x,
  // so consecutive terms extend the product by one factor.
  struct RunningPower {
    std::int32_t steps = 0;  // the product holds x^steps
    double product = 1;
    std::int32_t reached = -1;  // the first step whose product reached the limit, or -1
  };
  mutable std::vector<RunningPower> powers;
  std::uint16_t result = 0;  // the register of the term's value
};

// Prepares a formula (ResultCode is left as it was).
PreparedFormula PrepareFormula(const ShortString& formula);

// Term k: value and code, exactly as the text evaluation of the term text.
TermResult PreparedTerm(const PreparedFormula& prepared, std::uint16_t k);

// Terms first ... first + count - 1 in order, computed a block at a time.
void PreparedTerms(const PreparedFormula& prepared, std::uint16_t first, int count,
                   const std::function<void(std::uint16_t k, TermResult term)>& each);

// S_n and P_n (n >= 1) over the prepared terms, with the engine's sum and
// product steps; the value is the sum or product reached when a code stops them.
TermResult PreparedPartialSum(const PreparedFormula& prepared, std::uint16_t n);
TermResult PreparedPartialProduct(const PreparedFormula& prepared, std::uint16_t n);

// Term k through the text evaluation (the reference).
TermResult TextTerm(const ShortString& formula, std::uint16_t k);

// False when term k would not go through the prepared program (for tests).
bool IsPreparedTerm(const PreparedFormula& prepared, std::uint16_t k);
