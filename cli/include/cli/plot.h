// A picture of a sequence for k = 1 to n as an SVG file: the terms a_k as
// points and the partial sums S_k as a line, with axes, a legend and the
// formula as the title, in a language of Vantel.
#pragma once

#include <cstdint>
#include <string>

#include "cli/plot_frame.h"
#include "engine/messages.h"
#include "format/short_string.h"

// The picture as an SVG 1.1 document (UTF-8). The formula has passed the check.
std::string PlotSvg(const ShortString& formula, std::uint16_t n, PlotScale scale, Language language);

// Writes PlotSvg into the file at path (UTF-8) with WriteOutputFile: a failed
// write leaves what was at the path as it was. False, with *problem saying why.
bool WritePlot(const std::string& path, const ShortString& formula, std::uint16_t n, PlotScale scale, Language language,
               std::string* problem);

// Where the plot area lies for a formula and n (the title of a long formula takes more lines).
PlotFrame PlotFrameFor(const ShortString& formula, std::uint16_t n);
