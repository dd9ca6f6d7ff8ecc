#include "host/svg_icon.h"

#include <QFile>
#include <QPainter>
#include <QXmlStreamReader>

namespace slownik::host {
namespace {

// The style that an element inherits from its groups and may override.
struct Style {
  QColor fill = Qt::black;
  QColor stroke;
  double strokeWidth = 1;
  double opacity = 1;
  Qt::PenCapStyle cap = Qt::FlatCap;
  Qt::PenJoinStyle join = Qt::MiterJoin;
};

bool parseColor(const QString& text, QColor* out) {
  if (text == "none") {
    *out = QColor();
    return true;
  }
  QColor c(text);
  if (!c.isValid()) return false;
  *out = c;
  return true;
}

// Applies the presentation attributes of one element; false with *error on a bad value.
bool applyStyle(const QXmlStreamAttributes& a, Style* s, QString* error) {
  if (a.hasAttribute("fill") && !parseColor(a.value("fill").toString(), &s->fill)) {
    *error = "zły kolor wypełnienia: " + a.value("fill").toString();
    return false;
  }
  if (a.hasAttribute("stroke") && !parseColor(a.value("stroke").toString(), &s->stroke)) {
    *error = "zły kolor linii: " + a.value("stroke").toString();
    return false;
  }
  if (a.hasAttribute("stroke-width")) s->strokeWidth = a.value("stroke-width").toDouble();
  if (a.hasAttribute("opacity")) s->opacity *= a.value("opacity").toDouble();
  QString cap = a.value("stroke-linecap").toString();
  if (cap == "round") s->cap = Qt::RoundCap;
  else if (cap == "square") s->cap = Qt::SquareCap;
  else if (cap == "butt") s->cap = Qt::FlatCap;
  QString join = a.value("stroke-linejoin").toString();
  if (join == "round") s->join = Qt::RoundJoin;
  else if (join == "bevel") s->join = Qt::BevelJoin;
  else if (join == "miter") s->join = Qt::MiterJoin;
  return true;
}

double num(const QXmlStreamAttributes& a, const char* name) { return a.value(name).toDouble(); }

std::vector<QPointF> points(const QString& text) {
  QString t = text;
  t.replace(',', ' ');
  const QStringList parts = t.split(' ', Qt::SkipEmptyParts);
  std::vector<QPointF> out;
  for (int i = 0; i + 1 < parts.size(); i += 2) out.emplace_back(parts[i].toDouble(), parts[i + 1].toDouble());
  return out;
}

// Splits path data into commands and numbers: "M1-2.5.5" → M, 1, -2.5, .5
QStringList pathTokens(const QString& d) {
  QStringList tokens;
  QString number;
  auto flush = [&] {
    if (!number.isEmpty()) tokens << number;
    number.clear();
  };
  for (int i = 0; i < d.size(); ++i) {
    QChar c = d[i];
    if (c.isLetter() && c != 'e' && c != 'E') {
      flush();
      tokens << QString(c);
    } else if (c == ',' || c.isSpace()) {
      flush();
    } else if (c == '-' && !number.isEmpty() && !number.endsWith('e') && !number.endsWith('E')) {
      flush();
      number += c;
    } else if (c == '.' && number.contains('.')) {
      flush();
      number += c;
    } else {
      number += c;
    }
  }
  flush();
  return tokens;
}

}  // namespace

bool parsePathData(const QString& data, QPainterPath* path) {
  const QStringList tokens = pathTokens(data);
  QPointF current, start;
  QChar command;
  int i = 0;
  auto next = [&](double* v) {
    if (i >= tokens.size()) return false;
    bool ok = false;
    *v = tokens[i].toDouble(&ok);
    if (ok) ++i;
    return ok;
  };
  auto nextPoint = [&](QPointF* p, bool relative) {
    double x, y;
    if (!next(&x) || !next(&y)) return false;
    *p = relative ? current + QPointF(x, y) : QPointF(x, y);
    return true;
  };
  while (i < tokens.size()) {
    if (tokens[i][0].isLetter()) command = tokens[i++][0];
    else if (command.isNull()) return false;
    const bool rel = command.isLower();
    switch (command.toUpper().unicode()) {
      case 'M': {
        if (!nextPoint(&current, rel)) return false;
        path->moveTo(current);
        start = current;
        command = rel ? 'l' : 'L';  // further pairs are line-tos
        break;
      }
      case 'L': {
        if (!nextPoint(&current, rel)) return false;
        path->lineTo(current);
        break;
      }
      case 'H': {
        double x;
        if (!next(&x)) return false;
        current.setX(rel ? current.x() + x : x);
        path->lineTo(current);
        break;
      }
      case 'V': {
        double y;
        if (!next(&y)) return false;
        current.setY(rel ? current.y() + y : y);
        path->lineTo(current);
        break;
      }
      case 'C': {
        QPointF c1, c2, end;
        if (!nextPoint(&c1, rel) || !nextPoint(&c2, rel) || !nextPoint(&end, rel)) return false;
        path->cubicTo(c1, c2, end);
        current = end;
        break;
      }
      case 'Q': {
        QPointF c1, end;
        if (!nextPoint(&c1, rel) || !nextPoint(&end, rel)) return false;
        path->quadTo(c1, end);
        current = end;
        break;
      }
      case 'Z': {
        path->closeSubpath();
        current = start;
        command = QChar();
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

SvgIcon::SvgIcon(const QByteArray& svg) {
  QXmlStreamReader xml(svg);
  std::vector<Style> styles{Style{}};
  bool sawRoot = false;
  while (!xml.atEnd() && error_.isEmpty()) {
    xml.readNext();
    if (xml.isEndElement()) {
      if (xml.name() == u"g" || xml.name() == u"svg") styles.pop_back();
      continue;
    }
    if (!xml.isStartElement()) continue;
    const auto a = xml.attributes();
    const auto name = xml.name();
    Style style = styles.back();
    if (!applyStyle(a, &style, &error_)) break;
    if (name == u"svg") {
      sawRoot = true;
      const QStringList vb = a.value("viewBox").toString().split(' ', Qt::SkipEmptyParts);
      if (vb.size() == 4) viewBox_ = QRectF(vb[0].toDouble(), vb[1].toDouble(), vb[2].toDouble(), vb[3].toDouble());
      styles.push_back(style);
      continue;
    }
    if (name == u"g") {
      styles.push_back(style);
      continue;
    }
    if (name == u"title" || name == u"desc") {
      xml.skipCurrentElement();
      continue;
    }
    QPainterPath path;
    if (name == u"rect") {
      QRectF r(num(a, "x"), num(a, "y"), num(a, "width"), num(a, "height"));
      double rx = a.hasAttribute("rx") ? num(a, "rx") : num(a, "ry");
      if (rx > 0) path.addRoundedRect(r, rx, a.hasAttribute("ry") ? num(a, "ry") : rx);
      else path.addRect(r);
    } else if (name == u"circle") {
      path.addEllipse(QPointF(num(a, "cx"), num(a, "cy")), num(a, "r"), num(a, "r"));
    } else if (name == u"ellipse") {
      path.addEllipse(QPointF(num(a, "cx"), num(a, "cy")), num(a, "rx"), num(a, "ry"));
    } else if (name == u"line") {
      path.moveTo(num(a, "x1"), num(a, "y1"));
      path.lineTo(num(a, "x2"), num(a, "y2"));
      style.fill = QColor();  // a line has no inside
    } else if (name == u"polyline" || name == u"polygon") {
      const auto pts = points(a.value("points").toString());
      if (pts.size() < 2) {
        error_ = "za mało punktów w " + name.toString();
        break;
      }
      path.moveTo(pts[0]);
      for (std::size_t k = 1; k < pts.size(); ++k) path.lineTo(pts[k]);
      if (name == u"polygon") path.closeSubpath();
    } else if (name == u"path") {
      if (!parsePathData(a.value("d").toString(), &path)) {
        error_ = "nieobsługiwane dane ścieżki: " + a.value("d").toString();
        break;
      }
    } else {
      error_ = "nieobsługiwany element: " + name.toString();
      break;
    }
    Shape shape;
    shape.path = path;
    shape.fill = style.fill;
    shape.stroke = style.stroke;
    if (shape.fill.isValid()) shape.fill.setAlphaF(shape.fill.alphaF() * style.opacity);
    if (shape.stroke.isValid()) shape.stroke.setAlphaF(shape.stroke.alphaF() * style.opacity);
    shape.strokeWidth = style.strokeWidth;
    shape.cap = style.cap;
    shape.join = style.join;
    shapes_.push_back(std::move(shape));
    xml.skipCurrentElement();
  }
  if (error_.isEmpty() && xml.hasError()) error_ = xml.errorString();
  if (error_.isEmpty() && !sawRoot) error_ = "brak elementu svg";
  if (!error_.isEmpty()) shapes_.clear();
}

SvgIcon SvgIcon::fromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    SvgIcon icon(QByteArray{});
    icon.error_ = "nie można odczytać pliku " + path;
    return icon;
  }
  return SvgIcon(file.readAll());
}

QPixmap SvgIcon::render(int size) const {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  if (!isValid() || viewBox_.isEmpty()) return pixmap;
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / viewBox_.width(), size / viewBox_.height());
  painter.translate(-viewBox_.topLeft());
  for (const Shape& s : shapes_) {
    painter.setBrush(s.fill.isValid() ? QBrush(s.fill) : Qt::NoBrush);
    painter.setPen(s.stroke.isValid() ? QPen(s.stroke, s.strokeWidth, Qt::SolidLine, s.cap, s.join) : Qt::NoPen);
    painter.drawPath(s.path);
  }
  return pixmap;
}

}  // namespace slownik::host
