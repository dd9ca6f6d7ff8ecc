#include "host/list_cell_delegate.h"

#include <QColor>

#include "host/qt_list_model.h"

namespace slownik::host {

void ListCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (!(option->state & QStyle::State_Selected)) return;
  const QVariant text = index.data(QtListModel::SelectedForegroundRole);
  const QVariant back = index.data(QtListModel::SelectedBackgroundRole);
  if (text.isValid()) option->palette.setColor(QPalette::HighlightedText, text.value<QColor>());
  if (back.isValid()) option->palette.setColor(QPalette::Highlight, back.value<QColor>());
}

}  // namespace slownik::host
