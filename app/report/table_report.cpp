#include "app/report/table_report.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "app/report/report_text.h"
#include "app/table/server_table.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

constexpr char kNull[] = "null";

std::optional<int> LatencyMs(const MemoryRow& row) {
  if (row.icon != RowIcon::kAnswered) return std::nullopt;
  const std::string& cell = row.cells[kLatencyColumn];
  int value = 0;
  for (const char c : cell.substr(0, cell.find("ms"))) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min(value * 10 + (c - '0'), 999'999'999);
  }
  return value;
}

std::optional<std::string> ColourText(Colour colour) {
  if (colour == kDefaultColour) return std::nullopt;
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}

// Fixed-point with three decimals, as ping prints its figures; to_chars ignores the locale.
std::string Decimal(double value) {
  char text[32];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
  return error == std::errc() ? std::string(text, end) : std::string("0");
}

std::optional<std::string> NumberText(const std::optional<double>& value) {
  return value ? std::optional(Decimal(*value)) : std::nullopt;
}

std::optional<std::string> NumberText(const std::optional<int>& value) {
  return value ? std::optional(std::to_string(*value)) : std::nullopt;
}

// One row's fields in report order; nothing stands for null. Texts are UTF-8.
struct Field {
  std::string_view name;
  std::optional<std::string> value;
  bool isNumber = false;
};

std::vector<Field> FieldsOf(const ReportRow& report) {
  const MemoryRow& row = report.row;
  const std::optional<int> latency = LatencyMs(row);
  return {
      {"serverName", GbkToUtf8(row.cells[kNameColumn])},
      {"regionName", GbkToUtf8(row.cells[kRegionColumn])},
      {"domain", GbkToUtf8(row.cells[kDomainColumn])},
      {"address", GbkToUtf8(row.cells[kAddressColumn])},
      {"latency", GbkToUtf8(row.cells[kLatencyColumn])},
      {"latencyMs", latency ? std::optional(std::to_string(*latency)) : std::nullopt, true},
      {"regionStatus", GbkToUtf8(row.cells[kStatusColumn])},
      {"location", GbkToUtf8(row.cells[kLocationColumn])},
      {"locationSource", row.locationSource == LocationSource::kOffline ? "offline" : "site"},
      {"stateIcon", std::to_string(static_cast<int>(row.icon)), true},
      {"textColour", ColourText(report.textColour)},
      {"sent", std::to_string(report.statistics.sent), true},
      {"received", std::to_string(report.statistics.received), true},
      {"lossPercent", NumberText(report.statistics.lossPercent), true},
      {"minMs", NumberText(report.statistics.minMs), true},
      {"avgMs", NumberText(report.statistics.avgMs), true},
      {"maxMs", NumberText(report.statistics.maxMs), true},
      {"mdevMs", NumberText(report.statistics.mdevMs), true},
      {"jitterMs", NumberText(report.statistics.jitterMs), true},
      {"intercepted", report.intercepted ? "true" : "false", true},
  };
}

std::string JsonString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string JsonReport(const std::vector<ReportRow>& rows) {
  std::string json = "{\"rows\": [";
  for (std::size_t r = 0; r < rows.size(); ++r) {
    json += r == 0 ? "\n  {" : ",\n  {";
    const std::vector<Field> fields = FieldsOf(rows[r]);
    for (std::size_t f = 0; f < fields.size(); ++f) {
      const Field& field = fields[f];
      json += (f == 0 ? "" : ", ") + JsonString(field.name) + ": ";
      json += !field.value ? kNull : field.isNumber ? *field.value : JsonString(*field.value);
    }
    json += "}";
  }
  return EscapeJsonControls(json + (rows.empty() ? "]}\n" : "\n]}\n"));
}

std::string CsvReport(const std::vector<ReportRow>& rows) {
  std::string csv;
  const auto line = [&csv](const std::vector<std::string>& fields) {
    for (std::size_t f = 0; f < fields.size(); ++f) csv += (f ? "," : "") + CsvCell(fields[f]);
    csv += "\r\n";
  };
  std::vector<std::string> header;
  for (const Field& field : FieldsOf(ReportRow{})) header.emplace_back(field.name);
  line(header);
  for (const ReportRow& row : rows) {
    std::vector<std::string> values;
    for (const Field& field : FieldsOf(row)) values.push_back(field.value.value_or(""));
    line(values);
  }
  return csv;
}

// Columns a terminal shows two cells wide: CJK characters and full-width forms.
int DisplayWidth(std::string_view gbk) {
  int width = 0;
  for (const char16_t unit : ToUtf16(gbk)) {
    const bool wide = (unit >= 0x1100 && unit <= 0x115F) || (unit >= 0x2E80 && unit <= 0xA4CF) ||
                      (unit >= 0xAC00 && unit <= 0xD7A3) || (unit >= 0xF900 && unit <= 0xFAFF) ||
                      (unit >= 0xFE30 && unit <= 0xFE4F) || (unit >= 0xFF00 && unit <= 0xFF60) ||
                      (unit >= 0xFFE0 && unit <= 0xFFE6);
    width += wide ? 2 : 1;
  }
  return width;
}

const char* StateWord(RowIcon icon) {
  switch (icon) {
    case RowIcon::kAnswered:
      return "有响应";
    case RowIcon::kNoAnswer:
      return "无响应";
    case RowIcon::kNotTested:
      break;
  }
  return "未测试";
}

std::string LossText(const LatencyStatistics& statistics) {
  return statistics.lossPercent ? Decimal(*statistics.lossPercent) + "%" : "-";
}

std::string AverageMaximumText(const LatencyStatistics& statistics) {
  if (!statistics.avgMs || !statistics.maxMs) return "-";
  return Decimal(*statistics.avgMs) + "/" + std::to_string(*statistics.maxMs) + "ms";
}

std::string TextReport(const std::vector<ReportRow>& rows) {
  std::vector<std::vector<std::string>> table{{"服务器名称", "大区名称", "域名", "IP地址", "延迟",
                                               "大区状态", "服务器机房地理位置", "状态", "丢包率",
                                               "平均/最大"}};
  for (const ReportRow& report : rows) {
    std::vector<std::string> cells(report.row.cells.begin(), report.row.cells.end());
    cells.push_back(StateWord(report.row.icon) +
                    std::string(report.intercepted ? "（被代答）" : ""));
    cells.push_back(LossText(report.statistics));
    cells.push_back(AverageMaximumText(report.statistics));
    table.push_back(std::move(cells));
  }
  std::vector<int> widths(table.front().size(), 0);
  for (const auto& cells : table) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(cells[c]));
    }
  }
  std::string text;
  for (const auto& cells : table) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const std::string padding(static_cast<std::size_t>(widths[c] - DisplayWidth(cells[c])), ' ');
      // Latencies line up on their right edge, as numbers do.
      line += c == kLatencyColumn ? padding + cells[c] : cells[c] + padding;
      if (c + 1 < cells.size()) line += "  ";
    }
    text += GbkToUtf8(line.substr(0, line.find_last_not_of(' ') + 1)) + "\n";
  }
  return text;
}

// The rows as a terminal or a spreadsheet may take them: JSON escapes controls itself.
std::vector<ReportRow> WithVisibleControls(std::vector<ReportRow> rows) {
  for (ReportRow& report : rows) {
    for (std::string& cell : report.row.cells) cell = VisibleControls(cell);
  }
  return rows;
}

}  // namespace

std::optional<ReportFormat> ReportFormatNamed(std::string_view name) {
  if (name == "text") return ReportFormat::kText;
  if (name == "json") return ReportFormat::kJson;
  if (name == "csv") return ReportFormat::kCsv;
  return std::nullopt;
}

std::string FormatTableReport(const std::vector<ReportRow>& rows, ReportFormat format) {
  switch (format) {
    case ReportFormat::kJson:
      return JsonReport(rows);
    case ReportFormat::kCsv:
      return CsvReport(WithVisibleControls(rows));
    case ReportFormat::kText:
      break;
  }
  return TextReport(WithVisibleControls(rows));
}

}  // namespace vardelle
