// The main window's fixed layout as data: every control with its page, place and content.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <span>
#include <vector>

#include "ui/report_view.h"

namespace vardelle::ui {

inline constexpr QRect kWindowFrame(50, 50, 848, 583);
inline constexpr QRect kTabControlPlace(0, 1, 864, 560);

enum class ControlKind {
  kReport,
  kTransparentLabel,
  kLabel,
  kDropDown,
  kButton,
  kPicture,
  kLink,
  kStatusLabel
};

struct ControlLayout {
  int page;
  const char16_t* name;
  ControlKind kind;
  QRect place;  // relative to the tab control
  QString caption;
  QImage picture;
  std::span<const ReportColumn> columns;
  bool handCursor;
  bool paragraphs = false;  // a long text, wrapped
};

struct PageLayout {
  const char16_t* caption;
  QImage icon;
};

struct PeriodItem {
  const char16_t* caption;
  int value;  // seconds
};

std::vector<PageLayout> PageLayouts();
std::vector<ControlLayout> ControlLayouts();
std::span<const PeriodItem> PeriodItems();

// "宋体" at 12 pixels, with a CJK face to fall back on where SimSun is not installed.
QFont SongTiFont();
QString HelpText();

}  // namespace vardelle::ui
