// Hostile text from the network through the real report writers: the terminal sees every
// control as "\xHH", a spreadsheet sees no formula, JSON stays valid and holds the text as it
// came, and GBK characters whose bytes fall in the C1 range pass intact.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/global_ping/global_ping_report.h"
#include "app/report/table_report.h"
#include "app/table/server_table.h"
#include "support/json_documents/json_documents.h"
#include "support/text/text_codec.h"
#include "tests/support/named_cases.h"

namespace vardelle {
namespace {

using named_cases::PrintTo;
using nlohmann::json;

struct HostileCase {
  const char* name;
  std::string received;  // GBK, as the server list or the status site gave it
  std::string shown;     // GBK, as a terminal or a spreadsheet gets it
  std::string csvCell;   // the cell as the CSV file spells it, before UTF-8
};

const HostileCase kCases[] = {
    {"colourAndTitleEscapes", "\x1b[31m电信\x1b]0;pwned\x07", "\\x1b[31m电信\\x1b]0;pwned\\x07",
     "\\x1b[31m电信\\x1b]0;pwned\\x07"},
    {"lineEndsAndDelete", "a\r\nb\x7f\x01", "a\\x0d\\x0ab\\x7f\\x01", "a\\x0d\\x0ab\\x7f\\x01"},
    {"tabKept", "a\tb", "a\tb", "a\tb"},
    {"loneC1Bytes",
     "a\x9b"
     "1;2H\x85",
     "a\\x9b1;2H\\x85", "a\\x9b1;2H\\x85"},
    {"leadWithoutTrail", "\x81\x1b", "\\x81\\x1b", "\\x81\\x1b"},
    {"gbkTrailsInC1Range", "亜洓皜仜閲鎰", "亜洓皜仜閲鎰", "亜洓皜仜閲鎰"},
    {"link", "<a href=\"https://x.example\">点</a>", "<a href=\"https://x.example\">点</a>",
     "\"<a href=\"\"https://x.example\"\">点</a>\""},
    {"localImage", "<img src=file:///etc/passwd>", "<img src=file:///etc/passwd>",
     "<img src=file:///etc/passwd>"},
    {"formula", "=cmd|' /C calc'!A0", "=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0"},
    {"plusFormula", "+1+cmd|x", "+1+cmd|x", "'+1+cmd|x"},
    {"minusFormula", "-2+3", "-2+3", "'-2+3"},
    {"atFormula", "@SUM(A1:A9)", "@SUM(A1:A9)", "'@SUM(A1:A9)"},
    {"leadingTab", "\t=1", "\t=1", "'\t=1"},
    {"leadingReturn", "\r=1", "\\x0d=1", "\\x0d=1"},
    {"plainNegativeNumber", "-1", "-1", "-1"},
    {"plainFraction", "-12.5", "-12.5", "-12.5"},
    {"loneMinus", "-", "-", "'-"},
};

// No byte that a terminal takes as a control, but the report's own line ends and tabs.
void ExpectNoControls(const std::string& utf8) {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const bool c0 = byte < 0x20 && byte != '\n' && byte != '\r' && byte != '\t';
    const bool c1 = byte == 0xC2 && i + 1 < utf8.size() &&
                    static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
    EXPECT_FALSE(c0 || c1 || byte == 0x7F) << "byte " << int{byte} << " at " << i;
  }
}

std::string Line(const std::string& report, int index) {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) start = report.find("\r\n", start) + 2;
  return report.substr(start, report.find("\r\n", start) - start);
}

class HostileText : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileText, TableReportKeepsItInert) {
  const HostileCase& c = GetParam();
  ReportRow report;
  report.row.cells[kNameColumn] = c.received;
  report.row.cells[kStatusColumn] = c.received;
  report.row.cells[kLatencyColumn] = "12ms";
  const std::vector<ReportRow> rows{report};

  const std::string text = FormatTableReport(rows, ReportFormat::kText);
  ExpectNoControls(text);
  EXPECT_NE(text.find("\n" + GbkToUtf8(c.shown)), std::string::npos) << text;

  const std::string csv = FormatTableReport(rows, ReportFormat::kCsv);
  ExpectNoControls(csv);
  EXPECT_TRUE(Line(csv, 1).starts_with(GbkToUtf8(c.csvCell) + ",")) << Line(csv, 1);

  const std::string output = FormatTableReport(rows, ReportFormat::kJson);
  ExpectNoControls(output);
  const json parsed = ParseJson(output);
  EXPECT_EQ(parsed["rows"][0]["serverName"], GbkToUtf8(c.received));
  EXPECT_EQ(parsed["rows"][0]["regionStatus"], GbkToUtf8(c.received));
}

TEST_P(HostileText, GlobalPingReportKeepsItInert) {
  const HostileCase& c = GetParam();
  ServerMeasurement result;
  result.server = {c.received, "a.example"};
  result.outcome.failure = c.received;
  ServerMeasurement probed;
  probed.server = {"电信01区", "b.example"};
  probed.outcome.measurement.id = "m-1";
  probed.outcome.measurement.probes.push_back(
      {c.received, "CN", 4134, c.received, "finished", 1.0, 2.0, 3.0, 0.0, 3});
  const std::vector<ServerMeasurement> results{result, probed};
  const GlobalPingPlace& place = DefaultGlobalPingPlace();

  const std::string text = FormatGlobalPingReport(place, results, ReportFormat::kText);
  ExpectNoControls(text);
  EXPECT_NE(text.find("\n" + GbkToUtf8(c.shown) + "  a.example  -  " + GbkToUtf8(c.shown)),
            std::string::npos)
      << text;

  const std::string csv = FormatGlobalPingReport(place, results, ReportFormat::kCsv);
  ExpectNoControls(csv);
  const std::string& cell = c.csvCell;
  EXPECT_EQ(Line(csv, 1), GbkToUtf8(cell + ",a.example,,failed," + cell + ",,,,,,,,,"));
  EXPECT_EQ(Line(csv, 2), GbkToUtf8("电信01区,b.example,m-1,finished,," + cell + ",CN,4134," +
                                    cell + ",finished,1,2,3,0"));

  const std::string output = FormatGlobalPingReport(place, results, ReportFormat::kJson);
  ExpectNoControls(output);
  const json parsed = ParseJson(output);
  EXPECT_EQ(parsed["servers"][0]["serverName"], GbkToUtf8(c.received));
  EXPECT_EQ(parsed["servers"][0]["failure"], GbkToUtf8(c.received));
  EXPECT_EQ(parsed["servers"][1]["probes"][0]["city"], GbkToUtf8(c.received));
}

// The measurement id and the probes' status words come in UTF-8 as the API spelt them: their
// C1 controls are code points, and a stray byte of that range is shown too.
TEST(HostileUtf8Text, GlobalPingIdsAndStatusWordsAreShownInert) {
  const std::string received = "id\x1b[2J\xc2\x9b\xc3\xa9\x9b\xe4\xb8\xad";
  const std::string shown = "id\\x1b[2J\\x9b\xc3\xa9\\x9b\xe4\xb8\xad";
  ServerMeasurement result;
  result.server = {"a", "a.example"};
  result.outcome.measurement.id = received;
  result.outcome.measurement.probes.push_back(
      {"c", "CN", 1, "n", received, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {}});
  for (const ReportFormat format : {ReportFormat::kText, ReportFormat::kCsv}) {
    const std::string report = FormatGlobalPingReport(DefaultGlobalPingPlace(), {result}, format);
    ExpectNoControls(report);
    if (format == ReportFormat::kCsv) {
      EXPECT_EQ(Line(report, 1), "a,a.example," + shown + ",finished,,c,CN,1,n," + shown + ",,,,");
    } else {
      EXPECT_NE(report.find("a  a.example  " + shown), std::string::npos) << report;
    }
  }
  const json parsed =
      ParseJson(FormatGlobalPingReport(DefaultGlobalPingPlace(), {result}, ReportFormat::kJson));
  EXPECT_EQ(parsed["servers"][0]["probes"][0]["status"],
            "id\x1b[2J\xc2\x9b\xc3\xa9\xef\xbf\xbd\xe4\xb8\xad");
}

INSTANTIATE_TEST_SUITE_P(Reports, HostileText, ::testing::ValuesIn(kCases),
                         named_cases::CaseName<HostileCase>);

}  // namespace
}  // namespace vardelle
