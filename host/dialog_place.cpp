#include "host/dialog_place.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "host/dialog_units.h"

namespace slownik::host {

QPoint dialogPosition(const QRect& control, const QSize& size, const QPoint& offset, const QRect& available) {
  int x = control.right() + 1 + offset.x();
  int y = control.bottom() + 1 + offset.y();
  // Below the control there is no room: above it, the same gap away, so that the
  // control and the field it belongs to stay visible.
  if (y + size.height() > available.bottom() + 1) {
    int above = control.top() - offset.y() - size.height();
    y = above >= available.top() ? above : available.bottom() + 1 - size.height();
  }
  x = std::min(x, available.right() + 1 - size.width());
  x = std::max(x, available.left());
  y = std::max(y, available.top());
  return {x, y};
}

void placeDialogAt(QWidget* dialog, const QWidget* control, int dxUnits, int dyUnits) {
  if (!dialog || !control || !control->isVisible()) return;
  DialogUnits units(control->font());
  QRect rect(control->mapToGlobal(QPoint(0, 0)), control->size());
  QScreen* screen = control->screen();
  QRect available = screen ? screen->availableGeometry() : QRect(rect.topLeft(), QSize(1 << 16, 1 << 16));
  dialog->adjustSize();
  QSize size = dialog->frameGeometry().size().expandedTo(dialog->sizeHint());
  dialog->move(dialogPosition(rect, size, QPoint(units.x(dxUnits), units.y(dyUnits)), available));
}

}  // namespace slownik::host
