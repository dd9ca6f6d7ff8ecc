#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/polish_letters.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"

namespace slownik::sql {
namespace {

// The module calls it inside a statement ("select dbo.TK_Func_BezPolskichZnakow('...')"),
// where the backend's own function answers; called as a routine it gives the same
// text as one row, one column.
Status withoutPolishLettersRoutine(Database&, const std::vector<Cell>& argv, Result* out) {
  RoutineArgs args("TK_Func_BezPolskichZnakow", argv);
  if (Status s = args.require(1); !s) return s;
  out->columns = {"TEKST"};
  out->rows.push_back({argv[0] ? Cell(withoutPolishLetters(*argv[0])) : Cell()});
  return {};
}

}  // namespace

void registerTextRoutines(RoutineRegistry& registry) {
  registry.add("TK_Func_BezPolskichZnakow", withoutPolishLettersRoutine, RoutineRegistry::Access::ReadsOnly);
}

}  // namespace slownik::sql
