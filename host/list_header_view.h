#pragma once
#include <QHeaderView>
#include <vector>

#include "host/qt_list_model.h"

namespace slownik::host {

//! A list's column header that draws common headers over groups of columns: with
//! groups it is two lines high, a group's title spans its columns on the upper line
//! and their own titles stand below; columns outside groups take both lines.
class ListHeaderView : public QHeaderView {
 public:
  explicit ListHeaderView(QWidget* parent = nullptr);

  void setGroups(std::vector<HeaderGroup> groups);
  const std::vector<HeaderGroup>& groups() const { return groups_; }
  //! The group a section belongs to, or nullptr.
  const HeaderGroup* groupOf(int section) const;

  QSize sizeHint() const override;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  void paintCell(QPainter* painter, const QRect& rect, int section, const QString& text, Qt::Alignment align) const;

  std::vector<HeaderGroup> groups_;
};

}  // namespace slownik::host
