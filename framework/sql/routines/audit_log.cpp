// TK_ZapiszDoLogu: one row of the audit log per call. The callers pass
//   (company, warehouse, user, record id, kind, operation, label, program[, details])
// e.g. "call TK_ZapiszDoLogu(1,5,6100003,5,'MAGAZYN',2,'MAG1',3)".
#include <utility>

#include "framework/runtime/date_time.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

// Widths of the log's text columns (routine_tables.cpp): a longer label is cut to
// fit rather than losing the whole entry.
constexpr std::size_t kKindWidth = 50;
constexpr std::size_t kTextWidth = 255;
constexpr long long kDefaultProgram = 3;

Status writeLogEntry(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TK_ZapiszDoLogu", argv);
  if (Status s = args.require(7); !s) return s;
  long long company = 0, warehouse = 0, user = 0, record = 0, operation = 0, program = kDefaultProgram;
  const std::pair<std::size_t, long long*> numbers[] = {
      {0, &company}, {1, &warehouse}, {2, &user}, {3, &record}, {5, &operation}};
  for (const auto& [index, target] : numbers)
    if (Status s = args.integer(index, target); !s) return s;
  if (args.has(7))
    if (Status s = args.integer(7, &program); !s) return s;
  std::string kind = truncateUtf8(args.text(4), kKindWidth);
  if (kind.empty()) return args.failure("nie podano rodzaju zapisu");
  std::vector<Param> params = {company,
                               warehouse,
                               user,
                               record,
                               kind,
                               operation,
                               truncateUtf8(args.text(6), kTextWidth),
                               program,
                               truncateUtf8(args.text(8), kTextWidth),
                               static_cast<long long>(rt::today()),
                               static_cast<long long>(rt::now())};
  return db.execute(
      "INSERT INTO LOG_ZDARZEN (ID_FIRMY, ID_MAGAZYNU, ID_UZYTKOWNIKA, ID_REKORDU, TABELA, OPERACJA, OPIS, PRGKOD, "
      "SZCZEGOLY, DATA, CZAS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
      params, nullptr);
}

}  // namespace

// One INSERT: atomic without a transaction of its own.
void registerAuditLogRoutines(RoutineRegistry& registry) {
  registry.add("TK_ZapiszDoLogu", writeLogEntry, RoutineRegistry::Access::OneStatement);
}

}  // namespace slownik::sql
