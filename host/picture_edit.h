#pragma once
#include <QLineEdit>
#include <optional>
#include <string>

#include "framework/runtime/picture.h"

namespace slownik::host {

//! An entry that shows its stored value through a picture and reads what the person
//! typed back through the same picture. Text the picture can't read is refused: the
//! stored value stays and the entry shows it again. GUI thread only.
class PictureEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit PictureEdit(QWidget* parent = nullptr);

  //! An unreadable picture falls back to plain text (and is logged by the caller).
  bool setPicture(const std::string& picture);
  const rt::Picture& picture() const { return picture_; }
  //! Shows a stored value ("-1234.50", a day number, …) formatted.
  void setStoredValue(const std::string& value);
  const std::string& storedValue() const { return stored_; }
  //! The stored value of the text now in the entry; nullopt (and the stored value shown
  //! again) when the picture can't read it.
  std::optional<std::string> accept();
  //! True when the text differs from what the stored value shows as.
  bool isEdited() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 private:
  QString shown(const std::string& value) const;
  int widthInChars() const;

  rt::Picture picture_;
  std::string stored_;
};

}  // namespace slownik::host
