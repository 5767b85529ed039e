// The SVG element writer: tags, attributes, escaped texts and pixel numbers.
#include "cli/svg_writer.h"

#include <cstdio>
#include <utility>

#include "cli/encoding.h"

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

}  // namespace

std::string SvgNumber(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", v);
  std::string s = buffer;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  if (s == "-0") s = "0";
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
