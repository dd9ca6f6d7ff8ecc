#pragma once
#include <QLibrary>
#include <QString>
#include <vector>

namespace slownik::host {

//! One exported procedure of the module as the host offers it.
struct EntryPoint {
  QString exportName;  //!< "VAT_BRW"
  QString caption;     //!< "Stawki VAT"
  QString subsystem;   //!< menu group
  QString kind;        //!< "browse", "picker", "loader", "importer", "form"
  void (*run)() = nullptr;
};

//! Copies a C entry table (as SLOWNIK_ENTRY_POINTS returns it) into EntryPoints,
//! skipping rows without a name or a procedure: a half-filled row is never offered.
template <typename CEntry>
std::vector<EntryPoint> entryPointsFromTable(const CEntry* table, int count) {
  std::vector<EntryPoint> out;
  for (int i = 0; table && i < count; ++i) {
    const CEntry& e = table[i];
    if (!e.exportName || !e.run) continue;
    out.push_back({QString::fromUtf8(e.exportName), QString::fromUtf8(e.caption ? e.caption : e.exportName),
                   QString::fromUtf8(e.subsystem ? e.subsystem : ""), QString::fromUtf8(e.kind ? e.kind : ""),
                   e.run});
  }
  return out;
}

//! The module, loaded as a host loads a module: the shared library is opened at run
//! time, SLOWNIK_INIT is called once after loading and SLOWNIK_KILL before unloading.
class ModuleLibrary {
 public:
  ModuleLibrary() = default;
  ~ModuleLibrary();
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  //! Where the module is looked for: $SLOWNIK_MODULE, else libslownik.so next to the program.
  static QString defaultPath();

  //! Loads the library, resolves its exports and initialises it. False with error() set
  //! when the file can't be loaded or lacks the entry table; the host goes on without it.
  bool load(const QString& path);
  bool isLoaded() const { return library_.isLoaded(); }
  const QString& error() const { return error_; }
  const std::vector<EntryPoint>& entryPoints() const { return entries_; }
  //! Calls SLOWNIK_KILL (when the module has it) and unloads. Call once every procedure has ended.
  void unload();

 private:
  QLibrary library_;
  QString error_;
  std::vector<EntryPoint> entries_;
  void (*kill_)() = nullptr;
};

}  // namespace slownik::host
