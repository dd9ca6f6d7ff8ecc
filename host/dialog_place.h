#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace slownik::host {

//! The top-left corner of a dialog of `size` opened beside a control whose screen
//! rectangle is `control`: at the control's bottom-right corner moved by `offset`
//! pixels, then pulled back inside `available` (the screen's area without its panels).
//! A dialog that does not fit below the control goes above it rather than over it; one
//! larger than the area keeps its top-left corner in it.
QPoint dialogPosition(const QRect& control, const QSize& size, const QPoint& offset, const QRect& available);

//! Moves `dialog` beside the widget `control`, the offset given in dialog units of the
//! control's font. Nothing happens when either is missing or the control is not shown.
void placeDialogAt(QWidget* dialog, const QWidget* control, int dxUnits, int dyUnits);

}  // namespace slownik::host
