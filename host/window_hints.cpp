#include "host/window_hints.h"

#include <QBoxLayout>
#include <QLayout>
#include <QWidget>

namespace slownik::host {
namespace {

QLayout* findIn(QLayout* layout, QWidget* widget) {
  if (layout->indexOf(widget) >= 0) return layout;
  for (int i = 0; i < layout->count(); ++i)
    if (QLayout* inner = layout->itemAt(i)->layout())
      if (QLayout* found = findIn(inner, widget)) return found;
  return nullptr;
}

// Without absolute positions the nearer edge is the one the layout starts from.
Qt::Alignment horizontal(fw::Anchor a) {
  switch (a) {
    case fw::Anchor::End: return Qt::AlignRight;
    case fw::Anchor::Center: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
  }
}

Qt::Alignment vertical(fw::Anchor a) {
  switch (a) {
    case fw::Anchor::End: return Qt::AlignBottom;
    case fw::Anchor::Center: return Qt::AlignVCenter;
    default: return Qt::AlignTop;
  }
}

QSizePolicy::Policy grown(QSizePolicy::Policy p, bool grow) {
  if (grow) return QSizePolicy::Expanding;
  return (p & QSizePolicy::ExpandFlag) ? QSizePolicy::Preferred : p;
}

}  // namespace

QLayout* layoutHolding(QWidget* widget) {
  QWidget* parent = widget ? widget->parentWidget() : nullptr;
  return parent && parent->layout() ? findIn(parent->layout(), widget) : nullptr;
}

void applyLayoutRule(QWidget* widget, const fw::LayoutRule& rule, bool keepsSize) {
  const bool wide = !keepsSize && (rule.stretch == fw::Stretch::Width || rule.stretch == fw::Stretch::Both);
  const bool tall = !keepsSize && (rule.stretch == fw::Stretch::Height || rule.stretch == fw::Stretch::Both);
  QSizePolicy policy = widget->sizePolicy();
  policy.setHorizontalPolicy(grown(policy.horizontalPolicy(), wide));
  policy.setVerticalPolicy(grown(policy.verticalPolicy(), tall));
  widget->setSizePolicy(policy);
  QLayout* layout = layoutHolding(widget);
  if (!layout) return;
  Qt::Alignment align;
  if (!wide) align |= horizontal(rule.horizontal);
  if (!tall) align |= vertical(rule.vertical);
  layout->setAlignment(widget, align);
  if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
    const bool across = box->direction() == QBoxLayout::LeftToRight || box->direction() == QBoxLayout::RightToLeft;
    box->setStretchFactor(widget, (across ? wide : tall) ? 1 : 0);
  }
}

bool isReachable(const QRect& rect, const QRect& area) {
  constexpr int kGrip = 40;  // enough of the title bar to take hold of it
  return rect.isValid() && area.isValid() && rect.top() >= area.top() && rect.top() <= area.bottom() - kGrip / 2 &&
         rect.left() <= area.right() - kGrip && rect.right() >= area.left() + kGrip;
}

}  // namespace slownik::host
