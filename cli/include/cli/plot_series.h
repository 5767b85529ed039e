// What a picture shows: the terms and partial sums of k = 1 to n, the value
// axis they call for, and where each of them falls in the plot area.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cli/plot_frame.h"
#include "cli/plot_thinning.h"
#include "cli/plot_ticks.h"
#include "engine/result.h"
#include "format/short_string.h"

struct Row {
  double a;
  std::int32_t a_code;
  double s;
  std::int32_t s_code;
};

// The terms and partial sums of k = 1 to n; S_k is drawn for the rows before `sums`.
struct Series {
  std::vector<Row> rows;
  std::size_t sums = 0;
};

Series SeriesOf(const ShortString& formula, std::uint16_t n);

// The value axis for the drawn values: on a logarithmic one, the sign most of
// them have.
ValueAxis AxisFor(const Series& series, PlotScale scale);

// The drawn data: the points (thinned), where the terms that stopped are
// marked, by code, and the stretches of the line.
struct Data {
  std::vector<Point> points;
  std::vector<double> gap_marks[kResultCodeCount];  // the k of each mark, in pixels
  int gaps[kResultCodeCount] = {};
  std::size_t first_gap[kResultCodeCount] = {};
  int left_out_terms = 0, left_out_sums = 0;
  std::vector<std::vector<Point>> stretches{1};
};

Data DataOf(const Series& series, const ValueAxis& axis, const PlotFrame& frame);
