// Round ticks and the linear and logarithmic value axes of the pictures.
#include "cli/plot_ticks.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "cli/decades.h"
#include "cli/output.h"
#include "format/double_bits.h"
#include "format/number_text.h"

namespace {

// A round step of about span / parts: 1, 2 or 5 times a power of ten, as m x 10^e.
// The spans of the axes give raw > 1e-301, where 10^e is a normal double.
void RoundStep(double span, int parts, int* m, int* e) {
  double raw = span / parts;
  *e = Decade(raw);
  double f = raw / PowerOfTen(*e);
  *m = f < 1.5 ? 1 : f < 3 ? 2 : f < 7 ? 5 : 10;
  if (*m == 10) {
    *m = 1;
    ++*e;
  }
}

}  // namespace

std::string TickLabel(std::int64_t q, int e) {
  if (q == 0) return "0";
  bool negative = q < 0;
  std::uint64_t m = negative ? 0 - static_cast<std::uint64_t>(q) : static_cast<std::uint64_t>(q);
  while (m % 10 == 0) {
    m /= 10;
    ++e;
  }
  std::string digits = std::to_string(m);
  // With its sign: a negative number takes the scientific form sooner.
  double value = (negative ? -1.0 : 1.0) * static_cast<double>(m) * PowerOfTen(e);
  bool scientific = value == 0 || std::isinf(value) || FormatNumber(value).view().find('E') != std::string_view::npos;
  std::string s = negative ? "-" : "";
  if (scientific) {
    int x = e + static_cast<int>(digits.size()) - 1;
    s += digits[0];
    s += '.';
    s += digits.substr(1);
    s += x >= 0 ? "E+" : "E-";
    s += std::to_string(x >= 0 ? x : -x);
  } else if (e >= 0) {
    s += digits + std::string(static_cast<std::size_t>(e), '0');
  } else {
    auto point = static_cast<std::size_t>(-e);
    if (digits.size() <= point) digits = std::string(point - digits.size() + 1, '0') + digits;
    s += digits.substr(0, digits.size() - point) + "." + digits.substr(digits.size() - point);
  }
  return s;
}

constexpr std::string_view kMinusSign = "\xE2\x88\x92";  // U+2212 in UTF-8

std::string LabelInStyle(const std::string& label, Language language) {
  if (ValidLanguage(language) == kEnglish) return label;
  std::string styled;
  for (char c : DecimalCommaNumber(label)) styled += c == '-' ? kMinusSign : std::string_view(&c, 1);
  return styled;
}

std::vector<Tick> KTicks(double x_max) {
  int m = 1, e = 0;
  RoundStep(x_max, 8, &m, &e);
  std::int64_t step = e < 0 ? 1 : m * static_cast<std::int64_t>(kPowersOfTen[e]);
  std::vector<Tick> ticks;
  for (std::int64_t k = 0; k <= x_max; k += step) ticks.push_back({static_cast<double>(k), std::to_string(k)});
  return ticks;
}

bool ValueAxis::Holds(double v) const {
  if (!std::isfinite(v)) return false;
  return scale == PlotScale::kLinear || (v != 0 && std::signbit(v) == negative);
}

// Halves keep huge spans finite.
double ValueAxis::Share(double v) const {
  if (scale == PlotScale::kLinear) return (v / 2 - lo / 2) / (hi / 2 - lo / 2);
  double share = (Log10(std::fabs(v)) - lo) / (hi - lo);
  return negative ? 1 - share : share;
}

ValueAxis LinearAxis(double v_min, double v_max) {
  ValueAxis axis;
  double lo = std::min(0.0, v_min), hi = std::max(0.0, v_max);
  // Values all 0, or too close to 0 for round ticks between them, lie on the 0 line.
  if (hi - lo < 1e-300) lo = -1, hi = 1;
  int m = 1, e = 0;
  RoundStep(hi / 2 - lo / 2, 3, &m, &e);
  double step = m * PowerOfTen(e);
  auto first = static_cast<std::int64_t>(std::floor(lo / step));
  auto last = static_cast<std::int64_t>(std::ceil(hi / step));
  axis.lo = static_cast<double>(first) * step;
  axis.hi = static_cast<double>(last) * step;
  // A round end beyond the largest double: the axis ends at the largest value.
  if (std::isinf(axis.lo)) axis.lo = lo, ++first;
  if (std::isinf(axis.hi)) axis.hi = hi, --last;
  for (std::int64_t i = first; i <= last; ++i)
    axis.ticks.push_back({axis.Share(static_cast<double>(i) * step), TickLabel(i * m, e)});
  return axis;
}

ValueAxis LogAxis(bool negative, double magnitude_min, double magnitude_max) {
  ValueAxis axis;
  axis.scale = PlotScale::kLog;
  axis.negative = negative;
  int lo = 0, hi = 1;
  if (magnitude_min <= magnitude_max) {
    lo = Decade(magnitude_min);
    hi = Decade(magnitude_max);
    if (PowerOfTen(hi) != magnitude_max) ++hi;
    if (hi == lo) ++hi;
  }
  // A round number of decades from tick to tick.
  int m = 1, e = 0;
  RoundStep(hi - lo, 6, &m, &e);
  int step = e < 0 ? 1 : m * static_cast<int>(kPowersOfTen[e]);
  // The axis ends at round decades, unless they lie beyond the doubles.
  int round_lo = static_cast<int>(std::floor(static_cast<double>(lo) / step)) * step;
  int round_hi = static_cast<int>(std::ceil(static_cast<double>(hi) / step)) * step;
  axis.lo = round_lo < -324 ? lo : round_lo;
  axis.hi = round_hi > 308 ? hi : round_hi;
  for (int d = round_lo; d <= axis.hi; d += step) {
    if (d < axis.lo) continue;
    double share = (d - axis.lo) / (axis.hi - axis.lo);
    axis.ticks.push_back({negative ? 1 - share : share, TickLabel(negative ? -1 : 1, d)});
  }
  return axis;
}
