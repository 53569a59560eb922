#include "app/alerts/alert_choice.h"

#include "app/table/server_table.h"

namespace vardelle {

void ChooseAlertForSelectedRow(MainWindowView& window, AlertWatching& alerts,
                               const LatencyHistory& history, const Text& settingsPath) {
  const int selected = window.SelectedRow();
  if (selected < 0) return;
  const RowId id = window.RowIdAt(selected);
  const Text name = window.CellText(id, kNameColumn);
  const WatchedRow row{id, AlertTargetOf(name, window.CellText(id, kDomainColumn)),
                       window.CellText(id, kRegionColumn)};
  const std::optional<AlertWatch> chosen = window.AskAlertWatch(name, alerts.WatchOf(row.target));
  if (!chosen) return;
  alerts.SetWatch(row, *chosen, settingsPath, NewestProbeOutcome(history, id));
  window.SetRowWatchNote(id, alerts.ToolTipNote(id));
  window.SetStatusLine(AlertSetStatus(row.target.serverName, *chosen) + alerts.StatusNote());
  window.SetTrayToolTip(alerts.TrayToolTip(history));
}

}  // namespace vardelle
