// A formula prepared once per request: its groups, splits and leaves are found
// once, and the terms are then computed by a short straight-line program over a
// file of registers, without building or rescanning text. The program runs over
// a block of consecutive k at a time (one lane per k), so that each step is a
// short loop over the block. Every term gives exactly the value and the code the
// text evaluation of its term text gives; where that cannot be guaranteed (a
// formula whose term texts could be cut at 255 characters, parentheses out of
// order, a negative group value whose sign would become an operator), the term
// goes through the text evaluation instead.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/fold.h"
#include "engine/power_notes.h"
#include "engine/program.h"
#include "engine/result.h"
#include "format/short_string.h"

class PreparedFormula {
 public:
  const ShortString& formula() const { return formula_; }
  // False when every term goes through the text evaluation.
  bool runs_program() const { return program_.runs; }

 private:
  friend PreparedFormula PrepareFormula(const ShortString& formula);
  friend class TermRun;
  ShortString formula_;
  Program program_;
};

// Prepares a formula (ResultCode is left as it was).
PreparedFormula PrepareFormula(const ShortString& formula);

// The scratch state of computing terms: the registers of a block and the
// running powers carried from term to term. One per request.
class TermRun {
 public:
  explicit TermRun(const PreparedFormula& prepared);
  // Terms k0 ... k0 + count - 1 (count at most TermBlock::kSize), each exactly
  // as the text evaluation of its term text gives it.
  void Terms(int k0, int count, TermBlock* out);
  // Whether term k would run the program rather than go through the text (for tests).
  bool RunsProgram(std::uint16_t k);

 private:
  struct RunningPower {
    std::int32_t steps = 0;  // the product holds x^steps
    double product = 1;
    std::int32_t reached = -1;  // the first step whose product reached the limit, or -1
  };
  enum LaneState : std::uint8_t { kRunning, kStopped, kToText };

  bool RunBlock(int k0, int count, TermBlock* out);
  void RunStep(const Step& step, int k0, int count, TermBlock* out);
  template <class CodeOf>
  void Mark(int count, TermBlock* out, CodeOf code_of);
  void GroupValues(const Step& step, int count);
  void IndexPower(const Step& step, int k0, int count, TermBlock* out);
  void Powers(const Step& step, int count, TermBlock* out);
  void TakePowers(int count, const int* lanes, const double* value, const std::int32_t* code, double* r,
                  TermBlock* out);

  const PreparedFormula& prepared_;
  std::vector<double> lanes_;  // every register for each lane of a block
  std::vector<RunningPower> powers_;
  LaneState state_[TermBlock::kSize];
  // Whether the text terms of the last block asked for two or more long powers,
  // so that noting them first pays (see PowerNotes).
  bool long_powers_ = true;
  PowerNotes notes_;  // the long powers of a block's text terms
};

// Term k: value and code, exactly as the text evaluation of the term text.
Result PreparedTerm(const PreparedFormula& prepared, std::uint16_t k);
