#include "host/qt_list_model.h"

#include <QColor>
#include <QFont>
#include <QIcon>

#include "framework/runtime/window.h"
#include "host/icon_library.h"

namespace slownik::host {

QColor runtimeColor(long color) {
  if (color < 0) return {};
  return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QtListModel::QtListModel(std::shared_ptr<rt::Window> window, std::string control, QObject* parent)
    : QAbstractTableModel(parent), window_(std::move(window)), name_(std::move(control)) {
  refresh();
}

void QtListModel::refresh() {
  beginResetModel();
  control_ = window_->control(name_).value_or(rt::Control{});
  auto parsed = rt::ListFormat::parse(control_.format);
  format_ = parsed.value_or(rt::ListFormat{});
  if (format_.columns.empty()) {
    // No format: one column per field of the widest row.
    std::size_t fields = 0;
    for (const auto& row : control_.rows) fields = std::max(fields, row.size());
    for (std::size_t i = 0; i < fields; ++i) {
      rt::ListColumn c;
      c.field = int(i) + 1;
      c.width = 60;
      format_.columns.push_back(c);
    }
  }
  endResetModel();
}

int QtListModel::columnWidth(int column) const {
  return column >= 0 && column < int(format_.columns.size()) ? format_.columns[column].width : 0;
}

int QtListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(control_.rows.size());
}

int QtListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(format_.columns.size());
}

QString QtListModel::field(int row, int field) const {
  if (field < 1 || row < 0 || row >= int(control_.rows.size())) return {};
  const auto& r = control_.rows[row];
  return field <= int(r.size()) ? QString::fromStdString(r[field - 1]) : QString();
}

QVariant QtListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const rt::ListColumn& c = format_.columns[index.column()];
  const int row = index.row();
  switch (role) {
    case Qt::DisplayRole:
      return field(row, c.field);
    case Qt::DecorationRole: {
      if (!c.iconField) return {};
      const int n = field(row, c.iconField).toInt();
      if (n < 1 || n > int(control_.iconList.size())) return {};
      return IconLibrary::instance().icon(control_.iconList[n - 1]);
    }
    case Qt::TextAlignmentRole:
      if (c.alignment == rt::ListAlignment::Right || c.alignment == rt::ListAlignment::Decimal)
        return int(Qt::AlignRight | Qt::AlignVCenter);
      if (c.alignment == rt::ListAlignment::Center) return int(Qt::AlignCenter);
      return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
      // Cell colours travel in the row ('*'); a style number picks the list's style.
      long color = rt::kNoColor;
      if (c.colourField) color = field(row, c.colourField + (role == Qt::BackgroundRole ? 1 : 0)).toLong();
      if (color <= 0 && c.style) {
        auto it = control_.styles.find(c.style);
        if (it != control_.styles.end()) color = role == Qt::BackgroundRole ? it->second.backColor : it->second.fontColor;
      }
      QColor q = runtimeColor(color);
      return q.isValid() ? QVariant(q) : QVariant();
    }
    case Qt::FontRole: {
      auto it = c.style ? control_.styles.find(c.style) : control_.styles.end();
      if (it == control_.styles.end() || it->second.fontWeight == rt::kNormalWeight) return {};
      QFont f;
      f.setBold(it->second.fontWeight >= rt::kBoldWeight);
      return f;
    }
    default:
      return {};
  }
}

QVariant QtListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= int(format_.columns.size())) return {};
  if (role != Qt::DisplayRole) return {};
  auto set = control_.columnHeaders.find(section + 1);
  return QString::fromStdString(set != control_.columnHeaders.end() ? set->second : format_.columns[section].header);
}

}  // namespace slownik::host
