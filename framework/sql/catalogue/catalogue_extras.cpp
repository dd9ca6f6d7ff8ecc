#include <string>

#include "framework/sql/schema.h"

namespace slownik::sql {
namespace {

// Second buffers over the same rows. SELECT * fixes the column list when the view is
// made: a later migration that adds a column to the table must recreate its view.
const char* const kAliasViews =
    "CREATE VIEW BANKI1 AS SELECT * FROM BANKI;"
    "CREATE VIEW KONTRAHENT1 AS SELECT * FROM KONTRAHENT;";

// The register of order status changes as the history list shows it: status codes with
// their descriptions, the user's and the employee's names. Columns keep the names the
// list's filters use (IdRejestruZmian, IdZamowienia, IdUzytkownika).
const char* const kStatusHistoryView =
    "CREATE VIEW WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN AS SELECT "
    "r.ID_REJESTRU_ZMIAN AS IDREJESTRUZMIAN, "
    "r.ID_ZAMOWIENIA AS IDZAMOWIENIA, "
    "r.STATUS_PRZED_ZMIANA AS STATUSPRZEDZMIANA, "
    "COALESCE(sp.OPIS_STATUSU, '') AS OPISSTATUSUPRZEDZMIANA, "
    "r.STATUS_PO_ZMIANIE AS STATUSPOZMIANIE, "
    "COALESCE(sn.OPIS_STATUSU, '') AS OPISSTATUSUPOZMIANIE, "
    "r.DATA_ZMIANY AS DATACZASZMIANY_DATE, "
    "r.CZAS_ZMIANY AS DATACZASZMIANY_TIME, "
    "r.ID_UZYTKOWNIKA AS IDUZYTKOWNIKA, "
    "COALESCE(u.NAZWA, '') AS NAZWAUZYTKOWNIKA, "
    "r.ID_PRACOWNIKA AS IDPRACOWNIKA, "
    "TRIM(COALESCE(p.NAZWISKO, '') || ' ' || COALESCE(p.IMIE_1, '')) AS NAZWAPRACOWNIKA, "
    "r.KOMENTARZ AS KOMENTARZ "
    "FROM REJESTR_ZMIAN_STATUSOW_ZAMOWIEN r "
    "LEFT JOIN VEX_SLOWNIK_STATUSOW_DOKUMENTOW sp "
    "ON sp.TYP_DOKUMENTU = 'Z' AND sp.KOD_STATUSU = r.STATUS_PRZED_ZMIANA "
    "LEFT JOIN VEX_SLOWNIK_STATUSOW_DOKUMENTOW sn "
    "ON sn.TYP_DOKUMENTU = 'Z' AND sn.KOD_STATUSU = r.STATUS_PO_ZMIANIE "
    "LEFT JOIN UZYTKOWNIK u ON u.ID_UZYTKOWNIKA = r.ID_UZYTKOWNIKA "
    "LEFT JOIN PRACOWNIK p ON p.ID_PRACOWNIKA = r.ID_PRACOWNIKA;";

// The history list deletes register rows through the view; a joined view needs to be
// told where the delete goes.
const char* const kStatusHistoryDeleteSqlite =
    "CREATE TRIGGER WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN_DELETE "
    "INSTEAD OF DELETE ON WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN BEGIN "
    "DELETE FROM REJESTR_ZMIAN_STATUSOW_ZAMOWIEN WHERE ID_REJESTRU_ZMIAN = OLD.IDREJESTRUZMIAN; "
    "END;";
const char* const kStatusHistoryDeletePostgres =
    "CREATE RULE WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN_DELETE AS "
    "ON DELETE TO WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN DO INSTEAD "
    "DELETE FROM REJESTR_ZMIAN_STATUSOW_ZAMOWIEN WHERE ID_REJESTRU_ZMIAN = OLD.IDREJESTRUZMIAN;";

}  // namespace

// Views and fixed data that the table definitions cannot express.
std::vector<MigrationExtra> catalogueMigrationExtras() {
  const std::string common = std::string(kAliasViews) + kStatusHistoryView;
  return {
      {1, Backend::Sqlite, common + kStatusHistoryDeleteSqlite},
      {1, Backend::Postgres, common + kStatusHistoryDeletePostgres},
  };
}

}  // namespace slownik::sql
