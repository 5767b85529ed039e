// The legend of the pictures: its texts in three languages, its lines and their drawing.
#include "cli/plot_legend.h"

#include <string_view>

#include "cli/plot_style.h"
#include "encoding/cp1252.h"

namespace {

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

// The words, then the result text, one line of the legend for each of its lines.
void AddWithText(std::vector<LegendLine>* legend, Swatch swatch, std::int32_t code, const std::string& words,
                 const std::vector<std::string>& lines) {
  legend->push_back({swatch, code, Cp1252ToUtf8(words + (lines.empty() ? "" : " " + lines[0]))});
  for (std::size_t j = 1; j < lines.size(); ++j) legend->push_back({Swatch::kNone, 0, Cp1252ToUtf8(lines[j])});
}

// The note of a logarithmic axis, with the counts of what it left out.
std::string LogNote(const ValueAxis& axis, const Data& data, const PlotTexts& texts) {
  std::string note = texts.log_scale;
  if (data.left_out_terms + data.left_out_sums > 0) {
    std::string left_out = axis.negative ? texts.left_out_positive : texts.left_out_negative;
    note += ": " + Replace(Replace(left_out, "{a}", std::to_string(data.left_out_terms)), "{s}",
                           std::to_string(data.left_out_sums));
  }
  return note;
}

// A swatch is 24 pixels wide, its middle kSwatchMiddle above the baseline of its
// text, which begins kLegendTextIndent right of the swatch's left end.
constexpr double kSwatchMiddle = 4;
constexpr double kLegendTextIndent = 32;

void WriteSwatch(SvgWriter* svg, const LegendLine& line) {
  switch (line.swatch) {
    case Swatch::kNone:
      break;
    case Swatch::kPoint:
      svg->Empty("circle", {{"cx", 12}, {"cy", 0}, {"r", kPointRadius}, {"fill", kPointColour}});
      break;
    case Swatch::kLine:
      svg->Empty("line",
                 {{"x1", 0}, {"y1", 0}, {"x2", 24}, {"y2", 0}, {"stroke", kLineColour}, {"stroke-width", "1.5"}});
      break;
    case Swatch::kGapMark:
      svg->Empty(
          "line",
          {{"x1", 12}, {"y1", -5}, {"x2", 12}, {"y2", 5}, {"stroke", kGapColours[line.code]}, {"stroke-width", "2"}});
      break;
    case Swatch::kCross:
      svg->Open("g", {{"transform", SvgTranslate(12, 0)}});
      WriteCross(svg);
      svg->Close();
      break;
  }
}

}  // namespace

std::vector<std::string> ResultLines(Language language, std::int32_t code) {
  std::string_view text = ResultText(language, code);
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

std::vector<LegendLine> LegendOf(const Series& series, const ValueAxis& axis, const Data& data, Language language) {
  const PlotTexts& texts = Texts(language);
  std::vector<LegendLine> legend;
  legend.push_back({Swatch::kPoint, 0, Cp1252ToUtf8(texts.term)});
  legend.push_back({Swatch::kLine, 0, Cp1252ToUtf8(texts.sum)});
  for (int c = 1; c < kResultCodeCount; ++c) {
    if (data.gaps[c] == 0) continue;
    std::string words =
        data.gaps[c] == 1 ? texts.gap_one : Replace(texts.gap_many, "{c}", std::to_string(data.gaps[c]));
    AddWithText(&legend, Swatch::kGapMark, c, Replace(words, "{k}", std::to_string(data.first_gap[c])),
                ResultLines(language, c));
  }
  if (series.sums < series.rows.size()) {
    // When the term stopped the sum, its text is in the legend already: its first line is enough.
    const Row& r = series.rows[series.sums];
    std::vector<std::string> lines = ResultLines(language, r.s_code);
    if (r.a_code == r.s_code && lines.size() > 1) lines.resize(1);
    AddWithText(&legend, Swatch::kCross, 0, Replace(texts.sum_stops, "{k}", std::to_string(series.sums + 1)), lines);
  }
  if (axis.scale == PlotScale::kLog) legend.push_back({Swatch::kNone, 0, Cp1252ToUtf8(LogNote(axis, data, texts))});
  return legend;
}

void WriteLegend(SvgWriter* svg, const std::vector<LegendLine>& legend, double left, double top) {
  svg->Open("g", {{"font-family", "sans-serif"}, {"font-size", "12"}, {"fill", "#000000"}});
  for (std::size_t i = 0; i < legend.size(); ++i) {
    double y = top + static_cast<double>(i) * kLegendLineHeight;
    if (legend[i].swatch != Swatch::kNone) {
      svg->Open("g", {{"transform", SvgTranslate(left, y - kSwatchMiddle)}});
      WriteSwatch(svg, legend[i]);
      svg->Close();
    }
    svg->TextElement("text", {{"x", left + kLegendTextIndent}, {"y", y}}, legend[i].text);
  }
  svg->Close();
  svg->LineBreak();
}
