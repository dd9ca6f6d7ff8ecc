#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/routine_families.h"

namespace slownik::sql {

void registerStandardRoutines(RoutineRegistry& registry) {
  registerRecordSemaphoreRoutines(registry);
  registerAuditLogRoutines(registry);
  registerNameUniquenessRoutines(registry);
  registerRateRoutines(registry);
  registerPriceRecalculationRoutines(registry);
  registerTextRoutines(registry);
  registerNumberingRoutines(registry);
  registerSmsTrackingRoutines(registry);
  registerInternetUserRoutines(registry);
  registerWarehouseRoutines(registry);
  registerCompanyRoutines(registry);
  registerOrderStatusRoutines(registry);
  registerStaffRoutines(registry);
}

}  // namespace slownik::sql
