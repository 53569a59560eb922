#include "app/headless/headless_run.h"

#include <memory>

#include "app/headless/memory_window.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/start/application.h"
#include "app/test_run/test_run.h"
#include "runtime/threads/locks.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

std::vector<ReportRow> ReportRows(const MemoryWindow& window, const ProcessLists& lists) {
  std::vector<ReportRow> rows;
  for (MemoryRow& row : window.Rows()) {
    const Colour text = AnswerCustomDraw(lists.rowColours, row.id, false).textColour;
    rows.push_back({std::move(row), text});
  }
  return rows;
}

}  // namespace

HeadlessOutcome RunHeadless(Application& app, ReportFormat format) {
  MemoryWindow window;
  app.window = &window;
  app.tableLock = CreateLock();
  auto lists = std::make_shared<ProcessLists>();
  app.lists = lists;
  std::shared_ptr<TestRun> run;
  app.startTestRun = [&app, &run] { run = StartTestRun(app); };

  const bool listRead = LoadServerList(app);
  if (run) run->Wait();
  WaitForLocationLookups(app);

  HeadlessOutcome outcome;
  outcome.exitCode = listRead ? 0 : 1;
  outcome.report = FormatTableReport(ReportRows(window, *lists), format);
  outcome.statusLine = SystemTextCodec().Utf16ToUtf8(ToUtf16(window.StatusLine()));
  // Every thread that wrote to the table has finished with it.
  app.window = nullptr;
  return outcome;
}

}  // namespace vardelle
