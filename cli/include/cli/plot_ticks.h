// The axes of a picture: round ticks for k and for the values, on a linear or
// a logarithmic value axis, with labels in the look of the calculator's numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/plot_frame.h"
#include "engine/messages.h"

struct Tick {
  double at;  // a k, or the share of the value axis below the tick
  std::string label;
};

// The label of the tick q x 10^e in the look of FormatNumber (fixed notation,
// or the short scientific form with its point after a single digit, where
// FormatNumber switches to it), with only the digits the tick has.
std::string TickLabel(std::int64_t q, int e);

// A tick label in the number style of the language: English keeps the look of
// the calculator's numbers; Catalan and Spanish take the decimal comma as the
// spreadsheets read it (DecimalCommaNumber: "0,5", "1E-6") and write each minus
// as the minus sign U+2212.
std::string LabelInStyle(const std::string& label, Language language);

// Round ticks for k from 0 to x_max (about eight of them).
std::vector<Tick> KTicks(double x_max);

// The value axis. Linear: from lo to hi, 0 included. Logarithmic: the decades
// lo to hi of the magnitudes of one sign; negative values go downwards.
struct ValueAxis {
  PlotScale scale = PlotScale::kLinear;
  bool negative = false;
  double lo = -1, hi = 1;
  std::vector<Tick> ticks;

  // Whether v has a place on the axis (a finite value, of the axis's sign when logarithmic).
  bool Holds(double v) const;
  // The share of the axis below v, 0 to 1.
  double Share(double v) const;
};

// A linear axis with round ticks over the values from v_min to v_max.
ValueAxis LinearAxis(double v_min, double v_max);
// A logarithmic axis over the magnitudes from magnitude_min to magnitude_max
// (one decade when there are none, magnitude_min > magnitude_max).
ValueAxis LogAxis(bool negative, double magnitude_min, double magnitude_max);
