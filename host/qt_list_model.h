#pragma once
#include <QAbstractTableModel>
#include <memory>
#include <string>

#include "framework/runtime/control.h"
#include "framework/runtime/list_format.h"

namespace slownik::rt {
class Window;
}

namespace slownik::host {

//! The rows of one list control of a runtime window, shown through its list format:
//! which list-buffer field each column shows, its header, alignment, icon and colours.
//! The model holds a snapshot of the control; refresh() takes a new one (GUI thread).
class QtListModel : public QAbstractTableModel {
 public:
  QtListModel(std::shared_ptr<rt::Window> window, std::string control, QObject* parent = nullptr);

  //! Reads the control again (rows, format, icons, headers) and redraws.
  void refresh();
  //! The column widths the format asks for, in dialog units (0 = hidden).
  int columnWidth(int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString field(int row, int field) const;

  std::shared_ptr<rt::Window> window_;
  std::string name_;
  rt::Control control_;
  rt::ListFormat format_;
};

//! A runtime colour (red + green*256 + blue*65536) as a QColor; invalid for kNoColor.
QColor runtimeColor(long color);

}  // namespace slownik::host
