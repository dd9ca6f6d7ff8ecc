#include "framework/sql/routine_registry.h"

namespace slownik::sql {

// Each routine family adds itself here as it is written.
void registerStandardRoutines(RoutineRegistry& /*registry*/) {}

}  // namespace slownik::sql
