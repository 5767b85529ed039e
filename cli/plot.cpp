#include "cli/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>
#include <vector>

#include "cli/encoding.h"
#include "cli/output_file.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "engine/table.h"
#include "format/number_text.h"

namespace {

// The picture, in pixels.
constexpr double kWidth = 800;
constexpr double kLeft = 84;  // room for the value labels
constexpr double kRight = 776;
constexpr double kPlotHeight = 340;
constexpr double kInset = 6;  // so that no point sits on the frame
constexpr double kTitleBaseline = 28;
constexpr double kTitleLineHeight = 20;
constexpr std::size_t kTitleChars = 84;  // a bold monospace line of 15 pixels fits the width
constexpr double kLegendLineHeight = 18;
constexpr double kPointRadius = 2.5;
// A point is left out when its centre is closer than this to one already drawn.
constexpr double kPointSpacing = 3;
// Where sums are left out, the line breaks only when the sums on both sides lie
// at least this many pixels apart from left to right.
constexpr double kNarrowestGap = 1;

constexpr const char* kPointColour = "#1f77b4";
constexpr const char* kLineColour = "#d62728";
// The marks of the terms that stopped, by result code.
constexpr const char* kGapColours[kResultCodeCount] = {"", "#8c564b", "#9467bd", "#e377c2", "#7f7f7f"};

// The picture's own words (Windows-1252). In the texts, {k} stands for an
// index, {c} for a count, {a} and {s} for the counts of left-out terms and sums.
struct PlotTexts {
  const char* term;
  const char* sum;
  const char* gap_one;
  const char* gap_many;
  const char* sum_stops;
  const char* log_scale;
  const char* left_out_negative;
  const char* left_out_positive;
};

constexpr PlotTexts kPlotTexts[kLanguageCount] = {
    {"terme a_k", "suma parcial S_k", "cap terme a_k per a k = {k}:",
     "cap terme a_k per a {c} valors de k des de k = {k}:", "S_k s'atura a k = {k}:", "escala logar\355tmica",
     "s'ometen els valors nuls o negatius (a_k: {a}, S_k: {s})",
     "s'ometen els valors nuls o positius (a_k: {a}, S_k: {s})"},
    {"term a_k", "partial sum S_k", "no term a_k for k = {k}:", "no term a_k for {c} values of k from k = {k}:",
     "S_k stops at k = {k}:", "logarithmic scale", "values 0 or negative left out (a_k: {a}, S_k: {s})",
     "values 0 or positive left out (a_k: {a}, S_k: {s})"},
    {"t\351rmino a_k", "suma parcial S_k", "ning\372n t\351rmino a_k para k = {k}:",
     "ning\372n t\351rmino a_k para {c} valores de k desde k = {k}:", "S_k se detiene en k = {k}:",
     "escala logar\355tmica", "se omiten los valores nulos o negativos (a_k: {a}, S_k: {s})",
     "se omiten los valores nulos o positivos (a_k: {a}, S_k: {s})"},
};

const PlotTexts& Texts(Language language) { return kPlotTexts[ValidLanguage(language)]; }

std::string Replace(std::string text, std::string_view key, std::string_view value) {
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
    text.replace(at, key.size(), value);
  return text;
}

// A Windows-1252 text as XML character data in UTF-8. Control characters, which
// XML 1.0 does not allow or a reader may trip over, become U+FFFD.
std::string XmlText(std::string_view cp1252) {
  std::string out;
  for (char c : cp1252) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
      out += "\xEF\xBF\xBD";
    else if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += Cp1252ToUtf8(std::string_view(&c, 1));
  }
  return out;
}

// The lines of a result text (joined by CR LF), without the empty ones.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    if (!line.empty()) lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// A pixel coordinate with at most one decimal.
std::string Num(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", v);
  std::string s = buffer;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  if (s == "-0") s = "0";
  return s;
}

double Pow10(int e) { return std::pow(10.0, e); }

// The label of the tick q x 10^e in the look of FormatNumber (fixed notation,
// or the short scientific form with its point after a single digit, where
// FormatNumber switches to it), with only the digits the tick has.
std::string TickLabel(std::int64_t q, int e) {
  if (q == 0) return "0";
  bool negative = q < 0;
  std::uint64_t m = negative ? 0 - static_cast<std::uint64_t>(q) : static_cast<std::uint64_t>(q);
  while (m % 10 == 0) {
    m /= 10;
    ++e;
  }
  std::string digits = std::to_string(m);
  double value = static_cast<double>(m) * Pow10(e);
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

struct Tick {
  double at;  // a k, or the share of the value axis below the tick
  std::string label;
};

// A round step of about span / parts: 1, 2 or 5 times a power of ten, as m x 10^e.
void RoundStep(double span, int parts, int* m, int* e) {
  double raw = span / parts;
  *e = static_cast<int>(std::floor(std::log10(raw)));
  double f = *e < -300 ? raw * 1e300 / Pow10(*e + 300) : raw / Pow10(*e);
  *m = f < 1.5 ? 1 : f < 3 ? 2 : f < 7 ? 5 : 10;
  if (*m == 10) {
    *m = 1;
    ++*e;
  }
}

std::vector<Tick> KTicks(double x_max) {
  int m = 1, e = 0;
  RoundStep(x_max, 8, &m, &e);
  std::int64_t step = e < 0 ? 1 : m * static_cast<std::int64_t>(Pow10(e));
  std::vector<Tick> ticks;
  for (std::int64_t k = 0; k <= x_max; k += step) ticks.push_back({static_cast<double>(k), std::to_string(k)});
  return ticks;
}

// The value axis. Linear: from lo to hi, 0 included. Logarithmic: the decades
// lo to hi of the magnitudes of one sign; negative values go downwards.
struct ValueAxis {
  PlotScale scale = PlotScale::kLinear;
  bool negative = false;
  double lo = -1, hi = 1;
  std::vector<Tick> ticks;

  bool Holds(double v) const {
    if (!std::isfinite(v)) return false;
    return scale == PlotScale::kLinear || (v != 0 && std::signbit(v) == negative);
  }
  // The share of the axis below v, 0 to 1 (halves keep huge spans finite).
  double Share(double v) const {
    if (scale == PlotScale::kLinear) return (v / 2 - lo / 2) / (hi / 2 - lo / 2);
    double share = (std::log10(std::fabs(v)) - lo) / (hi - lo);
    return negative ? 1 - share : share;
  }
};

ValueAxis LinearAxis(double v_min, double v_max) {
  ValueAxis axis;
  double lo = std::min(0.0, v_min), hi = std::max(0.0, v_max);
  // Values all 0, or too close to 0 for round ticks between them, lie on the 0 line.
  if (hi - lo < 1e-300) lo = -1, hi = 1;
  int m = 1, e = 0;
  RoundStep(hi / 2 - lo / 2, 3, &m, &e);
  double step = m * Pow10(e);
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
    lo = static_cast<int>(std::floor(std::log10(magnitude_min)));
    hi = static_cast<int>(std::ceil(std::log10(magnitude_max)));
    if (hi == lo) ++hi;
  }
  // A round number of decades from tick to tick.
  int m = 1, e = 0;
  RoundStep(hi - lo, 6, &m, &e);
  int step = e < 0 ? 1 : m * static_cast<int>(Pow10(e));
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

struct Point {
  double x, y;
};

// The polyline of one stretch of the line. With more k than pixel columns, each
// column keeps its first, lowest, highest and last point in the order of k, so
// the line looks the same with far fewer points.
std::string PathOf(const std::vector<Point>& points) {
  std::vector<Point> kept;
  for (std::size_t i = 0; i < points.size();) {
    double column = std::floor(points[i].x);
    std::size_t end = i, low = i, high = i;
    while (end < points.size() && std::floor(points[end].x) == column) {
      if (points[end].y > points[low].y) low = end;
      if (points[end].y < points[high].y) high = end;
      ++end;
    }
    std::size_t picks[4] = {i, std::min(low, high), std::max(low, high), end - 1};
    for (std::size_t j = 0; j < 4; ++j) {
      if (j == 0 || picks[j] != picks[j - 1]) kept.push_back(points[picks[j]]);
    }
    i = end;
  }
  std::string d;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    d += i == 0 ? "M" : i == 1 ? "L" : " ";
    d += Num(kept[i].x) + "," + Num(kept[i].y);
  }
  if (kept.size() == 1) d += "h0.1";  // a single sum still shows as a dot of the line
  return d;
}

// Keeps the points that do not overlap the ones kept before.
class PointThinner {
 public:
  PointThinner(double left, double top, double right, double bottom)
      : left_(left - kPointSpacing), top_(top - kPointSpacing) {
    columns_ = static_cast<int>((right - left) / kPointSpacing) + 3;
    rows_ = static_cast<int>((bottom - top) / kPointSpacing) + 3;
    cells_.assign(static_cast<std::size_t>(columns_) * rows_, Point{-1, -1});
  }

  bool Keep(Point p) {
    int cx = static_cast<int>((p.x - left_) / kPointSpacing), cy = static_cast<int>((p.y - top_) / kPointSpacing);
    for (int y = cy - 1; y <= cy + 1; ++y) {
      for (int x = cx - 1; x <= cx + 1; ++x) {
        const Point* q = Cell(x, y);
        if (!q || q->x < 0) continue;
        if ((x == cx && y == cy) || std::hypot(q->x - p.x, q->y - p.y) < kPointSpacing) return false;
      }
    }
    if (Point* own = Cell(cx, cy)) *own = p;
    return true;
  }

 private:
  Point* Cell(int x, int y) {
    if (x < 0 || y < 0 || x >= columns_ || y >= rows_) return nullptr;
    return &cells_[static_cast<std::size_t>(y) * columns_ + x];
  }
  double left_, top_;
  int columns_ = 0, rows_ = 0;
  std::vector<Point> cells_;
};

struct Row {
  double a;
  std::int32_t a_code;
  double s;
  std::int32_t s_code;
};

std::size_t TitleLines(const ShortString& formula) {
  return std::max<std::size_t>(1, (formula.size() + kTitleChars - 1) / kTitleChars);
}

}  // namespace

PlotFrame PlotFrameFor(const ShortString& formula, std::uint16_t n) {
  PlotFrame f;
  f.left = kLeft;
  f.right = kRight;
  f.top = kTitleBaseline + (static_cast<double>(TitleLines(formula)) - 1) * kTitleLineHeight + 18;
  f.bottom = f.top + kPlotHeight;
  f.inset = kInset;
  f.x_min = 0;
  f.x_max = n + std::max(1.0, n / 40.0);
  return f;
}

namespace {

// The terms and partial sums of k = 1 to n; S_k is drawn for the rows before `sums`.
struct Series {
  std::vector<Row> rows;
  std::size_t sums = 0;
};

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

// Calls visit with each value that is drawn when the axis holds it.
template <typename Visit>
void ForEachValue(const Series& series, Visit visit) {
  for (std::size_t i = 0; i < series.rows.size(); ++i) {
    if (series.rows[i].a_code == kNoError && std::isfinite(series.rows[i].a)) visit(series.rows[i].a);
    if (i < series.sums && std::isfinite(series.rows[i].s)) visit(series.rows[i].s);
  }
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

// The drawn data: the points (thinned), the marks of the terms that stopped, by
// code, and the stretches of the line.
struct Data {
  std::string points;
  std::string gap_marks[kResultCodeCount];
  int gaps[kResultCodeCount] = {};
  std::size_t first_gap[kResultCodeCount] = {};
  int left_out_terms = 0, left_out_sums = 0;
  std::vector<std::vector<Point>> stretches{1};
};

Data DataOf(const Series& series, const ValueAxis& axis, const PlotFrame& frame) {
  Data data;
  PointThinner thinner(frame.left, frame.top, frame.right, frame.bottom);
  double last_mark[kResultCodeCount] = {};
  bool left_out_before = false;  // a sum was left out since the last one drawn
  for (std::size_t i = 0; i < series.rows.size(); ++i) {
    const Row& r = series.rows[i];
    double x = frame.XOf(static_cast<double>(i + 1));
    if (r.a_code != kNoError) {
      std::int32_t c = r.a_code > 0 && r.a_code < kResultCodeCount ? r.a_code : kDivisionByZero;
      // One mark per pixel and a half: the marks of many terms in a row form a bar.
      if (data.gaps[c]++ == 0 || x - last_mark[c] >= 1.5) {
        if (data.gaps[c] == 1) data.first_gap[c] = i + 1;
        data.gap_marks[c].append("M").append(Num(x)).append(",").append(Num(frame.bottom - 11)).append("v10");
        last_mark[c] = x;
      }
    } else if (!axis.Holds(r.a)) {
      ++data.left_out_terms;
    } else {
      Point p{x, frame.YOf(axis.Share(r.a))};
      if (thinner.Keep(p))
        data.points += "<circle cx=\"" + Num(p.x) + "\" cy=\"" + Num(p.y) + "\" r=\"" + Num(kPointRadius) + "\"/>";
    }
    if (i < series.sums) {
      if (axis.Holds(r.s)) {
        std::vector<Point>& stretch = data.stretches.back();
        // Left-out sums less than a pixel wide break no line: each pixel column
        // keeps its lowest and highest sum across them, as without gaps, and a
        // file of alternating signs stays small.
        if (left_out_before && !stretch.empty() && x - stretch.back().x >= kNarrowestGap) data.stretches.emplace_back();
        data.stretches.back().push_back({x, frame.YOf(axis.Share(r.s))});
        left_out_before = false;
      } else {
        ++data.left_out_sums;
        left_out_before = true;
      }
    }
  }
  return data;
}

const std::string kCross =
    "<path d=\"M-4,-4l8,8m0,-8l-8,8\" stroke=\"" + std::string(kLineColour) + "\" stroke-width=\"1.5\" fill=\"none\"/>";

std::string_view ResultTextOf(Language language, std::int32_t code) { return ResultText(language, code); }

// A line of the legend below the plot: a swatch, then the text.
struct LegendLine {
  std::string swatch;  // drawn with its left end at x = 0 and its middle at y = 0
  std::string text;    // UTF-8, escaped
};

std::vector<LegendLine> LegendOf(const Series& series, const ValueAxis& axis, const Data& data, Language language) {
  const PlotTexts& texts = Texts(language);
  std::vector<LegendLine> legend;
  legend.push_back(
      {"<circle cx=\"12\" cy=\"0\" r=\"" + Num(kPointRadius) + "\" fill=\"" + std::string(kPointColour) + "\"/>",
       XmlText(texts.term)});
  legend.push_back(
      {"<line x1=\"0\" y1=\"0\" x2=\"24\" y2=\"0\" stroke=\"" + std::string(kLineColour) + "\" stroke-width=\"1.5\"/>",
       XmlText(texts.sum)});
  // The words, then the result text, one line of the legend for each of its lines.
  auto add = [&](const std::string& swatch, const std::string& words, std::vector<std::string> lines) {
    legend.push_back({swatch, XmlText(words + (lines.empty() ? "" : " " + lines[0]))});
    for (std::size_t j = 1; j < lines.size(); ++j) legend.push_back({"", XmlText(lines[j])});
  };
  for (int c = 1; c < kResultCodeCount; ++c) {
    if (data.gaps[c] == 0) continue;
    std::string words =
        data.gaps[c] == 1 ? texts.gap_one : Replace(texts.gap_many, "{c}", std::to_string(data.gaps[c]));
    add("<line x1=\"12\" y1=\"-5\" x2=\"12\" y2=\"5\" stroke=\"" + std::string(kGapColours[c]) +
            "\" stroke-width=\"2\"/>",
        Replace(words, "{k}", std::to_string(data.first_gap[c])), Lines(ResultTextOf(language, c)));
  }
  if (series.sums < series.rows.size()) {
    // When the term stopped the sum, its text is in the legend already: its first line is enough.
    const Row& r = series.rows[series.sums];
    std::vector<std::string> lines = Lines(ResultTextOf(language, r.s_code));
    if (r.a_code == r.s_code && lines.size() > 1) lines.resize(1);
    add("<g transform=\"translate(12,0)\">" + kCross + "</g>",
        Replace(texts.sum_stops, "{k}", std::to_string(series.sums + 1)), lines);
  }
  if (axis.scale == PlotScale::kLog) {
    std::string note = texts.log_scale;
    if (data.left_out_terms + data.left_out_sums > 0) {
      std::string left_out = axis.negative ? texts.left_out_positive : texts.left_out_negative;
      note += ": " + Replace(Replace(left_out, "{a}", std::to_string(data.left_out_terms)), "{s}",
                             std::to_string(data.left_out_sums));
    }
    legend.push_back({"", XmlText(note)});
  }
  return legend;
}

// The title: the formula, in lines of kTitleChars characters.
std::string SvgTitle(const ShortString& formula) {
  std::string svg =
      "<g font-family=\"monospace\" font-size=\"15\" font-weight=\"bold\" text-anchor=\"middle\" fill=\"#000000\">";
  for (std::size_t line = 0; line < TitleLines(formula); ++line) {
    svg += "<text x=\"" + Num(kWidth / 2) + "\" y=\"" +
           Num(kTitleBaseline + static_cast<double>(line) * kTitleLineHeight) + "\">" +
           XmlText(formula.Sub(line * kTitleChars, kTitleChars).view()) + "</text>";
  }
  return svg + "</g>\n";
}

// Grid lines at the ticks, the frame, the ticks and their labels.
std::string SvgAxes(const ValueAxis& axis, const PlotFrame& frame) {
  std::string grid, labels;
  for (const Tick& t : axis.ticks) {
    double y = frame.YOf(t.at);
    bool zero = axis.scale == PlotScale::kLinear && t.label == "0";
    grid += "<line x1=\"" + Num(frame.left) + "\" y1=\"" + Num(y) + "\" x2=\"" + Num(frame.right) + "\" y2=\"" +
            Num(y) + "\"" + (zero ? " stroke=\"#808080\"" : "") + "/>";
    labels += "<text x=\"" + Num(frame.left - 6) + "\" y=\"" + Num(y + 4) + "\">" + t.label + "</text>";
  }
  std::string k_labels;
  for (const Tick& t : KTicks(frame.x_max)) {
    double x = frame.XOf(t.at);
    grid += "<line x1=\"" + Num(x) + "\" y1=\"" + Num(frame.top) + "\" x2=\"" + Num(x) + "\" y2=\"" +
            Num(frame.bottom) + "\"/>";
    k_labels += "<text x=\"" + Num(x) + "\" y=\"" + Num(frame.bottom + 18) + "\">" + t.label + "</text>";
  }
  std::string svg = "<g stroke=\"#e0e0e0\" stroke-width=\"1\">" + grid + "</g>\n";
  svg += "<rect x=\"" + Num(frame.left) + "\" y=\"" + Num(frame.top) + "\" width=\"" + Num(frame.right - frame.left) +
         "\" height=\"" + Num(frame.bottom - frame.top) + "\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1\"/>\n";
  svg += "<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#000000\" text-anchor=\"end\">" + labels + "</g>\n";
  svg += "<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#000000\" text-anchor=\"middle\">" + k_labels +
         "<text x=\"" + Num(frame.right) + "\" y=\"" + Num(frame.bottom + 34) +
         "\" text-anchor=\"end\" font-style=\"italic\">k</text></g>\n";
  return svg;
}

// The data: the points under the line, the marks of stopped terms at the foot.
std::string SvgData(const Data& data) {
  std::string svg = "<g fill=\"" + std::string(kPointColour) + "\" stroke=\"none\">" + data.points + "</g>\n";
  for (int c = 1; c < kResultCodeCount; ++c) {
    if (!data.gap_marks[c].empty())
      svg += "<path d=\"" + data.gap_marks[c] + "\" stroke=\"" + kGapColours[c] +
             "\" stroke-width=\"2\" fill=\"none\"/>\n";
  }
  for (const std::vector<Point>& stretch : data.stretches) {
    if (stretch.empty()) continue;
    svg += "<path d=\"" + PathOf(stretch) + "\" fill=\"none\" stroke=\"" + kLineColour +
           "\" stroke-width=\"1.5\" stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n";
  }
  return svg;
}

// Where S stops: a cross at the end of the line and the first line of its text
// (with no line at all, the legend alone tells).
std::string SvgStop(const Series& series, const Data& data, const PlotFrame& frame, Language language) {
  const std::vector<Point>* last = nullptr;
  for (const std::vector<Point>& stretch : data.stretches) {
    if (!stretch.empty()) last = &stretch;
  }
  if (series.sums >= series.rows.size() || !last) return "";
  const Point end = last->back();
  std::vector<std::string> lines = Lines(ResultTextOf(language, series.rows[series.sums].s_code));
  // Beside the cross, on the side of the plot's middle, above the line when it
  // comes from below and below it when it comes from above.
  bool right_half = end.x > (frame.left + frame.right) / 2;
  bool from_below = last->size() < 2 || (*last)[last->size() - 2].y >= end.y;
  double text_y = std::clamp(from_below ? end.y - 6 : end.y + 16, frame.top + 14, frame.bottom - 6);
  std::string svg = "<g transform=\"translate(" + Num(end.x) + "," + Num(end.y) + ")\">" + kCross + "</g>\n";
  svg += "<text x=\"" + Num(end.x + (right_half ? -12 : 12)) + "\" y=\"" + Num(text_y) +
         "\" font-family=\"sans-serif\" font-size=\"12\" fill=\"" + kLineColour + "\" text-anchor=\"" +
         (right_half ? "end" : "start") + "\">" + (lines.empty() ? "" : XmlText(lines[0])) + "</text>\n";
  return svg;
}

// The legend, from legend_top down.
std::string SvgLegend(const std::vector<LegendLine>& legend, const PlotFrame& frame, double legend_top) {
  std::string svg = "<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#000000\">";
  for (std::size_t i = 0; i < legend.size(); ++i) {
    double y = legend_top + static_cast<double>(i) * kLegendLineHeight;
    if (!legend[i].swatch.empty())
      svg += "<g transform=\"translate(" + Num(frame.left) + "," + Num(y - 4) + ")\">" + legend[i].swatch + "</g>";
    svg += "<text x=\"" + Num(frame.left + 32) + "\" y=\"" + Num(y) + "\">" + legend[i].text + "</text>";
  }
  return svg + "</g>\n";
}

}  // namespace

std::string PlotSvg(const ShortString& formula, std::uint16_t n, PlotScale scale, Language language) {
  const Series series = SeriesOf(formula, n);
  const ValueAxis axis = AxisFor(series, scale);
  const PlotFrame frame = PlotFrameFor(formula, n);
  const Data data = DataOf(series, axis, frame);
  const std::vector<LegendLine> legend = LegendOf(series, axis, data, language);

  const double legend_top = frame.bottom + 56;
  const double height = std::ceil(legend_top + static_cast<double>(legend.size() - 1) * kLegendLineHeight + 16);
  const std::string w = Num(kWidth), h = Num(height);

  std::string svg;
  svg.reserve(data.points.size() + 16384);
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
  svg += "<title>" + XmlText(formula.view()) + "</title>\n";
  svg += "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
  svg += SvgTitle(formula);
  svg += SvgAxes(axis, frame);
  svg += SvgData(data);
  svg += SvgStop(series, data, frame, language);
  svg += SvgLegend(legend, frame, legend_top);
  svg += "</svg>\n";
  return svg;
}

bool WritePlot(const std::string& path, const ShortString& formula, std::uint16_t n, PlotScale scale, Language language,
               std::string* problem) {
  std::string reason;
  if (WriteOutputFile(path, PlotSvg(formula, n, scale, language), &reason)) return true;
  *problem = "cannot write the picture " + path + ": " + reason;
  return false;
}
