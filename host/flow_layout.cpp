#include "host/flow_layout.h"

#include <QWidget>
#include <algorithm>

namespace slownik::host {

FlowLayout::FlowLayout(QWidget* parent) : QLayout(parent) { setContentsMargins(0, 0, 0, 0); }

FlowLayout::~FlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* FlowLayout::takeAt(int index) {
  if (index < 0 || index >= items_.size()) return nullptr;
  return items_.takeAt(index);
}

QSize FlowLayout::minimumSize() const {
  QSize size;
  for (const QLayoutItem* item : items_)
    if (!item->isEmpty()) size = size.expandedTo(item->minimumSize());
  const QMargins m = contentsMargins();
  return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const {
  int width = 0;
  int height = 0;
  int shown = 0;
  for (const QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    width += item->sizeHint().width() + (shown++ > 0 ? spacing() : 0);
    height = std::max(height, item->sizeHint().height());
  }
  const QMargins m = contentsMargins();
  return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  arrange(rect, true);
}

// Lays the items out in lines no wider than `rect`; returns the height they take.
int FlowLayout::arrange(const QRect& rect, bool place) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  const int gap = std::max(0, spacing());
  struct Line {
    QList<int> items;
    int width = 0;
    int height = 0;
  };
  // An item wider than the area (a group of buttons that wraps itself) gets the area's
  // width and the height it needs at that width.
  auto sizeOf = [&](const QLayoutItem* item) {
    QSize hint = item->sizeHint();
    if (hint.width() > area.width() && area.width() > 0) {
      hint.setWidth(std::max(area.width(), item->minimumSize().width()));
      if (item->hasHeightForWidth()) hint.setHeight(item->heightForWidth(hint.width()));
    }
    return hint;
  };
  QList<Line> lines(1);
  for (int i = 0; i < items_.size(); ++i) {
    const QLayoutItem* item = items_[i];
    if (item->isEmpty()) continue;
    const QSize hint = sizeOf(item);
    Line* line = &lines.last();
    if (!line->items.isEmpty() && line->width + gap + hint.width() > area.width()) {
      lines.append(Line{});
      line = &lines.last();
    }
    line->width += (line->items.isEmpty() ? 0 : gap) + hint.width();
    line->height = std::max(line->height, hint.height());
    line->items.append(i);
  }
  int y = area.y();
  if (lines.first().items.isEmpty()) return 0;
  for (const Line& line : lines) {
    if (line.items.isEmpty()) continue;
    int x = area.right() + 1 - line.width;  // wrapped lines stand at the right
    const bool oneLine = lines.size() == 1;
    if (oneLine && split_ > 0) x = area.x();
    for (int i : line.items) {
      QLayoutItem* item = items_[i];
      const QSize hint = sizeOf(item);
      if (oneLine && split_ > 0 && i == split_) {
        // The right-hand group: from here on the items end at the right edge.
        int rest = 0;
        for (int j : line.items)
          if (j >= split_) rest += sizeOf(items_[j]).width() + gap;
        x = std::max(x, area.right() + 1 - (rest - gap));
      }
      if (place) item->setGeometry(QRect(QPoint(std::max(x, area.x()), y + (line.height - hint.height()) / 2), hint));
      x += hint.width() + gap;
    }
    y += line.height + gap;
  }
  return y - gap - area.y() + contentsMargins().top() + contentsMargins().bottom();
}

}  // namespace slownik::host
