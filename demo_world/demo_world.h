// The offline demo world: every web site that the program reads, served from fixed
// documents on a loopback port, so the program and the tests run without any network.
//
// What the world holds (documents/):
// - Server list: 30 servers in shuffled order. 电信一 .. 电信二十 (电信十 .. 电信二十 spell
//   their tens), 电信二十九 at "localhost", 网通一 .. 网通六, 全网一, 教育网专区 (no
//   numeral after its 4-byte prefix "教育", so it is named 教育00区) and 电信一百零五 with no
//   "domain" member at all (named 电信05区). Every other domain is a dotted 127.0.0.x, so
//   names resolve without asking a name server and every address answers pings.
// - Region status: every region 正常 except 艾欧尼亚 满载, 祖安 and 黑色玫瑰 拥挤, 影流
//   维护, 男爵领域 火爆 (a word without a colour of its own); 巨龙之巢 is listed 正常 but its
//   second selector record says stopped (停机); 体验服 is in none of the documents
//   (未知状态).
// - Locations: every 127.0.0.x of the list answers with Chinese names in "\u" escapes;
//   127.0.0.5 lacks "county", 127.0.0.29's carrier holds an escaped slash ("电信\/联通"),
//   127.0.0.1's (localhost, 体验服) carrier is "电信 Caf\u00e9 \u00fe\u00ff": escapes
//   below 255 (00E9, 00FE) stay as they stand and 00FF is converted (to "?": GBK lacks it),
//   127.0.0.13 answers with code 1, and an address not listed (the empty one included)
//   gets code 1 as well.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace vardelle::demo {

// A document at a fixed path, as served: body bytes (GBK where it holds Chinese text).
struct DemoDocument {
  std::string_view path;
  std::string_view contentType;
  std::string_view body;
};

// The four fixed documents: server list, status script, status service, area selector.
std::span<const DemoDocument> DemoDocuments();

// The IP-location service's path; the address follows in the query "ip".
inline constexpr std::string_view kLocationPath = "/service/getIpInfo.php";

// The location service's answer for an address.
std::string DemoLocationAnswer(std::string_view address);

class DemoWorld {
 public:
  DemoWorld();
  ~DemoWorld();
  DemoWorld(const DemoWorld&) = delete;
  DemoWorld& operator=(const DemoWorld&) = delete;

  // Binds 127.0.0.1 on a free port and serves on a thread of its own; false when no port
  // could be had or serving did not begin. Starting a running world changes nothing.
  bool Start();
  // Stops serving and waits for the serving thread; a stopped world can start again.
  void Stop();
  // "http://127.0.0.1:PORT" while running, "" otherwise.
  std::string BaseUrl() const;
  // Once the status service has answered laterThan more requests, it gives the region of
  // regionId (its key, "15" for 影流) the status code given ("1": 正常), as when a region
  // comes back; until the world stops.
  void SetRegionStatusCode(std::string_view regionId, std::string_view code, int laterThan = 0);

  // The three region status documents, as FailStatusDocument names them.
  enum class StatusDocument { kScript, kService, kSelector };
  // Once the document has answered laterThan more requests, its next `requests` requests get
  // "503 Service Unavailable" and a page that is no document, as a site in trouble answers;
  // then it answers again. Until the world stops.
  void FailStatusDocument(StatusDocument document, int laterThan, int requests);

  // What serves the world; its routes reach it.
  struct Server;

 private:
  std::unique_ptr<Server> server_;
};

}  // namespace vardelle::demo
