#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::rt {

//! A settings file of sections and "key=value" lines, in UTF-8.
//!
//! Every call reads the file afresh, and every change rewrites it at once (to a
//! temporary file renamed over the old one), so two IniFile objects, or two threads,
//! on the same path see each other's changes; changes to one path are serialised by a
//! process-wide lock per path, so none is lost. Section and key names compare without
//! regard to ASCII letter case. Lines the class does not change (comments, other
//! sections) stay as they were. A value can't hold a line break: set() refuses it.
class IniFile {
 public:
  explicit IniFile(std::string path);

  const std::string& path() const { return path_; }

  std::optional<std::string> find(std::string_view section, std::string_view key) const;
  std::string get(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
  //! false when the value holds a line break or the file can't be written.
  bool set(std::string_view section, std::string_view key, std::string_view value);
  bool remove(std::string_view section, std::string_view key);
  bool removeSection(std::string_view section);

  std::vector<std::string> sections() const;
  std::vector<std::string> keys(std::string_view section) const;

 private:
  std::string path_;
};

}  // namespace slownik::rt
