// Company routines (the set-up of a new company is in company_setup.cpp):
//   TK_PracujZFirma(company, user, mode) connects (1) or disconnects (2) a company to
//   this product: FIRMA.VEX. Refused with "Lock" while another user edits the company.
// The removal of a company's data (TKW_KartotekaZapisSkasuj('firma', …)) is run by the
// record semaphore under the company's lock; its statements are made here.
#include "framework/sql/routines/company_routines.h"

#include <map>
#include <string>
#include <vector>

#include "framework/sql/catalogue.h"
#include "framework/sql/dialect.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/company_setup.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"
#include "framework/sql/routines/table_lookup.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

// --- connecting a company ------------------------------------------------------------------

constexpr long long kConnect = 1;
constexpr long long kDisconnect = 2;

Status workWithCompany(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TK_PracujZFirma", argv);
  if (Status s = args.require(3); !s) return s;
  long long company = 0, user = 0, mode = 0;
  if (Status s = companyArgument(args, db, &company); !s) return s;
  if (Status s = args.integer(1, &user); !s) return s;
  if (Status s = args.integer(2, &mode); !s) return s;
  if (mode != kConnect && mode != kDisconnect) return args.failure("nieznany tryb " + std::to_string(mode));
  // The row is held from here to the end of the transaction; a company that another
  // user has open for editing is left as it is, as a save of the form would overwrite it.
  if (Status s = db.execute("UPDATE FIRMA SET SEMAFOR = SEMAFOR WHERE ID_FIRMY = ?", std::vector<Param>{company},
                            nullptr);
      !s)
    return s;
  Result r;
  if (Status s = db.execute("SELECT COALESCE(SEMAFOR, 0) FROM FIRMA WHERE ID_FIRMY = ?", std::vector<Param>{company},
                            &r);
      !s)
    return s;
  const long long holder = r.empty() ? 0 : static_cast<long long>(std::stod(r.scalar().empty() ? "0" : r.scalar()));
  if (holder > 0 && holder != user)
    return Status::failure("Lock: firma " + std::to_string(company) + " jest edytowana przez innego użytkownika.");
  return db.execute("UPDATE FIRMA SET VEX = ? WHERE ID_FIRMY = ?",
                    std::vector<Param>{mode == kConnect ? 1LL : 0LL, company}, nullptr);
}

// --- removing a company's data -------------------------------------------------------------

thread_local CompanyDeleteObserver tObserver;

// What the person waiting reads for the tables a company has most rows in.
std::string labelOf(const std::string& table) {
  static const std::map<std::string, std::string> labels = {
      {"ADRESY_FIRMY", "adresy firmy"},
      {"ADRESY_PRACOWNIKA", "adresy pracowników"},
      {"ARTYKUL", "artykuły"},
      {"CENA", "rodzaje cen"},
      {"CENA_ARTYKULU", "ceny artykułów"},
      {"DOSTEP", "uprawnienia"},
      {"GRUPAUZYTKOWNIKOW", "grupy użytkowników"},
      {"UZYTKOWNIKGRUPY", "przydział użytkowników do grup"},
      {"JEDNOSTKA", "jednostki miary"},
      {"KASY_FIRMY", "kasy"},
      {"KONTAKT", "kontakty kontrahentów"},
      {"KONTRAHENT", "kontrahenci"},
      {"MAGAZYN", "magazyny"},
      {"NUMERACJA", "numeracja dokumentów"},
      {"ODSETKI", "stawki odsetek"},
      {"PRACOWNIK", "pracownicy"},
      {"RACHUNEK_FIRMY", "rachunki bankowe firmy"},
      {"RACHUNEK_KONTRAHENTA", "rachunki bankowe kontrahentów"},
      {"RACHUNEK_PRACOWNIKA", "rachunki bankowe pracowników"},
      {"TABELA_ODSETEK", "tabele odsetek"},
      {"TYP_DOKUMENTU_FINANSOWEGO", "typy dokumentów finansowych"},
      {"TYP_DOKUMENTU_HANDLOWEGO", "typy dokumentów handlowych"},
      {"TYP_DOKUMENTU_MAGAZYNOWEGO", "typy dokumentów magazynowych"},
      {"FORMA_DOSTAWY", "formy dostawy"},
      {"ETYKIETA_DOKUMENTU", "etykiety dokumentów"},
  };
  auto it = labels.find(table);
  return it != labels.end() ? it->second : "tabela " + table;
}

// Shared tables that carry an id of a company row without being that row's own data:
// a user stays when the employee they were linked to goes, and the log outlives what it
// tells about.
bool isOutsideCompany(const TableDef& table) {
  for (const char* name : {"UZYTKOWNIK", "LOG_ZDARZEN", "BLOKADA", "SESJA", "REZERWACJA_ID", "ZAZNACZONE"})
    if (equalsIgnoreCase(table.name, name)) return true;
  return false;
}

// Rows of tables without ID_FIRMY whose id column is the id of more than one table, with
// the company table it names there. A group's members must go with the group: a later
// group given the same id would otherwise take them in.
struct NamedChild {
  const char* child;
  const char* column;
  const char* parent;
};
constexpr NamedChild kNamedChildren[] = {{"UZYTKOWNIKGRUPY", "ID_GRUPY", "GRUPAUZYTKOWNIKOW"}};

std::vector<CompanyDeleteStep> makeDeleteSteps() {
  const auto& tables = Catalogue::instance().tables();
  std::vector<const TableDef*> owned;  // tables carrying ID_FIRMY
  for (const auto& t : tables)
    if (!t.isView && !equalsIgnoreCase(t.name, "FIRMA") && t.column("ID_FIRMY") && !isOutsideCompany(t))
      owned.push_back(&t);
  // An id column names one table's rows only when exactly one table has it as its id:
  // ID_TYPU of the three document type tables says nothing about which of them it means.
  std::map<std::string, int> idColumns;
  for (const auto& t : tables)
    if (!t.isView && !t.idColumn.empty()) ++idColumns[t.idColumn];

  std::vector<CompanyDeleteStep> steps;
  // Children that the rule below can't tell by their column alone.
  for (const auto& [child, column, parent] : kNamedChildren) {
    if (!findStoredTable(child) || !findStoredTable(parent)) continue;
    steps.push_back({child, labelOf(child),
                     std::string("DELETE FROM ") + child + " WHERE " + column + " IN (SELECT " + column + " FROM " +
                         parent + " WHERE ID_FIRMY = ?)"});
  }
  for (const TableDef* parent : owned) {
    const std::string& id = parent->idColumn;
    if (id.empty() || equalsIgnoreCase(id, "ID_FIRMY") || idColumns[id] != 1) continue;
    for (const auto& child : tables) {
      if (child.isView || &child == parent || child.column("ID_FIRMY") || !child.column(id) || isOutsideCompany(child))
        continue;
      steps.push_back({child.name, labelOf(child.name),
                       "DELETE FROM " + child.name + " WHERE " + id + " IN (SELECT " + id + " FROM " + parent->name +
                           " WHERE ID_FIRMY = ?)"});
    }
  }
  // Links of other companies to this one (ID_FIRMY_POWIAZANEJ) lead nowhere once it is gone.
  for (const auto& t : tables) {
    if (t.isView || isOutsideCompany(t)) continue;
    for (const auto& c : t.columns)
      if (c.name.rfind("ID_FIRMY_", 0) == 0)
        steps.push_back({t.name, labelOf(t.name), "DELETE FROM " + t.name + " WHERE " + c.name + " = ?"});
  }
  for (const TableDef* t : owned)
    steps.push_back({t->name, labelOf(t->name), "DELETE FROM " + t->name + " WHERE ID_FIRMY = ?"});
  return steps;
}

}  // namespace

const std::vector<std::string>& everyRight() {
  static const std::vector<std::string> rights = [] {
    std::vector<std::string> r = {"SYS",        "EDanePodm",   "StawkiVAT",   "BankiKursWal", "KonfKolPrac",
                                  "OKontrD",    "OKontrO",     "StatusyZamD", "StatusyZamE",  "StatusyZamU",
                                  "EtykDokD",   "EtykDokE",    "EtykDokU",    "DFormPlat",    "EFormPlat",
                                  "UFormPlat",  "DMag",        "EMag",        "UMag"};
    for (const char* base : {"Banki", "TabOds", "Urzedy", "Kasy", "Prac", "Waluty", "TypDokMag", "TypDokHandl",
                             "TypDokFin", "TypDokProd", "TypyKontr", "Kontr"}) {
      r.emplace_back(base);
      for (const char* action : {"D", "E", "O", "U"}) r.push_back(action + std::string(base));
    }
    return r;
  }();
  return rights;
}

const std::vector<CompanyDeleteStep>& companyDeleteSteps() {
  static const std::vector<CompanyDeleteStep> steps = makeDeleteSteps();
  return steps;
}

Status deleteCompanyData(Database& db, long long company) {
  const auto& steps = companyDeleteSteps();
  std::vector<Param> params = {company};
  int number = 0;
  for (const auto& step : steps) {
    ++number;
    if (tObserver) tObserver(step.label, number, static_cast<int>(steps.size()));
    if (Status s = db.execute(step.sql, params, nullptr); !s) return s;
  }
  return {};
}

CompanyDeleteWatch::CompanyDeleteWatch(CompanyDeleteObserver observer) : previous_(std::move(tObserver)) {
  tObserver = std::move(observer);
}

CompanyDeleteWatch::~CompanyDeleteWatch() { tObserver = std::move(previous_); }

void registerCompanyRoutines(RoutineRegistry& registry) {
  registry.add("TK_InicjacjaSystemu", setUpCompany);
  registry.add("TK_PracujZFirma", workWithCompany);
}

}  // namespace slownik::sql
