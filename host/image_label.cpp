#include "host/image_label.h"

#include <QImageReader>
#include <QPainter>

namespace slownik::host {

ImageLabel::ImageLabel(QWidget* parent) : QLabel(parent) {}

bool ImageLabel::showPictureFile(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QImage image = reader.read();
  picture_ = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
  QLabel::setPixmap(QPixmap());
  updateGeometry();
  update();
  return !picture_.isNull();
}

void ImageLabel::showIcon(const QPixmap& icon) {
  picture_ = QPixmap();
  QLabel::setPixmap(icon);
  updateGeometry();
}

QRect ImageLabel::pictureRect() const {
  if (picture_.isNull()) return {};
  const QRect area = contentsRect();
  QSize size = picture_.size();
  // Never larger than the picture itself: a small logo is not blown up into blur.
  if (size.width() > area.width() || size.height() > area.height()) size.scale(area.size(), Qt::KeepAspectRatio);
  QRect r(QPoint(0, 0), size);
  r.moveCenter(area.center());
  return r;
}

QSize ImageLabel::sizeHint() const {
  if (picture_.isNull()) return QLabel::sizeHint();
  QSize size = picture_.size();
  if (size.width() > kPreferredWidth || size.height() > kPreferredHeight)
    size.scale(kPreferredWidth, kPreferredHeight, Qt::KeepAspectRatio);
  const QMargins m = contentsMargins();
  return size.grownBy(m).expandedTo(QSize(1, 1));
}

QSize ImageLabel::minimumSizeHint() const {
  if (picture_.isNull()) return QLabel::minimumSizeHint();
  return QSize(32, 32);
}

void ImageLabel::paintEvent(QPaintEvent* event) {
  if (picture_.isNull()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(pictureRect(), picture_);
}

}  // namespace slownik::host
