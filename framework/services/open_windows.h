#pragma once
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::svc {

//! The host's list of open windows by their keys ("StawkiVAT", "TypDokMag", …), so
//! that the host can tell which windows are open and bring one forward instead of
//! opening it twice. Keys match in any letter case. Process-wide; any thread may
//! use it (guarded by a lock).
class OpenWindowList {
 public:
  //! Adds the key; false when a window of that key is already open.
  bool add(std::string_view key);
  //! Drops the key; false when it was not in the list.
  bool remove(std::string_view key);
  bool contains(std::string_view key) const;
  //! The keys as added, oldest first.
  std::vector<std::string> keys() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> keys_;
};

//! The process's list.
OpenWindowList& openWindowList();

//! Called when a window closes: drops its key from the list of open windows.
void SKASUJOKNO(std::string_view windowKey);

}  // namespace slownik::svc
