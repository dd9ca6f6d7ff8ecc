#pragma once
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/sql/database.h"

namespace slownik::sql {

//! A stored-routine call as the module writes it:
//! "call X(1,'a')", "exec X 1,'a'" or "select * from X(1,'a')".
struct RoutineCall {
  std::string name;
  std::vector<Cell> args;  //!< literal arguments; numbers keep their text, NULL is nullopt
  bool asSelect = false;   //!< written as "select * from X(...)": the caller reads rows
};

//! Parses a call; nullopt when the text is not a call of a registered routine.
std::optional<RoutineCall> parseRoutineCall(std::string_view sql);

//! Body of a stored routine: runs against the connection inside one transaction
//! (opened by the registry for routines that write); rows it returns go to out. An error text is what the
//! caller's EXECSQL reports.
using RoutineBody = std::function<Status(Database& db, const std::vector<Cell>& args, Result* out)>;

//! Process-wide registry of the database's stored procedures and functions,
//! implemented once in C++. Names compare without regard to letter case.
class RoutineRegistry {
 public:
  static RoutineRegistry& instance();

  //! A routine that only reads (a lookup, a check) runs without a write transaction,
  //! so it neither waits for writers nor makes them wait. One that writes with a single
  //! statement is atomic as it stands: outside a transaction it runs without one, which
  //! saves the server the round trips of BEGIN and COMMIT.
  enum class Access { Writes, ReadsOnly, OneStatement };
  void add(std::string name, RoutineBody body, Access access = Access::Writes);
  bool contains(std::string_view name) const;
  //! Runs the routine in its own transaction (a savepoint inside an open one), but for
  //! the kinds of access above that need none.
  Status invoke(Database& db, const RoutineCall& call, Result* out);

 private:
  RoutineRegistry();
  mutable std::mutex mutex_;
  struct Entry {
    RoutineBody body;
    Access access = Access::Writes;
  };
  std::map<std::string, Entry> routines_;  // key: upper-case name
};

//! Registers every routine the module's database offers (framework/sql/routines/).
void registerStandardRoutines(RoutineRegistry& registry);

}  // namespace slownik::sql
