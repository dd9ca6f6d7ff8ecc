#pragma once
#include <QLayout>
#include <QList>

namespace slownik::host {

//! A row of widgets (a window's buttons) that wraps onto more lines when the window is
//! narrower than the row, instead of making the window as wide as all of them. On one
//! line the items before the split hug the left edge and the others the right; wrapped,
//! every line stands at the right.
class FlowLayout : public QLayout {
 public:
  explicit FlowLayout(QWidget* parent = nullptr);
  ~FlowLayout() override;

  //! Items added before this index stand at the left when everything fits on one line
  //! (0: all at the right).
  void setSplit(int index) { split_ = index; }

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  int arrange(const QRect& rect, bool place) const;

  QList<QLayoutItem*> items_;
  int split_ = 0;
};

}  // namespace slownik::host
