#pragma once
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "framework/classes/window_layouts.h"
#include "framework/runtime/window.h"

namespace slownik::fw {

//! The settings-file manager: windows restore and store their position and size in
//! the section named after their procedure ("VAT_Brw").
//!
//! Bound to a file at init. Bound to no file, it follows GLO:PATH_INI at every use, so
//! the host may name the file after the module was loaded. One object serves every
//! thread (the file name is behind a lock; rt::IniFile serialises the writes).
class IniClass {
 public:
  virtual ~IniClass() = default;

  //! Binds the manager to `fileName` ("" = follow GLO:PATH_INI).
  void init(std::string fileName = {});
  //! The file used now ("" = none: nothing is read or stored).
  std::string fileName() const;
  //! After kill nothing is read or stored any more.
  void kill();

  //! The placement stored under the procedure's name; nullopt when none is stored or
  //! the stored one is not usable (a size below 1).
  virtual std::optional<Placement> fetch(std::string_view procedure) const;
  //! Restores a window: its stored placement goes to the front-end. False when none.
  bool fetch(std::string_view procedure, const rt::Window& window) const;
  //! Stores a placement under the procedure's name; false when it could not be written.
  virtual bool update(std::string_view procedure, const Placement& placement);
  //! Stores the window's placement as the front-end last reported it; false when the
  //! front-end never placed it (a window closed before it was shown stores nothing).
  bool update(std::string_view procedure, const rt::Window& window);

  //! Any other value of a section.
  std::string fetchValue(std::string_view section, std::string_view key) const;
  bool updateValue(std::string_view section, std::string_view key, std::string_view value);

 private:
  mutable std::mutex mutex_;
  std::string fileName_;
  bool killed_ = false;
};

}  // namespace slownik::fw
