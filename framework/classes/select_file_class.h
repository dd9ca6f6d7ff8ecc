#pragma once
#include <optional>
#include <string>

namespace slownik::fw {

//! The file (or folder) chooser of a window, through the front-end's file dialog.
class SelectFileClass {
 public:
  //! `filter` as "Pliki DBF|*.dbf|Wszystkie pliki|*.*".
  void init(std::string title, std::string filter = {}, std::string directory = {});
  void setDirectoryOnly(bool on) { directoryOnly_ = on; }
  //! The chosen path; nullopt when the person cancelled. The folder of a chosen file is
  //! where the next ask() starts.
  std::optional<std::string> ask(bool save = false);

 private:
  std::string title_;
  std::string filter_;
  std::string directory_;
  bool directoryOnly_ = false;
};

}  // namespace slownik::fw
