// "提醒…" from the server table's row menu: the player chooses what to watch on the selected
// row, and the window shows it at once.
#pragma once

#include "app/alerts/alert_watching.h"
#include "app/statistics/latency_history.h"
#include "app/view/main_window_view.h"

namespace vardelle {

// On the window's thread. Asks for the selected row's watch (nothing happens when no row is
// selected or the dialog is cancelled), keeps it in settingsPath and shows it in the row's
// tooltip, on the status line and in the tray icon's tooltip.
void ChooseAlertForSelectedRow(MainWindowView& window, AlertWatching& alerts,
                               const LatencyHistory& history, const Text& settingsPath);

}  // namespace vardelle
