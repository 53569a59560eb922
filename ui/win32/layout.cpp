#include "ui/win32/layout.h"

#include "ui/win32/resources/resource_ids.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

static_assert(kServerTableId + static_cast<int>(Control::kSettingsButton) == kSettingsButtonId);

int PictureIdOf(LayoutPicture picture) {
  switch (picture) {
    case LayoutPicture::kRefresh:
      return IDB_REFRESH;
    case LayoutPicture::kLogo:
      return IDB_LOGO;
    case LayoutPicture::kDonationQr:
      return IDB_DONATION_QR;
    case LayoutPicture::kNone:
      break;
  }
  return 0;
}

int IconIdOf(PageIcon icon) {
  switch (icon) {
    case PageIcon::kGlobalPing:
      return IDB_TAB_GLOBAL;
    case PageIcon::kHelp:
      return IDB_TAB_HELP;
    case PageIcon::kServers:
      break;
  }
  return IDB_TAB_SERVERS;
}

std::vector<ReportColumn> ColumnsOf(std::span<const ColumnLayout> columns) {
  std::vector<ReportColumn> converted;
  for (const ColumnLayout& column : columns) {
    converted.push_back({ToWindowText(column.caption), column.width, column.alignRight});
  }
  return converted;
}

}  // namespace

std::vector<PageLayout> PageLayouts() {
  std::vector<PageLayout> pages;
  for (const vardelle::PageLayout& page : vardelle::PageLayouts()) {
    pages.push_back({ToWindowText(page.caption), IconIdOf(page.icon)});
  }
  return pages;
}

std::vector<ControlLayout> ControlLayouts() {
  std::vector<ControlLayout> layouts;
  for (const vardelle::ControlLayout& layout : vardelle::ControlLayouts()) {
    layouts.push_back({static_cast<ControlId>(kServerTableId + static_cast<int>(layout.control)),
                       layout.kind, layout.place, GrowthOf(layout.control),
                       ToWindowText(layout.caption), PictureIdOf(layout.picture),
                       ColumnsOf(layout.columns), layout.handCursor, layout.paragraphs});
  }
  return layouts;
}

std::vector<PeriodItem> PeriodItems() {
  std::vector<PeriodItem> items;
  for (const vardelle::PeriodItem& item : vardelle::PeriodItems()) {
    items.push_back({ToWindowText(item.caption), item.value});
  }
  return items;
}

std::vector<ReportColumn> StatisticsColumnLayouts() {
  return ColumnsOf(vardelle::StatisticsColumnLayouts());
}

}  // namespace vardelle::win32
