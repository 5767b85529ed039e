// The colours and marks shared by the plot and its legend.
#pragma once

#include "cli/svg_writer.h"
#include "engine/result.h"

constexpr double kPointRadius = 2.5;
constexpr const char* kPointColour = "#1f77b4";
constexpr const char* kLineColour = "#d62728";
// The marks of the terms that stopped, by result code.
constexpr const char* kGapColours[kResultCodeCount] = {"", "#8c564b", "#9467bd", "#e377c2", "#7f7f7f"};

// The cross where the line of the sums stops, centred on the current origin.
inline void WriteCross(SvgWriter* svg) {
  svg->Empty("path",
             {{"d", "M-4,-4l8,8m0,-8l-8,8"}, {"stroke", kLineColour}, {"stroke-width", "1.5"}, {"fill", "none"}});
}
