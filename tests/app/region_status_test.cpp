// The region status query: cutting and splitting, every step of the look-up on crafted
// documents, the downloads from loopback sites and the demo world, and a set replaced while
// many threads read it.
#include "app/status/region_status.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/application/application.h"
#include "demo_world/demo_world.h"
#include "testing/loopback.h"
#include "testing/loopback_site.h"

namespace vardelle {
namespace {

using Pieces = std::vector<Text>;

std::string Repeated(std::string_view unit, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += unit;
  return text;
}

TEST(TextBetweenTest, CutsBetweenCaseBlindMarkersSteppingOverDoubleByteCharacters) {
  struct Case {
    std::string text, start, end, expected;
  };
  const Case cases[] = {
      {"x = {ServerInfo : {'1':'a'},", "ServerInfo : {", "},", "'1':'a'"},
      {"SERVERINFO : {'1':'a'},", "ServerInfo : {", "},", "'1':'a'"},
      {"x]; STD_DATA=[{a}];", "std_data=", "];", "[{a}"},  // an end before the start is passed
      {"[{},", "[{", "},", ""},
      {"ServerInfo: {'1':'a'},", "ServerInfo : {", "},", ""},
      {"ServerInfo : {'1':'a'}", "ServerInfo : {", "},", ""},
      {"", "[{", "},", ""},
      // 81 7D is one character ending in "}", and 81 41 one ending in "A".
      {"[{a\x81},b},", "[{", "},", "a\x81},b"},
      {"\x81"
       "A:'v'a:'w'",
       "a:'", "'", "w"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.expected) << c.text;
  }
}

TEST(SplitAtCommasTest, KeepsEmptyPiecesButTheTrailingOneUpToTheBound) {
  struct Case {
    std::string text;
    Pieces expected;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a,,b", {"a", "", "b"}},
      {",a,", {"", "a"}},
      {"a,,", {"a", ""}},
      {"1:'正常',2:'拥挤'", {"1:'正常'", "2:'拥挤'"}},
      {"a\x81,b,c", {"a\x81,b", "c"}},  // a lead byte takes the byte after it along
      {Repeated("x,", kMostListPieces), Pieces(kMostListPieces, "x")},
      {Repeated("x,", kMostListPieces) + "x", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitAtCommas(c.text), c.expected) << c.text;
}

// Documents shaped as the operator writes them, each cut as the query cuts it.
struct Documents {
  std::string serverInfo = "'1':'艾欧尼亚','2':'祖安','3':'诺克萨斯'";
  std::string serverStatus = "1:'正常',2:'拥挤',3:'满载'";
  std::string statusCodes = R"("1":"1","2":"2","3":"3")";
  std::string selector = R"({t:"艾欧尼亚" status:"1"},{t:"祖安" status:"1"})";

  RegionStatusLists Lists() const {
    RegionStatusLists lists;
    CutStatusScript("ServerInfo : {" + serverInfo + "},\nServerStatus : {" + serverStatus + "},",
                    lists);
    CutStatusService("[{" + statusCodes + "},{}]", lists);
    CutSelectorScript("LOLServerSelect.STD_DATA=[" + selector + "];", lists);
    return lists;
  }
};

struct LookUpCase {
  const char* name;
  std::function<void(Documents&)> change;
  const char* region;
  const char* expected;
};

TEST(LookUpRegionStatusTest, FollowsEveryStepAsWritten) {
  const LookUpCase cases[] = {
      {"Up", [](Documents&) {}, "艾欧尼亚", "正常"},
      {"Full", [](Documents&) {}, "诺克萨斯", "满载"},
      // Stopped regions: every selector piece naming the region is checked.
      {"StoppedBeatsTheScript", [](Documents& d) { d.selector = R"({t:"祖安" status:"0"})"; },
       "祖安", "停机"},
      {"DuplicateSelectorPieces",
       [](Documents& d) { d.selector = R"({t:"祖安" status:"1"},{t:"祖安" v:"2b" status:"0"})"; },
       "祖安", "停机"},
      {"NameMustFollowAQuote", [](Documents& d) { d.selector = R"({t:X祖安 status:"0"})"; }, "祖安",
       "拥挤"},
      {"StateMustBeExactlyZero", [](Documents& d) { d.selector = R"({t:"祖安" status:"00"})"; },
       "祖安", "拥挤"},
      {"CapitalStateMarker", [](Documents& d) { d.selector = R"({t:"祖安" STATUS:"0"})"; }, "祖安",
       "停机"},
      {"FullWidthSpacesAroundSelectorPiece",
       [](Documents& d) { d.selector = "　 {t:\"祖安\" status:\"0\"} 　"; }, "祖安", "停机"},
      // Region id: only the first piece naming the region counts.
      {"RegionNotListed", [](Documents&) {}, "体验服", "未知状态"},
      {"NameMustBeWhole", [](Documents& d) { d.serverInfo = "'2':'祖安二'"; }, "祖安", "未知状态"},
      {"FirstInfoPieceLeadsNowhere", [](Documents& d) { d.serverInfo = "'9':'祖安','2':'祖安'"; },
       "祖安", "未知状态"},
      {"FullWidthSpacesAroundInfoPiece",
       [](Documents& d) { d.serverInfo = "　'2':'祖安'　, '3':'诺克萨斯' "; }, "祖安", "拥挤"},
      // Status code: the id between quotes, the first piece only; the code a quoted text.
      {"NoCodeForTheId", [](Documents& d) { d.statusCodes = R"("1":"1")"; }, "祖安", "未知状态"},
      {"BareNumberCode", [](Documents& d) { d.statusCodes = R"("2":2)"; }, "祖安", "未知状态"},
      {"EmptyCode", [](Documents& d) { d.statusCodes = R"("2":"")"; }, "祖安", "未知状态"},
      {"IdInsideALongerId", [](Documents& d) { d.statusCodes = R"("12":"3","2":"2")"; }, "祖安",
       "拥挤"},
      {"FirstCodePieceCounts", [](Documents& d) { d.statusCodes = R"("2":"3","2":"2")"; }, "祖安",
       "满载"},
      // Status word: the first piece keyed by the code.
      {"CodeInsideALongerCode",
       [](Documents& d) {
         d.serverStatus = "10:'维护',1:'正常'";
         d.statusCodes = R"("1":"1")";
       },
       "艾欧尼亚", "正常"},
      {"CodeInsideAWord", [](Documents& d) { d.serverStatus = "1:'2',2:'拥挤'"; }, "祖安", "拥挤"},
      {"BlanksAndLineBreaksBeforeTheKey",
       [](Documents& d) { d.serverStatus = "1:'正常',\r\n\t 　2:'拥挤'"; }, "祖安", "拥挤"},
      {"StatusListPastTheBound",
       [](Documents& d) { d.serverStatus = "2:'拥挤'" + Repeated(",x", kMostListPieces); }, "祖安",
       "未知状态"},
      {"NoWordForTheCode", [](Documents& d) { d.serverStatus = "1:'正常'"; }, "祖安", "未知状态"},
      {"UnknownWordAsPublished", [](Documents& d) { d.serverStatus = "2:'火爆'"; }, "祖安", "火爆"},
      {"WordWithASecondByteMarker", [](Documents& d) { d.serverStatus = "2:'\x81}x'"; }, "祖安",
       "\x81}x"},
      {"NoDocuments",
       [](Documents& d) {
         d = {"", "", "", ""};
       },
       "祖安", "未知状态"},
  };
  for (const LookUpCase& c : cases) {
    Documents documents;
    c.change(documents);
    EXPECT_EQ(ReadRegionWord(documents.Lists(), c.region).shown, c.expected) << c.name;
  }
}

// The key forms a status script writes its codes in, each with the blanks and line breaks a
// script laid out over lines puts before it and blanks before the colon: code 1 finds its own
// piece and never code 10's or 21's, whichever comes first.
TEST(LookUpRegionStatusTest, CodesAreFoundAsKeysInEveryFormAScriptWritesThem) {
  const char* const quotes[] = {"", "'", "\""};
  const char* const before[] = {"", " ", "\r\n\t", "\n    ", "　", "\t　 "};
  const char* const beforeColon[] = {"", " ", "\t"};
  for (const char* quote : quotes) {
    for (const char* blanks : before) {
      for (const char* colonBlanks : beforeColon) {
        const auto piece = [&](const char* code, const char* word) {
          return JoinTexts({blanks, quote, code, quote, colonBlanks, ":'", word, "'"});
        };
        Documents documents;
        documents.serverStatus = JoinTexts({piece("10", "维护"), ",", piece("21", "火爆"), ",",
                                            piece("1", "正常"), ",", piece("2", "拥挤")});
        documents.statusCodes = R"("1":"1","2":"2","3":"10")";
        const RegionStatusLists lists = documents.Lists();
        SCOPED_TRACE(documents.serverStatus);
        EXPECT_EQ(ReadRegionWord(lists, "艾欧尼亚").shown, "正常");
        EXPECT_EQ(ReadRegionWord(lists, "祖安").shown, "拥挤");
        EXPECT_EQ(ReadRegionWord(lists, "诺克萨斯").shown, "维护");
      }
    }
  }
}

TEST(LookUpRegionStatusTest, KeysAreWholeCodesInMatchingQuotes) {
  const std::pair<const char*, const char*> cases[] = {
      {"'1\":'正常',1:'拥挤'", "拥挤"},  // quotes that do not match are no quotes
      {"'01':'正常',1:'拥挤'", "拥挤"},
      {"1 0:'正常',1:'拥挤'", "拥挤"},
      {"'':'正常',1:'拥挤'", "拥挤"},
      {"x1:'正常',1:'拥挤'", "拥挤"},
      {"1'正常',1:'拥挤'", "拥挤"},  // no colon: no key
      {"'1'", "未知状态"},
  };
  for (const auto& [serverStatus, expected] : cases) {
    Documents documents;
    documents.serverStatus = serverStatus;
    EXPECT_EQ(ReadRegionWord(documents.Lists(), "艾欧尼亚").shown, expected) << serverStatus;
  }
}

// The word a complete reading gives: 停机 from the selector alone, every other word from all
// three documents; a document that failed (cut without its markers) reads nothing, whatever the
// table's word is then.
TEST(CompleteRegionStatusTest, AWordIsReadOnlyWhenTheDocumentsItDependsOnWereRead) {
  enum Failing { kNone, kScript, kService, kSelector };
  struct Case {
    Failing failing;
    const char* region;
    const char* tableWord;
    const char* read;
  };
  const Case cases[] = {
      {kNone, "艾欧尼亚", "正常", "正常"},    {kNone, "祖安", "停机", "停机"},
      {kScript, "艾欧尼亚", "未知状态", ""},  {kScript, "祖安", "停机", "停机"},
      {kService, "艾欧尼亚", "未知状态", ""}, {kService, "祖安", "停机", "停机"},
      {kSelector, "艾欧尼亚", "正常", ""},    {kSelector, "祖安", "拥挤", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.failing << " " << c.region);
    Documents documents;
    documents.selector = R"({t:"艾欧尼亚" status:"1"},{t:"祖安" status:"0"})";
    RegionStatusLists lists = documents.Lists();
    const char* const errorPage = "<html>503 Service Unavailable</html>";
    if (c.failing == kScript) CutStatusScript(errorPage, lists);
    if (c.failing == kService) CutStatusService(errorPage, lists);
    if (c.failing == kSelector) CutSelectorScript(errorPage, lists);
    EXPECT_EQ(ReadRegionWord(lists, c.region).shown, c.tableWord);
    EXPECT_EQ(ReadRegionWord(lists, c.region).Reading(), c.read);
  }
  // A script holding one of its two lists was not read whole either.
  RegionStatusLists lists = Documents().Lists();
  CutStatusScript("ServerInfo : {'1':'艾欧尼亚'},", lists);
  EXPECT_EQ(lists.statusScript, DocumentRead::kFailed);
  EXPECT_EQ(ReadRegionWord(lists, "艾欧尼亚").Reading(), "");
}

// ---------------------------------------------------------------------------------------
// Downloads

const std::string kScriptPath = "/act/a20150326dqpd/js/LOL_SERVER_STATUS.js";
const std::string kServicePath = "/lol/act/a20150325ServerStatus/getServerStatus.php";
const std::string kSelectorPath = "/comm-htdocs/js/game_area/lol_server_select.js";

// The three status documents on one loopback site; the paths asked for, in order.
class StatusSite {
 public:
  StatusSite() {
    Serve(kScriptPath, "application/javascript; charset=gb2312", &script);
    Serve(kServicePath, "application/json", &service);
    Serve(kSelectorPath, "application/javascript; charset=gb2312", &selector);
  }

  bool Start() { return site.Start(); }
  std::string BaseUrl() const { return site.Url(""); }
  std::vector<std::string> Paths() {
    std::lock_guard guard(mutex);
    return paths;
  }
  void SetDocuments(std::string statusScript, std::string statusService,
                    std::string selectorScript) {
    std::lock_guard guard(mutex);
    script = std::move(statusScript);
    service = std::move(statusService);
    selector = std::move(selectorScript);
  }

 private:
  void Serve(const std::string& path, const char* contentType, const std::string* body) {
    site.Serve(path, [=, this](const std::string&) {
      std::lock_guard guard(mutex);
      paths.push_back(path);
      return testing::SiteAnswer{200, *body, contentType};
    });
  }

  testing::LoopbackSite site;
  std::mutex mutex;
  std::vector<std::string> paths;
  std::string script, service, selector;
};

class FetchRegionStatusTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::KeepLoopbackTrafficDirect(); }
  void SetUp() override {
    app.lists = std::make_shared<ProcessLists>();
    ASSERT_TRUE(site.Start());
    for (Site status : {Site::kStatusSite, Site::kStatusService, Site::kSelectorSite}) {
      app.endpoints.SetBaseUrl(status, site.BaseUrl());
    }
  }

  StatusSite site;
  Application app;
};

TEST_F(FetchRegionStatusTest, AsksTheThreeDocumentsInOrderAndPublishesTheirLists) {
  site.SetDocuments(
      "var s = {\n SERVERINFO : {'1':'艾欧尼亚', '2':'祖安'},\n serverstatus : "
      "{1:'正常',2:'拥挤'},};",
      R"({"status":0,"data":[{"1":"2","2":"1"},{"update":"x"}]})",
      "lolserverselect.std_data=[{t:\"祖安\" status:\"0\"},\n{t:\"艾欧尼亚\"}];");
  const std::shared_ptr<const RegionStatusLists> before = CurrentRegionStatus(app.lists);

  const std::shared_ptr<const RegionStatusLists> lists =
      FetchRegionStatus(app.endpoints, app.lists);

  EXPECT_EQ(site.Paths(), (std::vector<std::string>{kScriptPath, kServicePath, kSelectorPath}));
  EXPECT_EQ(lists->serverInfoItems, (Pieces{"'1':'艾欧尼亚'", " '2':'祖安'"}));
  EXPECT_EQ(lists->serverStatusItems, (Pieces{"1:'正常'", "2:'拥挤'"}));
  EXPECT_EQ(lists->statusCodeItems, (Pieces{R"("1":"2")", R"("2":"1")"}));
  EXPECT_EQ(lists->selectorItems, (Pieces{"[{t:\"祖安\" status:\"0\"}", "\n{t:\"艾欧尼亚\"}"}));
  EXPECT_EQ(CurrentRegionStatus(app.lists), lists);
  EXPECT_TRUE(before->serverInfoItems.empty()) << "a published set never changes";
  for (DocumentRead read : {lists->statusScript, lists->statusService, lists->selector}) {
    EXPECT_EQ(read, DocumentRead::kRead);
  }
}

TEST_F(FetchRegionStatusTest, SitesWithoutAddressOrAnswerLeaveOnlyTheirListsEmpty) {
  site.SetDocuments("ServerInfo : {'1':'a'},", R"([{"1":"1"},)", "");
  app.endpoints.SetBaseUrl(Site::kStatusSite, "http://127.0.0.1:1");  // refused
  app.endpoints.SetBaseUrl(Site::kSelectorSite, "");

  const std::shared_ptr<const RegionStatusLists> lists =
      FetchRegionStatus(app.endpoints, app.lists);

  EXPECT_EQ(site.Paths(), std::vector<std::string>{kServicePath});
  EXPECT_EQ(lists->statusCodeItems, Pieces{R"("1":"1")"});
  EXPECT_TRUE(lists->serverInfoItems.empty() && lists->serverStatusItems.empty() &&
              lists->selectorItems.empty());
  EXPECT_EQ(ReadRegionWord(*lists, "a").shown, "未知状态");
  EXPECT_EQ(lists->statusScript, DocumentRead::kFailed);
  EXPECT_EQ(lists->statusService, DocumentRead::kRead);
  EXPECT_EQ(lists->selector, DocumentRead::kNotAsked);
}

TEST(RegionStatusPublishingTest, WithoutProcessListsTheQueryAnswersButPublishesNothing) {
  Application app;
  ASSERT_NE(CurrentRegionStatus(app.lists), nullptr);
  const std::shared_ptr<const RegionStatusLists> fetched =
      FetchRegionStatus(app.endpoints, app.lists);
  ASSERT_NE(fetched, nullptr);
  EXPECT_NE(CurrentRegionStatus(app.lists), fetched);
  EXPECT_EQ(ReadRegionWord(*CurrentRegionStatus(app.lists), "祖安").shown, "未知状态");
}

TEST(RegionStatusDemoWorldTest, EveryKindOfRegionGetsItsWordAndColour) {
  testing::KeepLoopbackTrafficDirect();
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  Application app;
  for (Site status : {Site::kStatusSite, Site::kStatusService, Site::kSelectorSite}) {
    app.endpoints.SetBaseUrl(status, world.BaseUrl());
  }
  const std::shared_ptr<const RegionStatusLists> lists =
      FetchRegionStatus(app.endpoints, app.lists);

  struct Expected {
    const char* region;
    const char* word;
    Colour colour;
  };
  const Expected regions[] = {
      {"诺克萨斯", "正常", 0x00000000},   {"祖安", "拥挤", 0x000080FF},
      {"艾欧尼亚", "满载", 0x000000FF},   {"影流", "维护", 0x00808080},
      {"男爵领域", "火爆", 0x00808080},   {"巨龙之巢", "停机", 0x00808080},
      {"体验服", "未知状态", 0x00808080},
  };
  for (const Expected& expected : regions) {
    const Text word = ReadRegionWord(*lists, expected.region).shown;
    EXPECT_EQ(word, expected.word) << expected.region;
    EXPECT_EQ(StatusWordColour(word), expected.colour) << expected.region;
  }
}

// Readers take the current set while queries replace it: every set a reader holds is whole
// (both regions answer from the same version) and stays valid after it is replaced.
TEST(RegionStatusConcurrencyTest, ASetReplacedWhileManyThreadsReadIt) {
  testing::KeepLoopbackTrafficDirect();
  StatusSite site;
  ASSERT_TRUE(site.Start());
  Application app;
  app.lists = std::make_shared<ProcessLists>();
  for (Site status : {Site::kStatusSite, Site::kStatusService, Site::kSelectorSite}) {
    app.endpoints.SetBaseUrl(status, site.BaseUrl());
  }
  const auto serveVersion = [&site](int version) {
    site.SetDocuments(
        "ServerInfo : {'1':'祖安','2':'诺克萨斯'},ServerStatus : {1:'正常',2:'拥挤'},",
        version == 1 ? R"([{"1":"1","2":"1"},)" : R"([{"1":"2","2":"2"},)",
        "LOLServerSelect.STD_DATA={t:\"v" + std::to_string(version) + "\"}];");
  };
  serveVersion(1);
  FetchRegionStatus(app.endpoints, app.lists);

  std::atomic<bool> done = false;
  std::atomic<int> mixed = 0;
  std::atomic<int> reads = 0;
  std::vector<std::thread> readers;
  for (int i = 0; i < 8; ++i) {
    readers.emplace_back([&] {
      while (!done) {
        const std::shared_ptr<const RegionStatusLists> lists = CurrentRegionStatus(app.lists);
        const Text first = ReadRegionWord(*lists, "祖安").shown;
        std::this_thread::yield();
        const Text second = ReadRegionWord(*lists, "诺克萨斯").shown;
        const bool version1 = lists->selectorItems == Pieces{"{t:\"v1\"}"};
        if (first != second || first != (version1 ? "正常" : "拥挤")) ++mixed;
        ++reads;
      }
    });
  }
  for (int query = 0; query < 25; ++query) {
    serveVersion(query % 2 == 0 ? 2 : 1);
    FetchRegionStatus(app.endpoints, app.lists);
  }
  done = true;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(mixed, 0);
  EXPECT_GT(reads, 0);
}

}  // namespace
}  // namespace vardelle
