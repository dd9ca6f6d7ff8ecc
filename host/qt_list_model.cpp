#include "host/qt_list_model.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRegularExpression>
#include <algorithm>

#include "framework/runtime/window.h"
#include "host/icon_library.h"

namespace slownik::host {

QColor runtimeColor(long color) {
  if (color < 0 || color > 0xFFFFFF) return {};
  return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

HeaderMark splitHeaderMark(const QString& header) {
  static const QRegularExpression mark(QStringLiteral("\\[([+-])(\\d*)\\]$"));
  const QRegularExpressionMatch m = mark.match(header);
  if (!m.hasMatch()) return {header, 0, 0};
  return {header.left(m.capturedStart()).trimmed(), m.captured(1) == "+" ? 1 : -1, m.captured(2).toInt()};
}

QString drawnHeader(const QString& header) {
  const HeaderMark m = splitHeaderMark(header);
  if (m.direction == 0) return header;
  QString out = m.title + (m.direction > 0 ? QStringLiteral(" ▲") : QStringLiteral(" ▼"));
  if (m.position > 0) out += QString::number(m.position);
  return out;
}

QtListModel::QtListModel(std::shared_ptr<rt::Window> window, std::string control, QObject* parent)
    : QAbstractTableModel(parent), window_(std::move(window)), name_(std::move(control)) {
  refresh();
}

void QtListModel::refresh() {
  beginResetModel();
  control_ = window_->control(name_).value_or(rt::Control{});
  format_ = rt::ListFormat::parse(control_.format).value_or(rt::ListFormat{});
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
  lines_.assign(1, {});
  for (std::size_t i = 0; i < format_.columns.size(); ++i) {
    lines_.back().push_back(int(i));
    if (format_.columns[i].lineBreakAfter && i + 1 < format_.columns.size()) lines_.emplace_back();
  }
  groups_.clear();
  for (const rt::ListGroup& g : format_.groups) {
    // Only groups of the first line have view columns of their own.
    if (g.firstColumn + g.columnCount > int(lines_[0].size())) continue;
    groups_.push_back({g.firstColumn, g.columnCount, QString::fromStdString(g.header)});
  }
  endResetModel();
}

int QtListModel::formatColumn(int column) const {
  return column >= 0 && column < int(lines_[0].size()) ? lines_[0][column] : -1;
}

int QtListModel::columnWidth(int column) const {
  int width = 0;
  for (const auto& line : lines_)
    if (column >= 0 && column < int(line.size())) width = std::max(width, format_.columns[line[column]].width);
  return width;
}

int QtListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(control_.rows.size());
}

int QtListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(lines_[0].size());
}

QString QtListModel::field(int row, int field) const {
  if (field < 1 || row < 0 || row >= int(control_.rows.size())) return {};
  const auto& r = control_.rows[row];
  return field <= int(r.size()) ? QString::fromStdString(r[field - 1]) : QString();
}

long QtListModel::colourField(int row, int f) const {
  bool ok = false;
  const long v = field(row, f).trimmed().toLong(&ok);
  return ok && v >= 0 ? v : rt::kNoColor;  // black is 0: only an empty field means "none"
}

const rt::ListStyle* QtListModel::styleOf(const rt::ListColumn& c) const {
  if (!c.style) return nullptr;
  auto it = control_.styles.find(c.style);
  return it == control_.styles.end() ? nullptr : &it->second;
}

// offset: 0 text, 1 background, 2 selected text, 3 selected background.
QVariant QtListModel::cellColour(int row, const rt::ListColumn& c, int offset) const {
  long color = c.colourField ? colourField(row, c.colourField + offset) : rt::kNoColor;
  if (color == rt::kNoColor)
    if (const rt::ListStyle* s = styleOf(c))
      color = offset == 0 ? s->fontColor : offset == 1 ? s->backColor : offset == 2 ? s->selectedFontColor : s->selectedBackColor;
  const QColor q = runtimeColor(color);
  return q.isValid() ? QVariant(q) : QVariant();
}

QVariant QtListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= columnCount()) return {};
  const rt::ListColumn& c = format_.columns[lines_[0][index.column()]];
  const int row = index.row();
  switch (role) {
    case Qt::DisplayRole: {
      QStringList text;
      for (const auto& line : lines_)
        text << (index.column() < int(line.size()) ? field(row, format_.columns[line[index.column()]].field) : QString());
      return text.join('\n');
    }
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
    case Qt::ForegroundRole: return cellColour(row, c, 0);
    case Qt::BackgroundRole: return cellColour(row, c, 1);
    case SelectedForegroundRole: return cellColour(row, c, 2);
    case SelectedBackgroundRole: return cellColour(row, c, 3);
    case Qt::FontRole: {
      const rt::ListStyle* s = styleOf(c);
      if (!s || s->fontWeight == rt::kNormalWeight) return {};
      QFont f;
      f.setWeight(QFont::Weight(std::clamp(s->fontWeight, 100, 900)));
      return f;
    }
    default:
      return {};
  }
}

QString QtListModel::headerOf(int formatColumn) const {
  auto set = control_.columnHeaders.find(formatColumn + 1);
  return drawnHeader(QString::fromStdString(set != control_.columnHeaders.end() ? set->second
                                                                               : format_.columns[formatColumn].header));
}

QVariant QtListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  const rt::ListColumn& c = format_.columns[lines_[0][section]];
  if (role == Qt::TextAlignmentRole) {
    if (c.headerAlignment == rt::ListAlignment::Right || c.headerAlignment == rt::ListAlignment::Decimal)
      return int(Qt::AlignRight | Qt::AlignVCenter);
    if (c.headerAlignment == rt::ListAlignment::Center) return int(Qt::AlignCenter);
    return int(Qt::AlignLeft | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole) return {};
  QStringList text;
  for (const auto& line : lines_)
    if (section < int(line.size())) text << headerOf(line[section]);
  return text.join('\n');
}

}  // namespace slownik::host
