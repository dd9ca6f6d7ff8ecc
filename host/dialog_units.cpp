#include "host/dialog_units.h"

#include <QFontMetricsF>
#include <cmath>

namespace slownik::host {

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetricsF fm(font);
  // The font's declared average width overstates running text in wide fonts; the width
  // of the alphabet, as dialog units have always been measured, matches what the
  // resource authors saw.
  charWidth_ = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
  height_ = int(std::ceil(fm.height()));
}

int DialogUnits::x(int units) const { return int(std::lround(units * charWidth_ / 4.0)); }
int DialogUnits::y(int units) const { return int(std::lround(units * height_ / 8.0)); }

}  // namespace slownik::host
