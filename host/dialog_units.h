#pragma once
#include <QFont>

namespace slownik::host {

//! Converts the dialog units that window resources and list formats measure in into
//! pixels of a font: a horizontal unit is a quarter of the font's average character
//! width, a vertical unit an eighth of its height.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int x(int units) const;
  int y(int units) const;
  //! The average width of a character of running text, in pixels.
  double charWidth() const { return charWidth_; }

 private:
  double charWidth_;
  int height_;
};

}  // namespace slownik::host
