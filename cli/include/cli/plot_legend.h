// The legend below a picture, in the picture's language: what the points and
// the line are, which terms stopped and with what text, where the sums stop,
// and what a logarithmic axis left out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/plot_series.h"
#include "cli/svg_writer.h"
#include "engine/messages.h"

constexpr double kLegendLineHeight = 18;

// What stands before a line of the legend.
enum class Swatch { kNone, kPoint, kLine, kGapMark, kCross };

struct LegendLine {
  Swatch swatch;
  std::int32_t code;  // the result code of a gap mark
  std::string text;   // UTF-8
};

std::vector<LegendLine> LegendOf(const Series& series, const ValueAxis& axis, const Data& data, Language language);

// The lines of a result text (joined by CR LF), without the empty ones (Windows-1252).
std::vector<std::string> ResultLines(Language language, std::int32_t code);

// The legend, its first line's baseline at top, its swatches from left on.
void WriteLegend(SvgWriter* svg, const std::vector<LegendLine>& legend, double left, double top);
