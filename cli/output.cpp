// Quoting of texts for the console, JSON, CSV and tab-separated output.
#include "cli/output.h"

#include "encoding/cp1252.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr char kLowerHex[] = "0123456789abcdef";

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// A control character as two hexadecimal digits after the prefix.
void AppendEscaped(std::string* out, const char* prefix, const char* digits, char32_t c) {
  *out += prefix;
  *out += digits[c >> 4];
  *out += digits[c & 0xF];
}

}  // namespace

std::string ConsoleText(std::string_view utf8, bool keep_line_breaks) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    if (keep_line_breaks && utf8.substr(i, 2) == "\r\n") {
      out += "\r\n";
      i += 2;
      continue;
    }
    char32_t c = NextCodePoint(utf8, &i);
    if (IsControl(c)) {
      AppendEscaped(&out, "\\x", kHex, c);
    } else {
      AppendUtf8(&out, c);
    }
  }
  return out;
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = NextCodePoint(utf8, &i);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (IsControl(c)) {
          AppendEscaped(&out, "\\u00", kLowerHex, c);
        } else {
          AppendUtf8(&out, c);
        }
    }
  }
  return out + "\"";
}

std::string CsvField(std::string_view text, char separator) {
  const char special[] = {separator, '"', '\r', '\n', '\0'};
  if (text.find_first_of(special) == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string TabField(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    out += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
  }
  return out;
}

std::string DecimalCommaNumber(std::string_view number) {
  if (!number.empty() && number[0] == ' ') number.remove_prefix(1);
  std::string out;
  for (std::size_t i = 0; i < number.size(); ++i) {
    char c = number[i];
    if (c == '.') {
      if (i + 1 < number.size() && number[i + 1] != 'E') out += ',';
    } else if (c == 'E') {
      out += number.substr(i, 2);  // "E" and its sign
      std::size_t digits = number.find_first_not_of('0', i + 2);
      out += digits == std::string_view::npos ? "0" : number.substr(digits);
      break;
    } else {
      out += c;
    }
  }
  return out;
}
