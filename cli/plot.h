// A picture of a sequence for k = 1 to n as an SVG file: the terms a_k as
// points and the partial sums S_k as a line, with axes, a legend and the
// formula as the title, in a language of Vantel.
#pragma once

#include <cstdint>
#include <string>

#include "engine/messages.h"
#include "format/short_string.h"

enum class PlotScale { kLinear, kLog };

// The picture as an SVG 1.1 document (UTF-8). The formula has passed the check.
std::string PlotSvg(const ShortString& formula, std::uint16_t n, PlotScale scale, Language language);

// Writes PlotSvg into the file at path (UTF-8) with WriteOutputFile: a failed
// write leaves what was at the path as it was. False, with *problem saying why.
bool WritePlot(const std::string& path, const ShortString& formula, std::uint16_t n, PlotScale scale, Language language,
               std::string* problem);

// Where the plot area lies in the picture, in pixels, and where a k falls in it
// (the title of a long formula takes more lines).
struct PlotFrame {
  double left, top, right, bottom;
  double x_min, x_max;  // the k at the left and right edges
  double inset;         // the ends of the value axis lie this far inside the frame
  double XOf(double k) const { return left + (k - x_min) / (x_max - x_min) * (right - left); }
  // The height of the share (0 to 1) of the value axis below a value.
  double YOf(double share) const { return bottom - inset - share * (bottom - top - 2 * inset); }
};
PlotFrame PlotFrameFor(const ShortString& formula, std::uint16_t n);
