#pragma once
#include <QTableView>

namespace slownik::host {

class QtListModel;
class ListHeaderView;

//! The table that draws a list control: columns as wide as the format asks (never
//! narrower than their header), grouped headers, rows as high as their lines, the
//! colours of selected cells, and a size hint that shows every column and
//! kDefaultRows rows. Its minimum stays small: a narrow window scrolls the list.
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

  QSize sizeHint() const override;

 private:
  QtListModel* model_;
  ListHeaderView* header_;
  int rowHeightUnits_ = 0;
};

}  // namespace slownik::host
