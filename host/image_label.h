#pragma once
#include <QLabel>
#include <QPixmap>

namespace slownik::host {

//! An image control: an icon at its own size, or a picture scaled to the control
//! keeping its proportions (a preview of a file), centred in what the layout gives.
class ImageLabel : public QLabel {
  Q_OBJECT
 public:
  //! The largest size the control asks for a picture; a smaller picture asks for its own.
  static constexpr int kPreferredWidth = 320;
  static constexpr int kPreferredHeight = 160;

  explicit ImageLabel(QWidget* parent = nullptr);

  //! Shows the picture in the file; false (and nothing shown) when it is not one.
  bool showPictureFile(const QString& path);
  //! Back to an icon, or to nothing.
  void showIcon(const QPixmap& icon);
  bool hasPicture() const { return !picture_.isNull(); }
  //! The rectangle the picture is drawn in now (empty without one).
  QRect pictureRect() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace slownik::host
