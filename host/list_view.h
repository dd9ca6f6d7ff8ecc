#pragma once
#include <QTableView>
#include <vector>

namespace slownik::host {

class QtListModel;
class ListHeaderView;

//! The table that draws a list control: columns as wide as the format asks (never
//! narrower than their header), grouped headers, rows as high as their lines, the
//! colours of selected cells, and a size hint that shows every column and
//! kDefaultRows rows. Its minimum stays small: a narrow window scrolls the list. Several
//! rows can be selected (Shift and Ctrl with the mouse, Shift with the arrows through the
//! window); which ones is the window's to say.
class ListView : public QTableView {
  Q_OBJECT
 public:
  static constexpr int kDefaultRows = 15;

  ListView(QtListModel* model, QWidget* parent = nullptr);

  QtListModel* listModel() const { return model_; }
  ListHeaderView* header() const { return header_; }
  //! Takes the format's columns after the model was refreshed.
  void applyFormat();
  //! The height of one line of a row in dialog units (0 = the font's own).
  void setRowHeightUnits(int units);
  //! The rows' font: `family` ("" = the window's) at `points` (0 = the window's size).
  //! The header follows it; the columns and rows are measured again in it.
  void setListFont(const QString& family, int points);
  //! The grid colour; an invalid colour gives the style's own.
  void setGridColor(const QColor& color);

  //! Shows the window's selection: the current row (1-based, 0 = none) and the rows
  //! selected with it (empty = the current row alone).
  void showSelection(int current, const std::vector<int>& marked);

  QSize sizeHint() const override;

 protected:
  //! Dragging with a button held selects nothing: the window could not follow it.
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QtListModel* model_;
  ListHeaderView* header_;
  int rowHeightUnits_ = 0;
};

}  // namespace slownik::host
