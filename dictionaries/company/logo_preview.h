#pragma once
// The preview of the company's header image on the form's logo tab.
#include <string>

#include "framework/runtime/window.h"

namespace slownik::company {

//! Fills an image control with the header image as it would print: the bytes kept in
//! the database when there are any, else the file the path names when it is a picture.
//! An image control shows a file, so stored bytes are written to a file of this
//! object's own in the temporary folder, removed when it is replaced or the object goes.
class LogoPreview {
 public:
  LogoPreview() = default;
  LogoPreview(const LogoPreview&) = delete;
  LogoPreview& operator=(const LogoPreview&) = delete;
  ~LogoPreview();

  //! Shows `stored` (the image's bytes; "" = none) or else the picture at `path` in
  //! `control`; empties the control when there is neither.
  void show(rt::Window& window, const std::string& control, const std::string& stored, const std::string& path);
  //! The file the control shows now ("" = none).
  const std::string& shown() const { return shown_; }

 private:
  void dropOwnFile();

  std::string shown_;
  std::string ownFile_;  // the stored bytes written out, when shown_ is that
};

}  // namespace slownik::company
