#include "host/list_header_view.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace slownik::host {

ListHeaderView::ListHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(true);
  setHighlightSections(false);
}

void ListHeaderView::setGroups(std::vector<HeaderGroup> groups) {
  groups_ = std::move(groups);
  updateGeometries();
  viewport()->update();
}

const HeaderGroup* ListHeaderView::groupOf(int section) const {
  for (const HeaderGroup& g : groups_)
    if (section >= g.first && section < g.first + g.count) return &g;
  return nullptr;
}

QSize ListHeaderView::sizeHint() const {
  QSize s = QHeaderView::sizeHint();
  if (!groups_.empty()) s.setHeight(s.height() * 2);
  return s;
}

void ListHeaderView::paintCell(QPainter* painter, const QRect& rect, int section, const QString& text,
                               Qt::Alignment align) const {
  QStyleOptionHeader opt;
  initStyleOption(&opt);
  opt.rect = rect;
  opt.section = section;
  opt.text = text;
  opt.textAlignment = align;
  opt.position = QStyleOptionHeader::Middle;
  painter->save();
  style()->drawControl(QStyle::CE_Header, &opt, painter, this);
  painter->restore();
}

void ListHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  const HeaderGroup* g = groupOf(logicalIndex);
  if (groups_.empty() || !model()) {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    return;
  }
  const QString text = model()->headerData(logicalIndex, Qt::Horizontal).toString();
  const auto align = Qt::Alignment(model()->headerData(logicalIndex, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
  if (!g) {
    paintCell(painter, rect, logicalIndex, text, align);
    return;
  }
  const int half = rect.height() / 2;
  // The group's title spans every visible column of the group; each of them draws it,
  // clipped to itself, so that a partial repaint still shows the whole title.
  int left = rect.left(), right = rect.right();
  for (int s = g->first; s < g->first + g->count; ++s) {
    if (isSectionHidden(s)) continue;
    left = std::min(left, sectionViewportPosition(s));
    right = std::max(right, sectionViewportPosition(s) + sectionSize(s) - 1);
  }
  painter->save();
  painter->setClipRect(QRect(rect.left(), rect.top(), rect.width(), half));
  paintCell(painter, QRect(left, rect.top(), right - left + 1, half), logicalIndex, g->title, Qt::AlignCenter);
  painter->restore();
  paintCell(painter, QRect(rect.left(), rect.top() + half, rect.width(), rect.height() - half), logicalIndex, text, align);
}

}  // namespace slownik::host
