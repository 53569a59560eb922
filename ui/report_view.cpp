#include "ui/report_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <algorithm>
#include <numeric>
#include <utility>

#include "ui/pictures.h"

namespace vardelle::ui {
namespace {

// Where a row keeps its identity; the first column's item data is otherwise unused.
constexpr int kRowIdRole = Qt::UserRole;

QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

// Paints each row in the colours its source answers; the source decides, so the selected,
// focused row keeps the system's highlight colours by being answered the defaults.
class RowColourDelegate final : public QStyledItemDelegate {
 public:
  explicit RowColourDelegate(ReportView& view) : QStyledItemDelegate(&view), view_(view) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const RowColour colour = view_.PaintedRowColour(index);
    if (colour.textColour != kDefaultColour) {
      option->palette.setColor(QPalette::Text, ToQColor(colour.textColour));
      option->palette.setColor(QPalette::HighlightedText, ToQColor(colour.textColour));
    }
    if (colour.backColour != kDefaultColour) option->backgroundBrush = ToQColor(colour.backColour);
  }

 private:
  ReportView& view_;
};

}  // namespace

ReportView::ReportView(std::span<const ReportColumn> columns, QWidget* parent)
    : QTreeWidget(parent) {
  setItemDelegate(new RowColourDelegate(*this));
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(12, 12));
  for (RowIcon icon : {RowIcon::kAnswered, RowIcon::kNoAnswer, RowIcon::kNotTested}) {
    rowIcons_.push_back(QIcon(QPixmap::fromImage(RowIconPicture(icon))));
  }
  // Rows move only when the application sorts them with its own comparison.
  setSortingEnabled(false);
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(false);
  header()->setStretchLastSection(false);
  setColumnCount(static_cast<int>(columns.size()));
  QTreeWidgetItem* captions = headerItem();
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    const ReportColumn& column = columns[static_cast<size_t>(c)];
    captions->setText(c, QString::fromUtf16(column.caption));
    captions->setTextAlignment(c, column.alignment | Qt::AlignVCenter);
    setColumnWidth(c, column.width);
    alignments_.push_back(column.alignment);
  }
  connect(header(), &QHeaderView::sectionClicked, this, &ReportView::HeaderClicked);
  connect(this, &QTreeWidget::itemDoubleClicked, this, &ReportView::RowActivated);
}

const QIcon& ReportView::RowIconImage(RowIcon icon) const {
  return rowIcons_[static_cast<size_t>(icon)];
}

QTreeWidgetItem* ReportView::RowAt(int row) const {
  return row >= 0 && row < topLevelItemCount() ? topLevelItem(row) : nullptr;
}

QTreeWidgetItem* ReportView::RowWithId(RowId id) const {
  if (id == RowId{}) return nullptr;
  for (int row = 0; row < topLevelItemCount(); ++row) {
    if (IdOf(topLevelItem(row)) == id) return topLevelItem(row);
  }
  return nullptr;
}

RowId ReportView::IdOf(const QTreeWidgetItem* item) const {
  return item ? RowId{item->data(0, kRowIdRole).toULongLong()} : RowId{};
}

QString ReportView::CellText(const QTreeWidgetItem* item, int column) const {
  return item && column >= 0 && column < columnCount() ? item->text(column) : QString();
}

void ReportView::SetCellText(QTreeWidgetItem* item, int column, const QString& text) {
  if (item && column >= 0 && column < columnCount()) item->setText(column, text);
}

void ReportView::SetRowIcon(QTreeWidgetItem* item, RowIcon icon) {
  if (item) item->setIcon(0, RowIconImage(icon));
}

void ReportView::SetRowColourSource(RowColourSource source) {
  rowColourSource_ = std::move(source);
  viewport()->update();
}

RowColour ReportView::PaintedRowColour(const QModelIndex& index) const {
  if (!rowColourSource_) return {};
  const bool selected = selectionModel()->isRowSelected(index.row(), index.parent());
  const bool focused = hasFocus() && currentIndex().row() == index.row();
  return rowColourSource_(IdOf(itemFromIndex(index)), selected && focused);
}

RowId ReportView::AppendRow(const QString& firstCell, RowIcon icon) {
  auto* item = new QTreeWidgetItem(this);
  const RowId id{++lastRowId_};
  item->setData(0, kRowIdRole, QVariant::fromValue(id.value));
  item->setText(0, firstCell);
  item->setIcon(0, RowIconImage(icon));
  for (int c = 0; c < columnCount(); ++c) {
    item->setTextAlignment(c, alignments_[static_cast<size_t>(c)] | Qt::AlignVCenter);
  }
  return id;
}

int ReportView::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

void ReportView::SortRows(const std::function<int(int, int)>& compare) {
  std::vector<int> order(static_cast<size_t>(topLevelItemCount()));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
  QTreeWidgetItem* current = currentItem();
  const QList<QTreeWidgetItem*> selected = selectedItems();
  QList<QTreeWidgetItem*> rows;
  for (int row : order) rows.append(topLevelItem(row));
  // Taking the rows out clears the selection; it is put back on the same items.
  while (topLevelItemCount() > 0) takeTopLevelItem(0);
  addTopLevelItems(rows);
  if (current) setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
  for (QTreeWidgetItem* item : selected) item->setSelected(true);
}

void ReportView::SetColumnArrow(int column, HeaderArrow arrow) {
  if (column < 0 || column >= columnCount()) return;
  const QImage picture = HeaderArrowPicture(arrow);
  headerItem()->setIcon(column, picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture)));
}

void ReportView::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && currentItem()) {
    emit RowActivated();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace vardelle::ui
