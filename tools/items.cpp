// Reading the comma- or line-separated items of a file, quoted or plain, and writing a field as an item.
#include "tools/items.h"

namespace {

constexpr char kBlank = ' ';
constexpr char kQuote = '"';

bool AtLineEnd(const ItemReader& r) { return r.pos >= r.text.size() || r.text[r.pos] == '\r' || r.text[r.pos] == '\n'; }

// Consumes one line end: CR LF, or a lone CR or LF.
void SkipLineEnd(ItemReader& r) {
  if (r.pos < r.text.size() && r.text[r.pos] == '\r') ++r.pos;
  if (r.pos < r.text.size() && r.text[r.pos] == '\n') ++r.pos;
}

// Moves past the next comma or line end of the current line.
void SkipToItemEnd(ItemReader& r) {
  while (!AtLineEnd(r) && r.text[r.pos] != ',') ++r.pos;
  if (r.pos < r.text.size() && r.text[r.pos] == ',')
    ++r.pos;
  else
    SkipLineEnd(r);
}

}  // namespace

bool HasData(const ItemReader& reader) { return reader.pos < reader.text.size(); }

std::string ReadItem(ItemReader& r) {
  while (r.pos < r.text.size() && r.text[r.pos] == kBlank) ++r.pos;
  std::string item;
  if (r.pos < r.text.size() && r.text[r.pos] == kQuote) {
    ++r.pos;
    while (r.pos < r.text.size()) {
      char c = r.text[r.pos++];
      if (c != kQuote) {
        item += c;
      } else if (r.pos < r.text.size() && r.text[r.pos] == kQuote) {
        item += kQuote;
        ++r.pos;
      } else {
        break;
      }
    }
    SkipToItemEnd(r);
    return item;
  }
  std::size_t start = r.pos;
  while (!AtLineEnd(r) && r.text[r.pos] != ',') ++r.pos;
  item.assign(r.text.substr(start, r.pos - start));
  SkipToItemEnd(r);
  return item;
}

std::string ItemText(std::string_view field) {
  bool plain = field.find_first_of(",\r\n") == std::string_view::npos &&
               (field.empty() || (field.front() != kBlank && field.front() != kQuote));
  if (plain) return std::string(field);
  std::string text(1, kQuote);
  for (char c : field) {
    if (c == kQuote) text += kQuote;
    text += c;
  }
  text += kQuote;
  return text;
}
