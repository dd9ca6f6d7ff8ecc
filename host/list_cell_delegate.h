#pragma once
#include <QStyledItemDelegate>

namespace slownik::host {

//! Draws list cells with the colours a selected cell asks for (per cell or by its
//! style); cells without them take the view's selection colours.
class ListCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace slownik::host
