#include "ui/qt/report_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/qt/pictures.h"
#include "ui/qt/sparkline.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {
QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

namespace {

constexpr int kRowItemType = QTreeWidgetItem::UserType;

// A row with its identity as a member: a sort reads it for every row, far faster than an
// item's data.
class RowItem final : public QTreeWidgetItem {
 public:
  explicit RowItem(RowId rowId) : QTreeWidgetItem(kRowItemType), id(rowId) {}

  const RowId id;
  RowColour colour;
};

// Paints each row in the colours it was given, a selected row of the focused table in the
// system's highlight colours.
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

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QVariant results = index.data(ReportView::kSparklineRole);
    if (!results.isValid()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    // The cell's background and selection as usual, the line in place of the text.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    cell.widget->style()->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
    const bool selected = cell.state.testFlag(QStyle::State_Selected);
    DrawSparkline(*painter, cell.rect.adjusted(2, 2, -2, -2), ResultsFromVariant(results),
                  cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  }

 private:
  ReportView& view_;
};

}  // namespace

ReportView::ReportView(std::span<const ColumnLayout> columns, QWidget* parent)
    : QTreeWidget(parent) {
  setItemDelegate(new RowColourDelegate(*this));
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
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
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    SetColumnCaption(c, columns[static_cast<size_t>(c)]);
  }
  connect(header(), &QHeaderView::sectionClicked, this, &ReportView::HeaderClicked);
  connect(this, &QTreeWidget::itemDoubleClicked, this, &ReportView::RowActivated);
  connect(model(), &QAbstractItemModel::rowsInserted, this, &ReportView::IndexInsertedRows);
  connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this, &ReportView::ForgetRemovedRows);
  connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] { rowsById_.clear(); });
}

ReportView::~ReportView() {
  // The base class deletes the rows after this object's members are gone.
  model()->disconnect(this);
}

void ReportView::SetColumnCaption(int column, const ColumnLayout& caption) {
  const Qt::Alignment alignment = caption.alignRight ? Qt::AlignRight : Qt::AlignLeft;
  headerItem()->setText(column, FromGbk(caption.caption));
  headerItem()->setTextAlignment(column, alignment | Qt::AlignVCenter);
  setColumnWidth(column, caption.width);
  alignments_.push_back(alignment);
}

void ReportView::AddColumn(const ColumnLayout& column) {
  setColumnCount(columnCount() + 1);
  SetColumnCaption(columnCount() - 1, column);
}

const QIcon& ReportView::RowIconImage(RowIcon icon) const {
  return rowIcons_[static_cast<size_t>(icon)];
}

QTreeWidgetItem* ReportView::RowAt(int row) const {
  return row >= 0 && row < topLevelItemCount() ? topLevelItem(row) : nullptr;
}

QTreeWidgetItem* ReportView::RowWithId(RowId id) const {
  const auto found = rowsById_.find(id.value);
  return found == rowsById_.end() ? nullptr : found->second;
}

// Rows come and go through the model (inserts, sorts, clear), so the index follows it there.
void ReportView::IndexInsertedRows(const QModelIndex& parent, int first, int last) {
  if (parent.isValid() || reordering_) return;
  for (int row = first; row <= last; ++row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (const RowId id = IdOf(item); id != RowId{}) rowsById_[id.value] = item;
  }
}

void ReportView::ForgetRemovedRows(const QModelIndex& parent, int first, int last) {
  if (parent.isValid() || reordering_) return;
  for (int row = first; row <= last; ++row) rowsById_.erase(IdOf(topLevelItem(row)).value);
}

RowId ReportView::IdOf(const QTreeWidgetItem* item) const {
  return item && item->type() == kRowItemType ? static_cast<const RowItem*>(item)->id : RowId{};
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

void ReportView::SetRowColour(QTreeWidgetItem* item, RowColour colour) {
  if (!item || item->type() != kRowItemType) return;
  RowColour& own = static_cast<RowItem*>(item)->colour;
  if (own.textColour == colour.textColour && own.backColour == colour.backColour) return;
  own = colour;
  const QRect cell = visualItemRect(item);
  const QRect row(0, cell.top(), viewport()->width(), cell.height());
  if (row.intersects(viewport()->rect())) viewport()->update(row);
}

RowColour ReportView::PaintedRowColour(const QModelIndex& index) const {
  const QTreeWidgetItem* item = itemFromIndex(index);
  if (!item || item->type() != kRowItemType) return {};
  // Every selected row is highlighted, not only the current one: Ctrl+A shows all of them.
  const bool selected = selectionModel()->isRowSelected(index.row(), index.parent());
  return DrawnRowColour(static_cast<const RowItem*>(item)->colour, selected && hasFocus());
}

RowColour ReportView::OwnColour(int row) const {
  const QTreeWidgetItem* item = RowAt(row);
  return item && item->type() == kRowItemType ? static_cast<const RowItem*>(item)->colour
                                              : RowColour{};
}

RowId ReportView::AppendRow(const QString& firstCell, RowIcon icon) {
  const RowId id{++lastRowId_};
  auto* item = new RowItem(id);
  item->setText(0, firstCell);
  item->setIcon(0, RowIconImage(icon));
  for (int c = 0; c < columnCount(); ++c) {
    item->setTextAlignment(c, alignments_[static_cast<size_t>(c)] | Qt::AlignVCenter);
  }
  addTopLevelItem(item);  // with its identity already set, so the index learns it
  return id;
}

int ReportView::SelectedRow() const {
  if (currentItem() && currentItem()->isSelected()) return indexOfTopLevelItem(currentItem());
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

std::vector<int> ReportView::SelectedRows() const {
  std::vector<int> rows;
  for (int row = 0; row < topLevelItemCount(); ++row) {
    if (topLevelItem(row)->isSelected()) rows.push_back(row);
  }
  return rows;
}

QString PlainTextToolTip(const QString& text) {
  if (!Qt::mightBeRichText(text)) return text;
  return Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}

void ReportView::SetRowToolTip(QTreeWidgetItem* item, const QString& text) {
  if (item == nullptr) return;
  const QString tip = PlainTextToolTip(text);
  for (int column = 0; column < columnCount(); ++column) item->setToolTip(column, tip);
}

namespace {

QString TabField(const QString& text) {
  if (!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')) &&
      !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('"'))) {
    return text;
  }
  return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
         QLatin1Char('"');
}

}  // namespace

QString ReportView::SelectedRowsAsText() const {
  const auto line = [this](const std::function<QString(int)>& field) {
    QStringList fields;
    for (int c = 0; c < columnCount(); ++c) {
      if (!isColumnHidden(c)) fields.append(TabField(field(c)));
    }
    return fields.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
  };
  QString text = line([this](int c) { return headerItem()->text(c); });
  for (int row = 0; row < topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = topLevelItem(row);
    if (item->isSelected()) text += line([item](int c) { return item->text(c); });
  }
  return text;
}

void ReportView::SortRows(const std::function<int(RowId, RowId)>& compare) {
  // Each row's identity read once, not at every comparison.
  std::vector<std::pair<RowId, QTreeWidgetItem*>> order;
  order.reserve(static_cast<std::size_t>(topLevelItemCount()));
  for (int row = 0; row < topLevelItemCount(); ++row) {
    order.emplace_back(IdOf(topLevelItem(row)), topLevelItem(row));
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](const auto& a, const auto& b) { return compare(a.first, b.first) < 0; });
  QList<QTreeWidgetItem*> rows;
  rows.reserve(static_cast<qsizetype>(order.size()));
  for (const auto& [id, item] : order) rows.append(item);
  PutRowsInOrder(rows);
}

// All rows out and back in one step each: one at a time, every step told to the model and
// the view, a long table took longer than the sort. The rows keep their identities, so the
// index stays as it is; the current row and the selection are put back on the same items.
void ReportView::PutRowsInOrder(const QList<QTreeWidgetItem*>& rows) {
  QTreeWidgetItem* current = currentItem();
  const QList<QTreeWidgetItem*> selected = selectedItems();
  {
    const QScopedValueRollback keepIndex(reordering_, true);
    invisibleRootItem()->takeChildren();
    addTopLevelItems(rows);
  }
  if (current) setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
  selectionModel()->select(RowRuns(rows, {selected.begin(), selected.end()}),
                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// One range per run of neighbours, rather than one per row, however many rows are selected.
QItemSelection ReportView::RowRuns(const QList<QTreeWidgetItem*>& rows,
                                   const std::unordered_set<QTreeWidgetItem*>& chosen) const {
  QItemSelection runs;
  int runStart = -1;
  for (int row = 0; row <= rows.size(); ++row) {
    const bool inRun = row < rows.size() && chosen.contains(rows[row]);
    if (inRun && runStart < 0) runStart = row;
    if (!inRun && runStart >= 0) {
      runs.select(model()->index(runStart, 0), model()->index(row - 1, 0));
      runStart = -1;
    }
  }
  return runs;
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
  if (event->matches(QKeySequence::Copy)) {
    QGuiApplication::clipboard()->setText(SelectedRowsAsText());
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace vardelle::ui
