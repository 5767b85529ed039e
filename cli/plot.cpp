// The --plot picture put together from its title, axes, data and legend, and its file.
#include "cli/plot.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "cli/plot_legend.h"
#include "cli/plot_series.h"
#include "cli/plot_style.h"
#include "cli/plot_thinning.h"
#include "cli/plot_ticks.h"
#include "cli/svg_writer.h"
#include "encoding/cp1252.h"
#include "safesave/output_file.h"

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
constexpr double kTitleToPlot = 18;      // from the last title line's baseline to the plot's top
// Labels of 12 pixels: a value label ends kValueLabelGap left of the frame, with
// its baseline kHalfLabel below its tick, so that it stands centred on it; the k
// labels and the name of the axis have their baselines below the frame.
constexpr double kValueLabelGap = 6;
constexpr double kHalfLabel = 4;
constexpr double kKLabelBaseline = 18;
constexpr double kKNameBaseline = 34;
constexpr double kLegendBelowPlot = 56;  // the legend's first baseline under the plot
constexpr double kBottomMargin = 16;     // under the legend's last baseline
// The marks of stopped terms stand at the foot of the plot, just above the frame.
constexpr double kGapMarkTop = 11;
constexpr double kGapMarkHeight = 10;
// The text where the sums stop: beside the cross, above the line or below it,
// and never outside the plot.
constexpr double kStopTextBeside = 12;
constexpr double kStopTextAbove = 6;
constexpr double kStopTextBelow = 16;
constexpr double kStopTextFromTop = 14;
constexpr double kStopTextFromBottom = 6;

std::size_t TitleLines(const ShortString& formula) {
  return std::max<std::size_t>(1, (formula.size() + kTitleChars - 1) / kTitleChars);
}

// The title: the formula, in lines of kTitleChars characters.
void WriteTitle(SvgWriter* svg, const ShortString& formula) {
  svg->Open("g", {{"font-family", "monospace"},
                  {"font-size", "15"},
                  {"font-weight", "bold"},
                  {"text-anchor", "middle"},
                  {"fill", "#000000"}});
  for (std::size_t line = 0; line < TitleLines(formula); ++line) {
    svg->TextElement("text", {{"x", kWidth / 2}, {"y", kTitleBaseline + static_cast<double>(line) * kTitleLineHeight}},
                     Cp1252ToUtf8(formula.Sub(line * kTitleChars, kTitleChars).view()));
  }
  svg->Close();
  svg->LineBreak();
}

// Grid lines at the ticks of both axes, the value axis's 0 darker.
void WriteGrid(SvgWriter* svg, const ValueAxis& axis, const std::vector<Tick>& k_ticks, const PlotFrame& frame) {
  svg->Open("g", {{"stroke", "#e0e0e0"}, {"stroke-width", "1"}});
  for (const Tick& t : axis.ticks) {
    double y = frame.YOf(t.at);
    if (axis.scale == PlotScale::kLinear && t.label == "0")
      svg->Empty("line", {{"x1", frame.left}, {"y1", y}, {"x2", frame.right}, {"y2", y}, {"stroke", "#808080"}});
    else
      svg->Empty("line", {{"x1", frame.left}, {"y1", y}, {"x2", frame.right}, {"y2", y}});
  }
  for (const Tick& t : k_ticks) {
    double x = frame.XOf(t.at);
    svg->Empty("line", {{"x1", x}, {"y1", frame.top}, {"x2", x}, {"y2", frame.bottom}});
  }
  svg->Close();
  svg->LineBreak();
}

// The grid, the frame, and the labels of the ticks.
void WriteAxes(SvgWriter* svg, const ValueAxis& axis, const PlotFrame& frame, Language language) {
  const std::vector<Tick> k_ticks = KTicks(frame.x_max);
  WriteGrid(svg, axis, k_ticks, frame);
  svg->Empty("rect", {{"x", frame.left},
                      {"y", frame.top},
                      {"width", frame.right - frame.left},
                      {"height", frame.bottom - frame.top},
                      {"fill", "none"},
                      {"stroke", "#000000"},
                      {"stroke-width", "1"}});
  svg->LineBreak();
  svg->Open("g", {{"font-family", "sans-serif"}, {"font-size", "12"}, {"fill", "#000000"}, {"text-anchor", "end"}});
  for (const Tick& t : axis.ticks)
    svg->TextElement("text", {{"x", frame.left - kValueLabelGap}, {"y", frame.YOf(t.at) + kHalfLabel}},
                     LabelInStyle(t.label, language));
  svg->Close();
  svg->LineBreak();
  svg->Open("g", {{"font-family", "sans-serif"}, {"font-size", "12"}, {"fill", "#000000"}, {"text-anchor", "middle"}});
  for (const Tick& t : k_ticks)
    svg->TextElement("text", {{"x", frame.XOf(t.at)}, {"y", frame.bottom + kKLabelBaseline}}, t.label);
  svg->TextElement(
      "text",
      {{"x", frame.right}, {"y", frame.bottom + kKNameBaseline}, {"text-anchor", "end"}, {"font-style", "italic"}},
      "k");
  svg->Close();
  svg->LineBreak();
}

// Path data through the corners: "Mx,yLx,y x,y ...".
std::string Polyline(const std::vector<Point>& corners) {
  std::string d;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    d += i == 0 ? "M" : i == 1 ? "L" : " ";
    d += SvgNumber(corners[i].x) + "," + SvgNumber(corners[i].y);
  }
  if (corners.size() == 1) d += "h0.1";  // a single sum still shows as a dot of the line
  return d;
}

// The data: the points under the line, the marks of stopped terms at the foot.
void WriteData(SvgWriter* svg, const Data& data, const PlotFrame& frame) {
  svg->Open("g", {{"fill", kPointColour}, {"stroke", "none"}});
  for (const Point& p : data.points) svg->Empty("circle", {{"cx", p.x}, {"cy", p.y}, {"r", kPointRadius}});
  svg->Close();
  svg->LineBreak();
  const std::string foot = SvgNumber(frame.bottom - kGapMarkTop);
  for (int c = 1; c < kResultCodeCount; ++c) {
    if (data.gap_marks[c].empty()) continue;
    std::string d;
    for (double x : data.gap_marks[c])
      d.append("M").append(SvgNumber(x)).append(",").append(foot).append("v").append(SvgNumber(kGapMarkHeight));
    svg->Empty("path", {{"d", d}, {"stroke", kGapColours[c]}, {"stroke-width", "2"}, {"fill", "none"}});
    svg->LineBreak();
  }
  for (const std::vector<Point>& stretch : data.stretches) {
    if (stretch.empty()) continue;
    svg->Empty("path", {{"d", Polyline(ThinLine(stretch))},
                        {"fill", "none"},
                        {"stroke", kLineColour},
                        {"stroke-width", "1.5"},
                        {"stroke-linejoin", "round"},
                        {"stroke-linecap", "round"}});
    svg->LineBreak();
  }
}

// Where S stops: a cross at the end of the line and the first line of its text
// (with no line at all, the legend alone tells).
void WriteStop(SvgWriter* svg, const Series& series, const Data& data, const PlotFrame& frame, Language language) {
  const std::vector<Point>* last = nullptr;
  for (const std::vector<Point>& stretch : data.stretches) {
    if (!stretch.empty()) last = &stretch;
  }
  if (series.sums >= series.rows.size() || !last) return;
  const Point end = last->back();
  std::vector<std::string> lines = ResultLines(language, series.rows[series.sums].s_code);
  // Beside the cross, on the side of the plot's middle, above the line when it
  // comes from below and below it when it comes from above.
  bool right_half = end.x > (frame.left + frame.right) / 2;
  bool from_below = last->size() < 2 || (*last)[last->size() - 2].y >= end.y;
  double text_y = std::clamp(from_below ? end.y - kStopTextAbove : end.y + kStopTextBelow, frame.top + kStopTextFromTop,
                             frame.bottom - kStopTextFromBottom);
  svg->Open("g", {{"transform", SvgTranslate(end.x, end.y)}});
  WriteCross(svg);
  svg->Close();
  svg->LineBreak();
  svg->TextElement("text",
                   {{"x", end.x + (right_half ? -kStopTextBeside : kStopTextBeside)},
                    {"y", text_y},
                    {"font-family", "sans-serif"},
                    {"font-size", "12"},
                    {"fill", kLineColour},
                    {"text-anchor", right_half ? "end" : "start"}},
                   lines.empty() ? "" : Cp1252ToUtf8(lines[0]));
  svg->LineBreak();
}

}  // namespace

PlotFrame PlotFrameFor(const ShortString& formula, std::uint16_t n) {
  PlotFrame f;
  f.left = kLeft;
  f.right = kRight;
  f.top = kTitleBaseline + (static_cast<double>(TitleLines(formula)) - 1) * kTitleLineHeight + kTitleToPlot;
  f.bottom = f.top + kPlotHeight;
  f.inset = kInset;
  f.x_min = 0;
  f.x_max = n + std::max(1.0, n / 40.0);
  return f;
}

std::string PlotSvg(const ShortString& formula, std::uint16_t n, PlotScale scale, Language language) {
  const Series series = SeriesOf(formula, n);
  const ValueAxis axis = AxisFor(series, scale);
  const PlotFrame frame = PlotFrameFor(formula, n);
  const Data data = DataOf(series, axis, frame);
  const std::vector<LegendLine> legend = LegendOf(series, axis, data, language);

  const double legend_top = frame.bottom + kLegendBelowPlot;
  const double height =
      std::ceil(legend_top + static_cast<double>(legend.size() - 1) * kLegendLineHeight + kBottomMargin);
  const std::string size = "0 0 " + SvgNumber(kWidth) + " " + SvgNumber(height);

  SvgWriter svg;
  svg.Open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
                   {"version", "1.1"},
                   {"width", kWidth},
                   {"height", height},
                   {"viewBox", size}});
  svg.LineBreak();
  svg.TextElement("title", {}, Cp1252ToUtf8(formula.view()));
  svg.LineBreak();
  svg.Empty("rect", {{"x", 0}, {"y", 0}, {"width", kWidth}, {"height", height}, {"fill", "#ffffff"}});
  svg.LineBreak();
  WriteTitle(&svg, formula);
  WriteAxes(&svg, axis, frame, language);
  WriteData(&svg, data, frame);
  WriteStop(&svg, series, data, frame, language);
  WriteLegend(&svg, legend, frame.left, legend_top);
  return svg.Finish();
}

bool WritePlot(const std::string& path, const ShortString& formula, std::uint16_t n, PlotScale scale, Language language,
               std::string* problem) {
  std::string reason;
  if (WriteOutputFile(path, PlotSvg(formula, n, scale, language), &reason) == SaveFault::kNone) return true;
  *problem = "cannot write the picture " + path + ": " + reason;
  return false;
}
