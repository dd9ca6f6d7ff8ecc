#pragma once
#include <QAbstractTableModel>
#include <memory>
#include <string>
#include <vector>

#include "framework/runtime/control.h"
#include "framework/runtime/list_format.h"

namespace slownik::rt {
class Window;
}

namespace slownik::host {

//! A header text split from the sort mark the header sorter appends ("Nazwa[+]",
//! "Kod[-2]"): the title, the direction and the position in a sort of several columns.
struct HeaderMark {
  QString title;
  int direction = 0;  //!< 1 ascending, -1 descending, 0 no mark
  int position = 0;   //!< 1, 2, … in a sort by several columns; 0 when the sort has one column
};
HeaderMark splitHeaderMark(const QString& header);
//! The header as drawn: the title followed by an arrow and the position.
QString drawnHeader(const QString& header);

//! Columns of the view under one common header (a group of the list format).
struct HeaderGroup {
  int first = 0;
  int count = 0;
  QString title;
};

//! The rows of one list control of a runtime window, shown through its list format:
//! which list-buffer field each column shows, its header, alignment, icon, colours and
//! style. Columns after a line break ('/') are drawn as further lines of the same row,
//! under the columns of the first line. The model holds a snapshot of the control;
//! refresh() takes a new one (GUI thread).
class QtListModel : public QAbstractTableModel {
 public:
  //! Roles a delegate reads for the colours of a selected cell.
  static constexpr int SelectedForegroundRole = Qt::UserRole + 1;
  static constexpr int SelectedBackgroundRole = Qt::UserRole + 2;

  QtListModel(std::shared_ptr<rt::Window> window, std::string control, QObject* parent = nullptr);

  //! Reads the control again (rows, format, icons, headers, styles) and redraws.
  void refresh();
  //! The width a view column asks for, in dialog units (0 = hidden).
  int columnWidth(int column) const;
  //! The list-format column (0-based) a view column shows on the first line of its rows.
  int formatColumn(int column) const;
  //! Lines each row takes (1 without line breaks in the format).
  int lineCount() const { return int(lines_.size()); }
  const std::vector<HeaderGroup>& groups() const { return groups_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString field(int row, int field) const;
  //! A colour field of the row; kNoColor when it is empty or not a colour.
  long colourField(int row, int field) const;
  const rt::ListStyle* styleOf(const rt::ListColumn& c) const;
  QString headerOf(int formatColumn) const;
  QVariant cellColour(int row, const rt::ListColumn& c, int offset) const;

  std::shared_ptr<rt::Window> window_;
  std::string name_;
  rt::Control control_;
  rt::ListFormat format_;
  std::vector<std::vector<int>> lines_;  // format columns by line, then by view column
  std::vector<HeaderGroup> groups_;
};

//! A runtime colour (red + green*256 + blue*65536) as a QColor; invalid for kNoColor.
QColor runtimeColor(long color);

}  // namespace slownik::host
