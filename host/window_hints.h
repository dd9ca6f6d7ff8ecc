#pragma once
#include <QRect>

#include "framework/classes/window_layouts.h"

class QLayout;
class QWidget;

namespace slownik::host {

//! The layout (of the widget's parent, at any depth) that holds the widget, or nullptr.
QLayout* layoutHolding(QWidget* widget);

//! Turns a resizer rule into the widget's size policy, alignment and stretch in the
//! layout that holds it. Pictures keep their size (`keepsSize`): stretching would
//! distort them.
void applyLayoutRule(QWidget* widget, const fw::LayoutRule& rule, bool keepsSize = false);

//! Whether a window placed at `rect` could still be reached in `area` (its title bar
//! lies inside): a position stored on a larger or another screen is not.
bool isReachable(const QRect& rect, const QRect& area);

}  // namespace slownik::host
