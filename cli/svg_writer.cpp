// The SVG element writer: tags, attributes, escaped texts and pixel numbers.
#include "cli/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "encoding/cp1252.h"
#include "format/double_bits.h"

namespace {

// A text as XML character data or attribute value: the markup characters as
// entities, control characters (C0, DEL, C1) as U+FFFD.
void AppendEscaped(std::string* out, std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = NextCodePoint(utf8, &i);
    if (c < 0x20 || (c >= 0x7F && c < 0xA0))
      AppendUtf8(out, kReplacementCharacter);
    else if (c == '&')
      *out += "&amp;";
    else if (c == '<')
      *out += "&lt;";
    else if (c == '>')
      *out += "&gt;";
    else if (c == '"')
      *out += "&quot;";
    else
      AppendUtf8(out, c);
  }
}

// 10 |v| rounded to an integer, half to even, from the exact binary value (as
// printf's "%.1f" does on a C library that rounds correctly), with integer steps
// alone: |v| = m 2^e with m below 2^53, so that 10 m fits in 57 bits.
std::uint64_t Tenths(double v) {
  const std::uint64_t bits = BitsOf(v);
  const int field = ExponentField(bits);
  if (field == 0) return 0;  // zero, or far below a tenth
  const std::uint64_t tens = Significand(bits) * 10;
  const int e = field - kSignificandShift;
  if (e >= 0) return tens << e;
  if (e <= -64) return 0;  // below 2^-7
  const std::uint64_t whole = tens >> -e;
  const std::uint64_t rest = tens - (whole << -e), half = std::uint64_t{1} << (-e - 1);
  return whole + (rest > half || (rest == half && (whole & 1)));
}

}  // namespace

std::string SvgNumber(double v) {
  // A picture is a few thousand pixels wide: anything beyond is put at its edge
  // (the clamp also keeps 10 |v| within the 64 bits of Tenths).
  constexpr double kFarthest = 1e15;
  v = std::isnan(v) ? 0 : std::clamp(v, -kFarthest, kFarthest);
  const std::uint64_t tenths = Tenths(v);
  std::string s = std::signbit(v) && tenths != 0 ? "-" : "";
  s += std::to_string(tenths / 10);
  if (tenths % 10 != 0) s.append(".").append(1, static_cast<char>('0' + tenths % 10));
  return s;
}

std::string SvgTranslate(double x, double y) { return "translate(" + SvgNumber(x) + "," + SvgNumber(y) + ")"; }

SvgWriter::SvgWriter() { out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"; }

void SvgWriter::StartTag(std::string_view name, SvgAttributes attributes) {
  out_ += '<';
  out_ += name;
  for (const SvgAttribute& a : attributes) {
    out_ += ' ';
    out_ += a.name;
    out_ += "=\"";
    AppendEscaped(&out_, a.value);
    out_ += '"';
  }
}

void SvgWriter::Open(std::string_view name, SvgAttributes attributes) {
  StartTag(name, attributes);
  out_ += '>';
  open_.emplace_back(name);
}

void SvgWriter::Close() {
  out_ += "</";
  out_ += open_.back();
  out_ += '>';
  open_.pop_back();
}

void SvgWriter::Empty(std::string_view name, SvgAttributes attributes) {
  StartTag(name, attributes);
  out_ += "/>";
}

void SvgWriter::TextElement(std::string_view name, SvgAttributes attributes, std::string_view text) {
  Open(name, attributes);
  AppendEscaped(&out_, text);
  Close();
}

void SvgWriter::LineBreak() { out_ += '\n'; }

std::string SvgWriter::Finish() {
  while (!open_.empty()) {
    Close();
    LineBreak();
  }
  return std::move(out_);
}
