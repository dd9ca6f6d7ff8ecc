#include "framework/sql/schema.h"

namespace slownik::sql {

// Each index compares exactly as the save check of its form does: an index stricter
// than the check would refuse rows the form lets through, and the user would be left
// with a refusal the form cannot explain. UPPER() is the Polish-aware upper-casing on
// both backends (SQLite gets ours, registered with every connection).
const std::vector<UniqueIndex>& uniqueIndexes() {
  static const std::vector<UniqueIndex> indexes = {
      {2, "KRAJE", "UQ_KRAJE_SYM_KRAJU", {"UPPER(SYM_KRAJU)"}, ""},
      {2, "KRAJE", "UQ_KRAJE_NAZWA", {"UPPER(NAZWA)"}, ""},
      {2, "WOJEWODZTWO", "UQ_WOJEWODZTWO_NAZWA", {"UPPER(WOJEWODZTWO)"}, ""},
      {2, "WALUTY", "UQ_WALUTY_SYM_WALUTY", {"UPPER(SYM_WALUTY)"}, ""},
      {2, "BANKI", "UQ_BANKI_NUMER_BANKU", {"NUMER_BANKU"}, ""},
      {2, "KASY_FIRMY", "UQ_KASY_FIRMY_SYMBOL", {"ID_FIRMY", "SYMBOL"}, ""},
      {2, "KASY_FIRMY", "UQ_KASY_FIRMY_NAZWA", {"ID_FIRMY", "NAZWA"}, ""},
      // The office form lets a new office keep the empty name it starts with.
      {2, "URZEDY", "UQ_URZEDY_NAZWA", {"UPPER(NAZWA)"}, "NAZWA <> ''"},
      // Neither letter case nor trailing blanks (fixed-width fields pad with them) make
      // another name of an interest table.
      {2, "TABELA_ODSETEK", "UQ_TABELA_ODSETEK_NAZWA", {"ID_FIRMY", "UPPER(RTRIM(NAZWA))"}, ""},
  };
  return indexes;
}

}  // namespace slownik::sql
