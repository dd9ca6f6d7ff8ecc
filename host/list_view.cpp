#include "host/list_view.h"

#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "host/dialog_units.h"
#include "host/list_cell_delegate.h"
#include "host/list_header_view.h"
#include "host/qt_list_model.h"

namespace slownik::host {

ListView::ListView(QtListModel* model, QWidget* parent)
    : QTableView(parent), model_(model), header_(new ListHeaderView(this)) {
  model_->setParent(this);
  setHorizontalHeader(header_);
  setModel(model_);
  setItemDelegate(new ListCellDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setContextMenuPolicy(Qt::CustomContextMenu);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  header_->setStretchLastSection(true);
  header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void ListView::applyFormat() {
  const DialogUnits du(font());
  const QFontMetrics hm(header_->font());
  for (int col = 0; col < model_->columnCount(); ++col) {
    const int units = model_->columnWidth(col);
    setColumnHidden(col, units == 0);
    if (units == 0) continue;
    // A header the format's width can't hold would lose its first letters.
    int headerWidth = 0;
    for (const QString& line : model_->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString().split('\n'))
      headerWidth = std::max(headerWidth, hm.horizontalAdvance(line));
    setColumnWidth(col, std::max(du.x(units), headerWidth + 2 * hm.averageCharWidth()));
  }
  header_->setGroups(model_->groups());
  setRowHeightUnits(rowHeightUnits_);
  updateGeometry();
}

void ListView::setRowHeightUnits(int units) {
  rowHeightUnits_ = units;
  const int line = units > 0 ? DialogUnits(font()).y(units) : fontMetrics().height() + 6;
  const int lines = std::max(1, model_->lineCount());
  verticalHeader()->setDefaultSectionSize(std::max(line, fontMetrics().height() + 2) * lines);
}

void ListView::setListFont(const QString& family, int points) {
  QFont f = parentWidget() ? parentWidget()->font() : QFont();
  if (!family.isEmpty()) f.setFamily(family);
  if (points > 0) f.setPointSize(points);
  setFont(f);
  applyFormat();
}

void ListView::setGridColor(const QColor& color) {
  setStyleSheet(color.isValid() ? QStringLiteral("QTableView { gridline-color: %1; }").arg(color.name()) : QString());
}

void ListView::showSelection(int current, const std::vector<int>& marked) {
  QItemSelectionModel* selection = selectionModel();
  const int last = model_->columnCount() - 1;
  QItemSelection rows;
  auto add = [&](int row) {
    if (row < 1 || row > model_->rowCount() || last < 0) return;
    rows.select(model_->index(row - 1, 0), model_->index(row - 1, last));
  };
  if (marked.empty()) add(current);
  for (int row : marked) add(row);
  selection->select(rows, QItemSelectionModel::ClearAndSelect);
  if (current >= 1 && current <= model_->rowCount())
    selection->setCurrentIndex(model_->index(current - 1, 0), QItemSelectionModel::NoUpdate);
}

void ListView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() != Qt::NoButton) {
    event->ignore();
    return;
  }
  QTableView::mouseMoveEvent(event);
}

QSize ListView::sizeHint() const {
  QSize s = QTableView::sizeHint();
  int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
  for (int col = 0; col < model_->columnCount(); ++col)
    if (!isColumnHidden(col)) width += columnWidth(col);
  // Tall enough for a screenful of rows: a list is read, not peeked at.
  const int header = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sizeHint().height();
  const int rows = kDefaultRows * verticalHeader()->defaultSectionSize();
  const int height = 2 * frameWidth() + header + rows + horizontalScrollBar()->sizeHint().height();
  return {std::max(width, 120), std::max(s.height(), height)};
}

}  // namespace slownik::host
