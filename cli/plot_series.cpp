// The computed series of a picture, its value axis and the placing of its data.
#include "cli/plot_series.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/table.h"

namespace {

// Where sums are left out, the line breaks only when the sums on both sides lie
// at least this many pixels apart from left to right.
constexpr double kNarrowestGap = 1;

// Calls visit with each value that is drawn when the axis holds it.
template <typename Visit>
void ForEachValue(const Series& series, Visit visit) {
  for (std::size_t i = 0; i < series.rows.size(); ++i) {
    if (series.rows[i].a_code == kNoError && std::isfinite(series.rows[i].a)) visit(series.rows[i].a);
    if (i < series.sums && std::isfinite(series.rows[i].s)) visit(series.rows[i].s);
  }
}

// A term that stopped: one mark per pixel and a half, so that the marks of many
// terms in a row form a bar.
void MarkGap(std::int32_t code, std::size_t k, double x, double* last_mark, Data* data) {
  const std::int32_t c = code > 0 && code < kResultCodeCount ? code : kDivisionByZero;
  if (data->gaps[c]++ == 0 || x - last_mark[c] >= 1.5) {
    if (data->gaps[c] == 1) data->first_gap[c] = k;
    data->gap_marks[c].push_back(x);
    last_mark[c] = x;
  }
}

}  // namespace

Series SeriesOf(const ShortString& formula, std::uint16_t n) {
  Series series;
  series.rows.reserve(n);
  ComputeTable(formula, n, [&](const TableRow& r) { series.rows.push_back({r.a, r.a_code, r.s, r.s_code}); });
  series.sums = series.rows.size();
  for (std::size_t i = 0; i < series.rows.size(); ++i) {
    if (series.rows[i].s_code != kNoError) {
      series.sums = i;
      break;
    }
  }
  return series;
}

ValueAxis AxisFor(const Series& series, PlotScale scale) {
  if (scale == PlotScale::kLinear) {
    double lo = 0, hi = 0;
    ForEachValue(series, [&](double v) { lo = std::min(lo, v), hi = std::max(hi, v); });
    return LinearAxis(lo, hi);
  }
  // The sign most of the values have; the others are left out.
  long balance = 0;
  ForEachValue(series, [&](double v) { balance += v > 0 ? 1 : v < 0 ? -1 : 0; });
  bool negative = balance < 0;
  double lo = std::numeric_limits<double>::infinity(), hi = 0;
  ForEachValue(series, [&](double v) {
    if (v != 0 && std::signbit(v) == negative) lo = std::min(lo, std::fabs(v)), hi = std::max(hi, std::fabs(v));
  });
  return LogAxis(negative, lo, hi);
}

Data DataOf(const Series& series, const ValueAxis& axis, const PlotFrame& frame) {
  Data data;
  PointThinner thinner(frame.left, frame.top, frame.right, frame.bottom);
  double last_mark[kResultCodeCount] = {};
  bool left_out_before = false;  // a sum was left out since the last one drawn
  for (std::size_t i = 0; i < series.rows.size(); ++i) {
    const Row& r = series.rows[i];
    double x = frame.XOf(static_cast<double>(i + 1));
    if (r.a_code != kNoError) {
      MarkGap(r.a_code, i + 1, x, last_mark, &data);
    } else if (!axis.Holds(r.a)) {
      ++data.left_out_terms;
    } else if (Point p{x, frame.YOf(axis.Share(r.a))}; thinner.Keep(p)) {
      data.points.push_back(p);
    }
    if (i >= series.sums) continue;
    if (!axis.Holds(r.s)) {
      ++data.left_out_sums;
      left_out_before = true;
      continue;
    }
    // Left-out sums less than a pixel wide break no line: each pixel column keeps
    // its lowest and highest sum across them, as without gaps, and a file of
    // alternating signs stays small.
    std::vector<Point>& stretch = data.stretches.back();
    if (left_out_before && !stretch.empty() && x - stretch.back().x >= kNarrowestGap) data.stretches.emplace_back();
    data.stretches.back().push_back({x, frame.YOf(axis.Share(r.s))});
    left_out_before = false;
  }
  return data;
}
