#pragma once
#include <QColor>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <vector>

namespace slownik::host {

//! Draws the program's own icon files: flat SVG shapes on a square viewBox — rect,
//! circle, ellipse, line, polyline, polygon, path (M L H V C Q Z, absolute and relative)
//! and g, with fill, stroke, stroke-width, stroke-linecap/linejoin and opacity.
//! Anything else in a file is reported, so a new icon can't silently draw half of itself.
class SvgIcon {
 public:
  //! Parses the SVG text; isValid() false and error() set when it uses more than the above.
  explicit SvgIcon(const QByteArray& svg);
  static SvgIcon fromFile(const QString& path);

  bool isValid() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  //! The icon drawn into a transparent square pixmap of side `size`.
  QPixmap render(int size) const;

  //! One shape with its resolved style (inherited from enclosing groups).
  struct Shape {
    QPainterPath path;
    QColor fill;    //!< invalid = none
    QColor stroke;  //!< invalid = none
    double strokeWidth = 1;
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::MiterJoin;
  };

 private:
  QRectF viewBox_{0, 0, 16, 16};
  std::vector<Shape> shapes_;
  QString error_;
};

//! Parses SVG path data ("M1 2 L3 4 Z"); false on a command outside M L H V C Q Z.
bool parsePathData(const QString& data, QPainterPath* path);

}  // namespace slownik::host
