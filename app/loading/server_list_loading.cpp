#include "app/loading/server_list_loading.h"

#include <algorithm>
#include <memory>

#include "app/loading/chinese_numeral.h"
#include "app/location/offline_locations.h"
#include "app/location/server_location.h"
#include "app/sites/table_guide.h"
#include "app/table/server_table.h"
#include "app/table/table_sort.h"
#include "app/test_run/honest_answers.h"
#include "app/view/status_line.h"
#include "support/json/json_reader.h"
#include "support/text/text.h"

namespace vardelle {
namespace {

struct ServerEntry {
  Text oldName;
  Text newName;
  Text domain;
  // Resolved before the row appears, as the server's location is looked up for it.
  std::string address;
};

// Why the list gave no servers, or kNone.
enum class ListProblem { kNone, kNoSiteAddress, kUnreadableFile, kNoContent, kNotAnArray, kEmpty };

// The bytes taken as GBK text as they are, up to the first zero byte.
Text TextUpToZeroByte(const Bytes& bytes) {
  return Text(bytes.begin(), std::find(bytes.begin(), bytes.end(), std::uint8_t{0}));
}

// The reader is lenient (a text without brackets reads as an array of itself), so whether
// the site answered with an array at all is judged from the text.
bool StartsAsJsonArray(std::string_view document) {
  const std::size_t first = document.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && document[first] == '[';
}

class ServerListLoad {
 public:
  ServerListLoad(Application& application, MainWindowView& serverTable,
                 const ServerListServices& networkServices)
      : app(application),
        endpoints(EndpointsNow(application)),
        table(serverTable),
        services(networkServices),
        lookUpLocation(LocationLookUp(endpoints, networkServices)) {}

  // Returns the number of servers in the table.
  int Fill() {
    table.DeleteAllRows();
    const Text document = FetchDocument();
    reader.parse(document);
    const int listed = reader.getCount("");
    if (problem == ListProblem::kNone) problem = ProblemOf(document, listed);
    const int count = std::min(listed, kMaxServers);
    leftOut = listed - count;
    for (int index = 1; index <= count; ++index) {
      table.SetStatusLine(LoadingServerListStatus(index, count));
      AddRow(ReadEntry(index));
    }
    return count;
  }

  const Endpoints& Sources() const { return endpoints; }

  bool ListWasRead() const {
    return problem == ListProblem::kNone || problem == ListProblem::kEmpty;
  }

  Text OutcomeStatus(int count) const {
    switch (problem) {
      case ListProblem::kNoSiteAddress:
        return MissingSiteAddressStatus(InfoOf(Site::kGameBox));
      case ListProblem::kUnreadableFile:
        return ServerListFileUnreadableStatus(endpoints.ServerListFile());
      case ListProblem::kNoContent:
        return ServerListNoContentStatus();
      case ListProblem::kNotAnArray:
        return ServerListNotAnArrayStatus();
      case ListProblem::kEmpty:
        return ServerListEmptyStatus();
      case ListProblem::kNone:
        break;
    }
    // The first run tells blocked probes again, so the cut list is told before them.
    if (leftOut > 0) return ServerListCutStatus(count, leftOut);
    const std::string reason = services.probeUnavailableReason();
    return reason.empty() ? ServerListLoadedStatus(count) : ProbesUnavailableStatus(reason);
  }

 private:
  Text FetchDocument() {
    if (!endpoints.ServerListFile().empty()) return ReadListFile();
    const std::string url = endpoints.DocumentUrl(Site::kGameBox);
    if (url.empty()) {
      problem = ListProblem::kNoSiteAddress;
      return {};
    }
    table.SetStatusLine(FetchingServerListStatus());
    return TextUpToZeroByte(services.readUrl(url));
  }

  Text ReadListFile() {
    const std::optional<std::string> contents = services.readFile(endpoints.ServerListFile());
    if (!contents) problem = ListProblem::kUnreadableFile;
    return contents ? contents->substr(0, contents->find('\0')) : Text();
  }

  static ListProblem ProblemOf(const Text& document, int count) {
    if (document.empty()) return ListProblem::kNoContent;
    if (!StartsAsJsonArray(document)) return ListProblem::kNotAnArray;
    return count == 0 ? ListProblem::kEmpty : ListProblem::kNone;
  }

  Text Member(int index, std::string_view name) {
    return reader.getText(JoinTexts({"[", std::to_string(index), "].", name}));
  }

  ServerEntry ReadEntry(int index) {
    ServerEntry entry{
        Member(index, "old_name"), Member(index, "new_name"), Member(index, "domain"), {}};
    entry.address = services.resolveHostAddress(entry.domain);
    return entry;
  }

  // The lookup as the lookup threads call it: a copy of the seam, or the real one with a
  // copy of the endpoints, so it holds nothing of the loading's own.
  using Locate = std::function<ServerLocation(const std::string& address)>;
  static Locate LocationLookUp(const Endpoints& endpoints, const ServerListServices& services) {
    if (services.lookUpServerLocation) {
      return [seam = services.lookUpServerLocation](const std::string& address) {
        return ServerLocation{seam(address), LocationSource::kSite};
      };
    }
    return [endpoints](const std::string& address) {
      return LocateServer(endpoints, ShippedOfflineLocations().get(), address);
    };
  }

  // Cells are written to the row's identity: a header click may sort the table meanwhile,
  // and the location arrives whenever its lookup is done.
  void AddRow(const ServerEntry& entry) {
    const RowId row = table.InsertRow(ServerNameFromOldName(entry.oldName), RowIcon::kNotTested);
    table.SetCellText(row, kRegionColumn, entry.newName);
    table.SetCellText(row, kDomainColumn, entry.domain);
    // A proxy's fake address has no location of its own: nobody is asked for one.
    if (IsInRange(entry.address, app.fakeAddresses)) {
      table.SetCellText(row, kLocationColumn, FakeAddressLocationCell());
      return;
    }
    table.SetCellText(row, kLocationColumn, kLocationPendingText);
    MainWindowView* const window = &table;
    // The line's source goes from the lookup to its delivery, which follows it on its thread.
    const auto source = std::make_shared<LocationSource>(LocationSource::kSite);
    app.locationLookups.Start(
        entry.address,
        [locate = lookUpLocation, source](const std::string& address) {
          ServerLocation found = locate(address);
          *source = found.source;
          return found.line;
        },
        [window, row, source](const Text& location) {
          window->SetCellText(row, kLocationColumn, location);
          window->SetLocationSource(row, *source);
        });
  }

  Application& app;
  // Taken once: the settings dialog may replace the application's meanwhile, and then
  // starts a loading of its own.
  const Endpoints endpoints;
  MainWindowView& table;
  const ServerListServices& services;
  const Locate lookUpLocation;
  JsonReader reader;
  ListProblem problem = ListProblem::kNone;
  // Servers of the list past kMaxServers.
  int leftOut = 0;
};

}  // namespace

bool LoadServerList(Application& app, const ServerListServices& services) {
  MainWindowView* table = app.window.load();
  if (table == nullptr) return false;
  std::lock_guard serial(app.oneLoadingAtATime);
  // A copy: whoever set the hook may replace it once the first run has been asked for.
  const std::function<void()> startTestRun = app.startTestRun;
  ServerListLoad load(app, *table, services);
  const int count = load.Fill();
  // Loaded again from the settings dialog, the table is in name order as at the start.
  app.sortState.RestartDirection();
  SortTableByColumn(app.sortState, *table, kNameColumn, SortMode::kText);
  app.globalPing.ListServers(*table);
  table->SetStatusLine(load.OutcomeStatus(count));
  table->SetTableGuide(count == 0 ? EmptyTableGuide(load.Sources()) : Text());
  if (startTestRun) startTestRun();
  return load.ListWasRead();
}

}  // namespace vardelle
