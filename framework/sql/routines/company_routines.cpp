// Company routines:
//   TK_InicjacjaSystemu(company) gives a newly inserted company what it needs before
//   anybody can work in it: its system document types with their numbering definitions,
//   the group "Administratorzy" holding every right, a main warehouse and a main cash
//   desk, its system delivery forms, and the shared system payment forms, financial
//   operations and order statuses when the database lacks them, and connects the company
//   to this program (VEX). Each part is made only where the company has none yet, so
//   running it again adds nothing twice.
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
#include "framework/sql/routines/numbering_definition.h"
#include "framework/sql/routines/routine_args.h"
#include "framework/sql/routines/routine_families.h"
#include "framework/sql/routines/table_lookup.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

// Document families of NUMERACJA.
constexpr long long kWarehouseFamily = 1;
constexpr long long kFinanceFamily = 3;
constexpr long long kTradeFamily = 4;

// --- the system rows a company starts with ----------------------------------------------

struct WarehouseType {
  const char* signature;  // exactly three characters, blank-padded
  const char* name;
  const char* kind;
  int kindClass;  // 1 receipt, 2 receipt correction, 3 issue, 4 issue correction, 5 stocktaking
  const char* valuation;
  const char* summing;
};
constexpr WarehouseType kWarehouseTypes[] = {
    {"PZ ", "Przyjęcie zewnętrzne", "Przychód", 1, "Zakupu", "Netto"},
    {"WZ ", "Wydanie zewnętrzne", "Rozchód", 3, "Sprzedaży", "Netto"},
    {"PW ", "Przychód wewnętrzny", "Przychód", 1, "Zakupu", "Netto"},
    {"RW ", "Rozchód wewnętrzny", "Rozchód", 3, "Zakupu", "Netto"},
    {"MP ", "Przesunięcie międzymagazynowe (przyjęcie)", "MP", 1, "Zakupu", "Netto"},
    {"MW ", "Przesunięcie międzymagazynowe (wydanie)", "MW", 3, "Zakupu", "Netto"},
    {"KPZ", "Korekta przyjęcia zewnętrznego", "Korekta przychodu", 2, "Zakupu", "Netto"},
    {"KWZ", "Korekta wydania zewnętrznego", "Korekta rozchodu", 4, "Sprzedaży", "Netto"},
    {"INW", "Inwentaryzacja", "Remanent", 5, "Zakupu", "Netto"},
    {"ZAM", "Zamówienie od odbiorcy", "Zamówienie", 0, "Sprzedaży", "Brutto"},
    {"ZLP", "Zlecenie produkcyjne", "Zlecenie", 0, "Zakupu", "Netto"}};

struct TradeType {
  const char* signature;
  const char* name;
  const char* kindCode;  // "s" sale, "z" purchase, "ks"/"kz" their corrections
  int kindClass;
  const char* summing;
};
constexpr TradeType kTradeTypes[] = {
    {"FV", "Faktura VAT sprzedaży", "s", 1, "Netto"},    {"PA", "Paragon", "s", 1, "Brutto"},
    {"FZ", "Faktura VAT zakupu", "z", 3, "Netto"},       {"FVk", "Korekta faktury sprzedaży", "ks", 2, "Netto"},
    {"FZk", "Korekta faktury zakupu", "kz", 4, "Netto"}, {"PR", "Rachunek", "s", 1, "Brutto"}};

struct FinanceType {
  const char* signature;
  const char* name;
  const char* direction;  // "w" inflow, "y" outflow, "c" compensation
  const char* kind;       // "k" cash desk, "b" bank, "c" compensation
  const char* operation;  // the default financial operation
};
constexpr FinanceType kFinanceTypes[] = {{"KP", "Kasa przyjmie", "w", "k", "WPL"},
                                         {"KW", "Kasa wypłaci", "y", "k", "WYP"},
                                         {"BP", "Wpływ na rachunek bankowy", "w", "b", "WPL"},
                                         {"BW", "Przelew z rachunku bankowego", "y", "b", "WYP"},
                                         {"KOM", "Kompensata", "c", "c", "KOMP"}};

// The operations the system finance types name; shared by every company.
struct Operation {
  const char* code;
  const char* name;
};
constexpr Operation kOperations[] = {
    {"WPL", "Wpłata należności"}, {"WYP", "Wypłata zobowiązania"}, {"KOMP", "Kompensata"}};

// Shared payment forms the documents rely on. Each has the id it has always had in
// new databases; where that id is taken, the next free one.
struct PaymentForm {
  long long id;
  const char* code;
  const char* name;
  int receivableDays;
  int automaticSettlement;  // 1 cash receipts and payments, 2 card
  int countsToLimit;
};
constexpr PaymentForm kPaymentForms[] = {{1, "G", "gotówka", 0, 1, 0},
                                         {2, "P", "przelew", 14, 0, 1},
                                         {3, "K", "karta płatnicza", 0, 2, 0},
                                         {5, "KOM", "kompensata", 0, 0, 0}};

struct DeliveryForm {
  const char* name;
  const char* kind;
};
constexpr DeliveryForm kDeliveryForms[] = {{"Odbiór osobisty", "osobisty"}, {"Przesyłka kurierska", "kurier"}};

// The order statuses the order handling sets by itself; shared, by code.
struct OrderStatus {
  long long id;
  const char* description;
  const char* code;
  int automatic;
};
constexpr OrderStatus kOrderStatuses[] = {{1, "Nowe", "N", 1},
                                          {2, "Częściowo zrealizowane", "C", 1},
                                          {3, "Zrealizowane", "Z", 1},
                                          {4, "Wstrzymane", "Y", 0},
                                          {5, "Anulowane", "A", 0}};

// --- helpers ------------------------------------------------------------------------------

Status countOf(Database& db, const std::string& sql, const std::vector<Param>& params, long long* out) {
  Result r;
  if (Status s = db.execute(sql, params, &r); !s) return s;
  *out = r.empty() || r.scalar().empty() ? 0 : std::stoll(r.scalar());
  return {};
}

// The next free id of a table, past its rows and the ids that open forms set aside,
// with the allocation locked to the end of the transaction.
Status nextId(Database& db, const std::string& table, const std::string& column, long long* out) {
  if (Status s = lockIdAllocation(db, table); !s) return s;
  Result r;
  std::vector<Param> params = {table};
  if (Status s = db.execute("SELECT MAX(N) + 1 FROM (SELECT COALESCE(MAX(" + column + "), 0) AS N FROM " + table +
                                " UNION ALL SELECT COALESCE(MAX(ID), 0) AS N FROM REZERWACJA_ID WHERE TABELA = ?) R",
                            params, &r);
      !s)
    return s;
  *out = r.empty() || r.scalar().empty() ? 1 : std::stoll(r.scalar());
  return {};
}

// `preferred` when no row has it, else the next free id.
Status idFor(Database& db, const std::string& table, const std::string& column, long long preferred, long long* out) {
  long long taken = 0;
  if (Status s = countOf(db, "SELECT COUNT(*) FROM " + table + " WHERE " + column + " = ?", {preferred}, &taken); !s)
    return s;
  if (taken == 0) {
    *out = preferred;
    return lockIdAllocation(db, table);
  }
  return nextId(db, table, column, out);
}

Status hasRows(Database& db, const std::string& table, long long company, bool* any) {
  long long n = 0;
  if (Status s = countOf(db, "SELECT COUNT(*) FROM " + table + " WHERE ID_FIRMY = ?", {company}, &n); !s) return s;
  *any = n > 0;
  return {};
}

std::string withoutTrailingBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

Status addNumbering(Database& db, long long company, long long family, long long type, const std::string& signature,
                    bool receipt) {
  long long existing = 0;
  if (Status s = countOf(db,
                         "SELECT COUNT(*) FROM NUMERACJA WHERE ID_FIRMY = ? AND ID_MAGAZYNU = 0 AND DOKUMENT = ? "
                         "AND TYP_DOKUMENTU = ? AND ROK = 0",
                         {company, family, type}, &existing);
      !s || existing > 0)
    return s;
  return db.execute(
      "INSERT INTO NUMERACJA (ID_FIRMY, ID_MAGAZYNU, DOKUMENT, TYP_DOKUMENTU, ROK, SYGNATURA, FORMAT, NUMER, PRZYCHOD) "
      "VALUES (?, 0, ?, ?, 0, ?, ?, 0, ?)",
      std::vector<Param>{company, family, type, withoutTrailingBlanks(signature), std::string(kDefaultNumberFormat),
                         static_cast<long long>(receipt ? 1 : 0)},
      nullptr);
}

// --- the parts of a company's set-up -------------------------------------------------------

Status setUpWarehouseTypes(Database& db, long long company) {
  bool any = false;
  if (Status s = hasRows(db, "TYP_DOKUMENTU_MAGAZYNOWEGO", company, &any); !s || any) return s;
  for (const auto& t : kWarehouseTypes) {
    long long id = 0;
    if (Status s = nextId(db, "TYP_DOKUMENTU_MAGAZYNOWEGO", "ID_TYPU", &id); !s) return s;
    if (Status s = db.execute("INSERT INTO TYP_DOKUMENTU_MAGAZYNOWEGO (CZY_SYSTEMOWY, FAKTURA, ID_FIRMY, ID_TYPU, "
                              "NAZWA, RODZAJ, SUMOWANIE, SYGNATURA, WYCENA, KLASA_RODZAJU) "
                              "VALUES (1, 0, ?, ?, ?, ?, ?, ?, ?, ?)",
                              std::vector<Param>{company, id, std::string(t.name), std::string(t.kind),
                                                 std::string(t.summing), std::string(t.signature),
                                                 std::string(t.valuation), static_cast<long long>(t.kindClass)},
                              nullptr);
        !s)
      return s;
    // Receipts and their corrections count up apart from the issues.
    if (Status s = addNumbering(db, company, kWarehouseFamily, id, t.signature, t.kindClass == 1 || t.kindClass == 2);
        !s)
      return s;
  }
  return {};
}

Status setUpTradeTypes(Database& db, long long company) {
  bool any = false;
  if (Status s = hasRows(db, "TYP_DOKUMENTU_HANDLOWEGO", company, &any); !s || any) return s;
  for (const auto& t : kTradeTypes) {
    long long id = 0;
    if (Status s = nextId(db, "TYP_DOKUMENTU_HANDLOWEGO", "ID_TYPU", &id); !s) return s;
    if (Status s = db.execute("INSERT INTO TYP_DOKUMENTU_HANDLOWEGO (CZY_SYSTEMOWY, ID_TYPU, ID_FIRMY, NAZWA, "
                              "SYGNATURA, KOD_RODZAJU, SUMOWANIE, KLASA_RODZAJU, AKTYWNY) "
                              "VALUES (1, ?, ?, ?, ?, ?, ?, ?, 1)",
                              std::vector<Param>{id, company, std::string(t.name), std::string(t.signature),
                                                 std::string(t.kindCode), std::string(t.summing),
                                                 static_cast<long long>(t.kindClass)},
                              nullptr);
        !s)
      return s;
    if (Status s = addNumbering(db, company, kTradeFamily, id, t.signature, false); !s) return s;
  }
  return {};
}

Status setUpOperations(Database& db) {
  for (const auto& o : kOperations) {
    long long n = 0;
    if (Status s = countOf(db, "SELECT COUNT(*) FROM RODZAJ_OPERACJI_FIN WHERE KOD_OPERACJI = ?",
                           {std::string(o.code)}, &n);
        !s)
      return s;
    if (n > 0) continue;
    if (Status s = db.execute("INSERT INTO RODZAJ_OPERACJI_FIN (KOD_OPERACJI, NAZWA) VALUES (?, ?)",
                              std::vector<Param>{std::string(o.code), std::string(o.name)}, nullptr);
        !s)
      return s;
  }
  return {};
}

Status setUpFinanceTypes(Database& db, long long company) {
  if (Status s = setUpOperations(db); !s) return s;
  bool any = false;
  if (Status s = hasRows(db, "TYP_DOKUMENTU_FINANSOWEGO", company, &any); !s || any) return s;
  for (const auto& t : kFinanceTypes) {
    long long id = 0;
    if (Status s = nextId(db, "TYP_DOKUMENTU_FINANSOWEGO", "ID_TYPU", &id); !s) return s;
    if (Status s = db.execute("INSERT INTO TYP_DOKUMENTU_FINANSOWEGO (ID_TYPU, ID_FIRMY, KIERUNEK, NAZWA, "
                              "RODZAJ_OPERACJI, SYGNATURA, CZY_SYSTEMOWY, KOD_OPERACJI_DOM) "
                              "VALUES (?, ?, ?, ?, ?, ?, 1, ?)",
                              std::vector<Param>{id, company, std::string(t.direction), std::string(t.name),
                                                 std::string(t.kind), std::string(t.signature),
                                                 std::string(t.operation)},
                              nullptr);
        !s)
      return s;
    if (Status s = addNumbering(db, company, kFinanceFamily, id, t.signature, std::string(t.direction) == "w"); !s)
      return s;
  }
  return {};
}

Status setUpAdministrators(Database& db, long long company) {
  long long group = 0;
  {
    Result r;
    if (Status s = db.execute("SELECT ID_GRUPY FROM GRUPAUZYTKOWNIKOW WHERE ID_FIRMY = ? AND NAZWA = 'Administratorzy'",
                              std::vector<Param>{company}, &r);
        !s)
      return s;
    if (!r.empty()) group = std::stoll(r.scalar());
  }
  if (group == 0) {
    if (Status s = nextId(db, "GRUPAUZYTKOWNIKOW", "ID_GRUPY", &group); !s) return s;
    if (Status s = db.execute("INSERT INTO GRUPAUZYTKOWNIKOW (ID_GRUPY, ID_FIRMY, NAZWA, OPIS) "
                              "VALUES (?, ?, 'Administratorzy', 'Pełne uprawnienia w firmie')",
                              std::vector<Param>{group, company}, nullptr);
        !s)
      return s;
  }
  // Rights the group lacks are added; rights an administrator took away stay away only
  // as long as the group keeps their rows (RODZAJ_DOSTEPU 0).
  for (const auto& right : everyRight()) {
    long long n = 0;
    if (Status s = countOf(db,
                           "SELECT COUNT(*) FROM DOSTEP WHERE ID_GRUPY = ? AND ID_FIRMY = ? AND KOD = ? "
                           "AND ID_OBIEKTU = 0",
                           {group, company, right}, &n);
        !s)
      return s;
    if (n > 0) continue;
    if (Status s = db.execute("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) "
                              "VALUES (?, ?, ?, 0, 1)",
                              std::vector<Param>{group, company, right}, nullptr);
        !s)
      return s;
  }
  return {};
}

Status setUpWarehouseAndCashDesk(Database& db, long long company) {
  bool any = false;
  if (Status s = hasRows(db, "MAGAZYN", company, &any); !s) return s;
  if (!any) {
    long long id = 0;
    if (Status s = nextId(db, "MAGAZYN", "ID_MAGAZYNU", &id); !s) return s;
    if (Status s = db.execute("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU, "
                              "REMANENT_CZASTKOWY, WSPOLNA_NUM_INDEKSOW) VALUES (?, ?, 'Magazyn główny', 'MG', "
                              "'Praca', 0, 0)",
                              std::vector<Param>{company, id}, nullptr);
        !s)
      return s;
  }
  if (Status s = hasRows(db, "KASY_FIRMY", company, &any); !s || any) return s;
  long long id = 0;
  if (Status s = nextId(db, "KASY_FIRMY", "ID_KASY", &id); !s) return s;
  return db.execute("INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL, RAP_WALUTOWE) "
                    "VALUES (?, ?, 'Kasa główna', 'KG', 0)",
                    std::vector<Param>{company, id}, nullptr);
}

Status setUpPaymentForms(Database& db) {
  for (const auto& f : kPaymentForms) {
    long long n = 0;
    if (Status s = countOf(db, "SELECT COUNT(*) FROM FORMA_PLATNOSCI WHERE UPPER(KOD) = ? AND SYSTEMOWY = 1",
                           {std::string(f.code)}, &n);
        !s)
      return s;
    if (n > 0) continue;
    long long id = 0;
    if (Status s = idFor(db, "FORMA_PLATNOSCI", "ID_FORMY", f.id, &id); !s) return s;
    if (Status s = db.execute("INSERT INTO FORMA_PLATNOSCI (ID_FORMY, KOD, NAZWA, SYSTEMOWY, DNI_NALEZNOSCI, "
                              "DNI_ZOBOWIAZAN, AKTYWNA, ID_FIRMY, ID_PLATNIKA, GEN_AUTO_ROZLICZ, WLICZAJ_DO_LIMITU) "
                              "VALUES (?, ?, ?, 1, ?, ?, 1, 0, 0, ?, ?)",
                              std::vector<Param>{id, std::string(f.code), std::string(f.name),
                                                 static_cast<long long>(f.receivableDays),
                                                 static_cast<long long>(f.receivableDays),
                                                 static_cast<long long>(f.automaticSettlement),
                                                 static_cast<long long>(f.countsToLimit)},
                              nullptr);
        !s)
      return s;
  }
  return {};
}

Status setUpDeliveryForms(Database& db, long long company) {
  long long n = 0;
  if (Status s = countOf(db, "SELECT COUNT(*) FROM FORMA_DOSTAWY WHERE ID_FIRMY = ? AND SYSTEMOWA = 1", {company}, &n);
      !s || n > 0)
    return s;
  for (const auto& f : kDeliveryForms) {
    long long id = 0;
    if (Status s = nextId(db, "FORMA_DOSTAWY", "ID_FORMY_DOSTAWY", &id); !s) return s;
    if (Status s = db.execute("INSERT INTO FORMA_DOSTAWY (ID_FORMY_DOSTAWY, NAZWA, TYP_DOSTAWY, ID_FIRMY, SYSTEMOWA) "
                              "VALUES (?, ?, ?, ?, 1)",
                              std::vector<Param>{id, std::string(f.name), std::string(f.kind), company}, nullptr);
        !s)
      return s;
  }
  return {};
}

Status setUpOrderStatuses(Database& db) {
  for (const auto& st : kOrderStatuses) {
    long long n = 0;
    if (Status s = countOf(db,
                           "SELECT COUNT(*) FROM VEX_SLOWNIK_STATUSOW_DOKUMENTOW WHERE TYP_DOKUMENTU = 'Z' "
                           "AND KOD_STATUSU = ?",
                           {std::string(st.code)}, &n);
        !s)
      return s;
    if (n > 0) continue;
    long long id = 0;
    if (Status s = idFor(db, "VEX_SLOWNIK_STATUSOW_DOKUMENTOW", "ID_STATUSU", st.id, &id); !s) return s;
    if (Status s = db.execute("INSERT INTO VEX_SLOWNIK_STATUSOW_DOKUMENTOW (ID_STATUSU, OPIS_STATUSU, KOD_STATUSU, "
                              "TYP_DOKUMENTU, SYSTEMOWY, AUTOMATYCZNY, AKTYWNY, ID_SZABLONU_SMS) "
                              "VALUES (?, ?, ?, 'Z', 1, ?, 1, 0)",
                              std::vector<Param>{id, std::string(st.description), std::string(st.code),
                                                 static_cast<long long>(st.automatic)},
                              nullptr);
        !s)
      return s;
  }
  return {};
}

Status companyArgument(const RoutineArgs& args, Database& db, long long* company) {
  if (Status s = args.require(1); !s) return s;
  if (Status s = args.integer(0, company); !s) return s;
  // Rows with ID_FIRMY 0 are shared by every company; nothing may be set up for "0".
  if (*company <= 0) return args.failure("nieprawidłowy identyfikator firmy " + std::to_string(*company));
  long long found = 0;
  if (Status s = countOf(db, "SELECT COUNT(*) FROM FIRMA WHERE ID_FIRMY = ?", {*company}, &found); !s) return s;
  if (found == 0) return args.failure("firma " + std::to_string(*company) + " nie istnieje");
  return {};
}

Status setUpCompany(Database& db, const std::vector<Cell>& argv, Result*) {
  RoutineArgs args("TK_InicjacjaSystemu", argv);
  long long company = 0;
  if (Status s = companyArgument(args, db, &company); !s) return s;
  for (auto part : {setUpWarehouseTypes, setUpTradeTypes, setUpFinanceTypes, setUpAdministrators,
                    setUpWarehouseAndCashDesk, setUpDeliveryForms}) {
    if (Status s = part(db, company); !s) return s;
  }
  if (Status s = setUpPaymentForms(db); !s) return s;
  if (Status s = setUpOrderStatuses(db); !s) return s;
  // Set up to be worked in with this program: connected to it.
  return db.execute("UPDATE FIRMA SET VEX = 1 WHERE ID_FIRMY = ?", std::vector<Param>{company}, nullptr);
}

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
