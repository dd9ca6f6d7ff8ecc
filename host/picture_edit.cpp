#include "host/picture_edit.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

#include "host/dialog_units.h"

namespace slownik::host {

PictureEdit::PictureEdit(QWidget* parent) : QLineEdit(parent) {}

bool PictureEdit::setPicture(const std::string& picture) {
  auto parsed = picture.empty() ? std::optional<rt::Picture>(rt::Picture()) : rt::Picture::fromString(picture);
  picture_ = parsed.value_or(rt::Picture());
  const bool text = picture_.kind() == rt::Picture::Kind::String;
  setMaxLength(text && picture_.width() > 0 ? picture_.width() : 32767);
  setAlignment(picture_.isNumeric() ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
  setText(shown(stored_));
  updateGeometry();
  return parsed.has_value();
}

QString PictureEdit::shown(const std::string& value) const {
  // Pictures pad numbers to their width; the entry aligns them itself.
  return QString::fromStdString(picture_.format(value)).trimmed();
}

void PictureEdit::setStoredValue(const std::string& value) {
  stored_ = value;
  const QString t = shown(value);
  if (text() != t) setText(t);
}

bool PictureEdit::isEdited() const { return text() != shown(stored_); }

std::optional<std::string> PictureEdit::accept() {
  std::string value;
  if (!picture_.parse(text().toStdString(), &value)) {
    setText(shown(stored_));
    return std::nullopt;
  }
  stored_ = value;
  setText(shown(stored_));
  return value;
}

int PictureEdit::widthInChars() const {
  const int w = picture_.width() + int(picture_.prefix().size() + picture_.suffix().size());
  switch (picture_.kind()) {
    case rt::Picture::Kind::Date: return 10;
    case rt::Picture::Kind::Time: return 8;
    case rt::Picture::Kind::KeyIn: return std::max(4, int(picture_.mask().size()));
    default: return w > 0 ? std::clamp(w, 4, 60) : 30;
  }
}

QSize PictureEdit::sizeHint() const {
  QSize base = QLineEdit::sizeHint();
  QStyleOptionFrame opt;
  initStyleOption(&opt);
  // One character more than the picture holds leaves room for the cursor.
  const int text = int(DialogUnits(font()).charWidth() * (widthInChars() + 1));
  const int width = style()->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(text, base.height()), this).width();
  return {width, base.height()};
}

QSize PictureEdit::minimumSizeHint() const {
  QSize base = QLineEdit::minimumSizeHint();
  return {std::max(base.width(), std::min(sizeHint().width(), fontMetrics().averageCharWidth() * 6)), base.height()};
}

}  // namespace slownik::host
