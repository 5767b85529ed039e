// A small writer of SVG documents: every element and attribute goes through it,
// and it escapes text and attribute values, so no markup is put together by hand.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// A pixel coordinate or length with at most one decimal ("84", "12.5"; never "-0").
std::string SvgNumber(double v);

// One attribute: a name and its value, a text or a number (written with SvgNumber).
struct SvgAttribute {
  SvgAttribute(std::string_view name, std::string_view value) : name(name), value(value) {}
  SvgAttribute(std::string_view name, const char* value) : name(name), value(value) {}
  SvgAttribute(std::string_view name, const std::string& value) : name(name), value(value) {}
  SvgAttribute(std::string_view name, double value) : name(name), value(SvgNumber(value)) {}
  SvgAttribute(std::string_view name, int value) : name(name), value(SvgNumber(value)) {}
  std::string_view name;
  std::string value;
};
using SvgAttributes = std::initializer_list<SvgAttribute>;

// "translate(x,y)", the value of a transform that moves a group.
std::string SvgTranslate(double x, double y);

// Builds a document from its XML declaration on. Texts are UTF-8; control
// characters, which XML 1.0 does not allow or a reader may trip over, are
// written as U+FFFD.
class SvgWriter {
 public:
  SvgWriter();
  // <name attributes...>, closed again by Close.
  void Open(std::string_view name, SvgAttributes attributes = {});
  // The end tag of the element opened last.
  void Close();
  // <name attributes.../>
  void Empty(std::string_view name, SvgAttributes attributes);
  // <name attributes...>text</name>
  void TextElement(std::string_view name, SvgAttributes attributes, std::string_view text);
  // A line break between elements, for a reader of the file.
  void LineBreak();
  // The document, with every element closed.
  std::string Finish();

 private:
  void StartTag(std::string_view name, SvgAttributes attributes);
  std::string out_;
  std::vector<std::string> open_;
};
