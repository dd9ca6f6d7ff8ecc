#pragma once
#include <vector>

#include "framework/sql/routine_registry.h"
#include "framework/sql/schema.h"

namespace slownik::sql {

// One function per family of stored routines; standard_routines.cpp calls them all.

//! TKW_KartotekaSemaforUstaw, TKW_KartotekaSemaforPoloz, TKW_KartotekaZapisSkasuj, and
//! the session's: TKW_KartotekaSemaforSprawdz, TKW_KartotekaSemaforKto,
//! TKW_KartotekaSemaforZdejmij, TKW_SesjaZakoncz, TKW_KartotekaSemaforPorzadkuj.
void registerRecordSemaphoreRoutines(RoutineRegistry& registry);
//! The triggers that refuse a row write carrying a lock that is no longer the row's.
std::vector<MigrationExtra> recordLockGuardExtras();
//! TK_ZapiszDoLogu.
void registerAuditLogRoutines(RoutineRegistry& registry);
//! TK_CzyNazwaJestUnikalna.
void registerNameUniquenessRoutines(RoutineRegistry& registry);
//! TK_Func_PodajKursy_NBPECB, TK_Czy_SaKursyWalut.
void registerRateRoutines(RoutineRegistry& registry);
//! TK_PrzeliczCenyArtykulow.
void registerPriceRecalculationRoutines(RoutineRegistry& registry);
//! TK_Func_BezPolskichZnakow called as a routine (it is also an SQL function).
void registerTextRoutines(RoutineRegistry& registry);
//! RM_DodajDefinicjeNumeracji.
void registerNumberingRoutines(RoutineRegistry& registry);
//! KS_SMS_UTWORZ_TRACKING_URL, KS_SMS_SPRAWDZ_KONWERSJE_TRACKING_URL, KS_SMS_ZAPISZ_WYSLANIE,
//! KS_SMS_ZAPISZ_KLIKNIECIE.
void registerSmsTrackingRoutines(RoutineRegistry& registry);
//! TK_DodajHaslo_0001_002_HASLO_INTER.
void registerInternetUserRoutines(RoutineRegistry& registry);
//! TKB_IntS_RM_TKBM_DocStatusListInit.
void registerOrderStatusRoutines(RoutineRegistry& registry);
//! TK_UsunMagazyn, RM_StartSynchro.
void registerWarehouseRoutines(RoutineRegistry& registry);
//! TK_InicjacjaSystemu, TK_PracujZFirma.
void registerCompanyRoutines(RoutineRegistry& registry);
//! TK_PowielPracownika, TK_ArchiwizujPracownika, TK_CzyNipJestUnikalny.
void registerStaffRoutines(RoutineRegistry& registry);

}  // namespace slownik::sql
