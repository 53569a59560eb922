#include "app/report/report_text.h"

#include <algorithm>
#include <cstdio>

namespace vardelle {
namespace {

bool IsGbkLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

bool IsGbkTrail(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

// A byte standing alone, not within a double-byte character.
bool IsControl(unsigned char byte) {
  return (byte < 0x20 && byte != '\t') || byte == 0x7F || (byte >= 0x81 && byte <= 0x9F);
}

// The length of the valid UTF-8 sequence at the start of text; 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  const std::size_t length = lead < 0x80                    ? 1
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

std::string Escaped(const char* format, unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// An optional minus, digits, and an optional fraction.
bool IsPlainNumber(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view("0") : text.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return digits(whole) && digits(fraction);
}

bool ReadsAsFormula(std::string_view text) {
  return !text.empty() &&
         std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
         !IsPlainNumber(text);
}

}  // namespace

std::string VisibleControls(std::string_view gbk) {
  std::string shown;
  shown.reserve(gbk.size());
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    if (IsGbkLead(byte) && i + 1 < gbk.size() &&
        IsGbkTrail(static_cast<unsigned char>(gbk[i + 1]))) {
      shown.append(gbk.substr(i, 2));
      ++i;
    } else if (IsControl(byte)) {
      shown += Escaped("\\x%02x", byte);
    } else {
      shown += gbk[i];
    }
  }
  return shown;
}

std::string VisibleUtf8Controls(std::string_view utf8) {
  std::string shown;
  shown.reserve(utf8.size());
  while (!utf8.empty()) {
    const std::size_t length = Utf8SequenceLength(utf8);
    const auto lead = static_cast<unsigned char>(utf8.front());
    const unsigned code = length == 2 ? ((lead & 0x1Fu) << 6) | (utf8[1] & 0x3Fu) : lead;
    const bool control = length == 0   ? lead >= 0x80 && lead <= 0x9F
                         : length == 1 ? IsControl(lead)
                                       : length == 2 && code <= 0x9F;
    if (control) {
      shown += Escaped("\\x%02x", code);
    } else {
      shown.append(utf8.substr(0, std::max<std::size_t>(length, 1)));
    }
    utf8.remove_prefix(std::max<std::size_t>(length, 1));
  }
  return shown;
}

std::string CsvCell(std::string_view text) {
  const std::string cell = ReadsAsFormula(text) ? "'" + std::string(text) : std::string(text);
  if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (const char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string EscapeJsonControls(std::string_view json) {
  std::string escaped;
  escaped.reserve(json.size());
  for (std::size_t i = 0; i < json.size(); ++i) {
    const auto byte = static_cast<unsigned char>(json[i]);
    const auto next = i + 1 < json.size() ? static_cast<unsigned char>(json[i + 1]) : 0u;
    if (byte == 0x7F) {
      escaped += "\\u007f";
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      escaped += Escaped("\\u%04x", next);
      ++i;
    } else {
      escaped += json[i];
    }
  }
  return escaped;
}

}  // namespace vardelle
