#include "framework/data/relations.h"

#include <algorithm>
#include <mutex>

#include "framework/sql/text.h"

namespace slownik::data {
namespace {

using enum DeleteRule;

// The module's own tables. A relation whose tables are not in the database yet is
// simply not applied. Money accounts and rates keep their bank, currency and owner:
// deleting those is refused while they are used; rows that exist only as a part of
// their parent (rates of a quotation date, periods of an interest table, accounts of
// a tax office) go with it.
std::vector<Relation> builtIn() {
  std::vector<Relation> r = {
      {"DATY_KURSOW", {"ID_DATY"}, "KURSY_WALUT", {"ID_DATY"}, Cascade},
      {"WALUTY", {"SYM_WALUTY"}, "KURSY_WALUT", {"SYM_WALUTY"}, Restrict},
      {"KRAJE", {"SYM_KRAJU"}, "WALUTY", {"SYM_KRAJU"}, Restrict},
      {"TABELA_ODSETEK", {"ID_TABELI_ODSETEK"}, "ODSETKI", {"ID_TABELI_ODSETEK"}, Cascade},
      {"URZEDY", {"ID_URZEDU"}, "RACHUNEK_URZEDU", {"ID_URZEDU"}, Cascade},
      {"PRACOWNIK", {"ID_PRACOWNIKA"}, "RACHUNEK_PRACOWNIKA", {"ID_PRACOWNIKA"}, Cascade},
      {"KONTRAHENT", {"ID_KONTRAHENTA"}, "RACHUNEK_KONTRAHENTA", {"ID_KONTRAHENTA"}, Cascade},
      {"KONTRAHENT", {"ID_KONTRAHENTA"}, "RACHUNEK_WIRTUALNY", {"ID_KONTRAHENTA"}, Cascade},
      {"FIRMA", {"ID_FIRMY"}, "RACHUNEK_FIRMY", {"ID_FIRMY"}, Cascade},
      // A white-list answer is the proof an auditor asks for, so it outlives its account;
      // it is only parted from it, since a later account may get the same id.
      {"RACHUNEK_KONTRAHENTA", {"ID_RACHUNKU"}, "BIALA_LISTA_RACHKON", {"ID_RACHUNKU"}, Clear},
      {"RACHUNEK_URZEDU", {"ID_RACHUNKU"}, "BIALA_LISTA_RACHURZ", {"ID_RACHUNKU"}, Clear},
      {"FIRMA", {"ID_FIRMY"}, "ADRESY_FIRMY", {"ID_FIRMY"}, Cascade},
      {"FIRMA", {"ID_FIRMY"}, "AKCYZA_FIRMA_PODATNIK", {"ID_FIRMY"}, Cascade},
  };
  for (const char* account : {"RACHUNEK_FIRMY", "RACHUNEK_KONTRAHENTA", "RACHUNEK_PRACOWNIKA", "RACHUNEK_URZEDU"}) {
    r.push_back({"BANKI", {"ID_BANKU"}, account, {"ID_BANKU"}, Restrict});
    r.push_back({"WALUTY", {"SYM_WALUTY"}, account, {"SYM_WALUTY"}, Restrict});
  }
  return r;
}

std::mutex mutex;
std::vector<Relation>& registry() {
  static std::vector<Relation> all = builtIn();
  return all;
}

}  // namespace

std::vector<Relation> relations() {
  std::lock_guard lock(mutex);
  return registry();
}

void addRelation(Relation relation) {
  std::lock_guard lock(mutex);
  registry().push_back(std::move(relation));
}

std::vector<Relation> childRelations(std::string_view table) {
  std::lock_guard lock(mutex);
  std::vector<Relation> out;
  for (const auto& r : registry())
    if (sql::equalsIgnoreCase(r.parent, table)) out.push_back(r);
  return out;
}

std::vector<std::string> relatedTables(std::string_view table) {
  std::lock_guard lock(mutex);
  std::vector<std::string> out;
  auto add = [&](const std::string& name) {
    if (sql::equalsIgnoreCase(name, table)) return;
    if (std::none_of(out.begin(), out.end(), [&](const std::string& n) { return sql::equalsIgnoreCase(n, name); }))
      out.push_back(name);
  };
  for (const auto& r : registry()) {
    if (sql::equalsIgnoreCase(r.parent, table)) add(r.child);
    if (sql::equalsIgnoreCase(r.child, table)) add(r.parent);
  }
  return out;
}

}  // namespace slownik::data
