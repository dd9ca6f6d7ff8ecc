// TK_InicjacjaSystemu(company): what a newly inserted company needs before anybody can
// work in it. Its system document types with their numbering definitions, the group
// "Administratorzy" holding every right, a main warehouse and a main cash desk, its
// system delivery forms, and the shared system payment forms, financial operations and
// order statuses when the database lacks them; then the company is connected to this
// program (VEX). Each part is made only where the company has none yet, so running it
// again adds nothing twice.
//
// The whole set-up is one script of set-based statements: every part states its rows as
// a VALUES list and its "only where none yet" as a NOT EXISTS, and ids come from the
// same statement. Over a remote link the company's set-up costs two round trips (the
// argument check and the script) instead of one per row.
#include "framework/sql/routines/company_setup.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/sql/dialect.h"
#include "framework/sql/routines/company_routines.h"
#include "framework/sql/routines/numbering_definition.h"
#include "framework/sql/routines/routine_args.h"
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
// new databases; where that id is taken, a free one.
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

// --- building the script ---------------------------------------------------------------------

// One literal of a VALUES row: text goes through the quoting helper, numbers as they are.
struct Literal {
  std::string sql;
  Literal(const char* text) : sql(quote(text)) {}  // NOLINT: rows read best as plain lists
  Literal(long long number) : sql(std::to_string(number)) {}
  Literal(int number) : sql(std::to_string(number)) {}
};
using Row = std::vector<Literal>;

// A derived table V of the rows; its columns are column1, column2, … on both backends.
std::string valuesTable(const std::vector<Row>& rows) {
  std::string sql = "(VALUES ";
  for (std::size_t r = 0; r < rows.size(); ++r) {
    sql += r ? ", (" : "(";
    for (std::size_t i = 0; i < rows[r].size(); ++i) sql += (i ? ", " : "") + rows[r][i].sql;
    sql += ")";
  }
  return sql + ") V";
}

// A derived table B whose one column N is the first id past the table's rows and the ids
// that open forms have set aside for it.
std::string nextIdTable(const std::string& table, const std::string& column) {
  return "(SELECT MAX(N) + 1 AS N FROM (SELECT COALESCE(MAX(" + column + "), 0) AS N FROM " + table +
         " UNION ALL SELECT COALESCE(MAX(ID), 0) AS N FROM REZERWACJA_ID WHERE TABELA = " + quote(table) + ") R) B";
}

class SetUpScript {
 public:
  SetUpScript(Database& db, long long company) : db_(db), company_(std::to_string(company)) {}

  const std::string& text() const { return script_; }

  // Ids are taken under the same lock the forms take them under, to the end of the
  // transaction, so that a form saving meanwhile can't take the same one.
  void lockIds(const std::string& table) {
    std::string lock = db_.dialect().idLockStatement(table);
    if (!lock.empty()) add(lock);
  }

  void warehouseTypes() {
    std::vector<Row> rows;
    long long n = 0;
    for (const auto& t : kWarehouseTypes)
      rows.push_back({n++, t.name, t.kind, t.summing, t.signature, t.valuation, t.kindClass});
    lockIds("TYP_DOKUMENTU_MAGAZYNOWEGO");
    add("INSERT INTO TYP_DOKUMENTU_MAGAZYNOWEGO (CZY_SYSTEMOWY, FAKTURA, ID_FIRMY, ID_TYPU, NAZWA, RODZAJ, "
        "SUMOWANIE, SYGNATURA, WYCENA, KLASA_RODZAJU) SELECT 1, 0, " +
        company_ + ", B.N + V.column1, V.column2, V.column3, V.column4, V.column5, V.column6, V.column7 FROM " +
        valuesTable(rows) + " CROSS JOIN " + nextIdTable("TYP_DOKUMENTU_MAGAZYNOWEGO", "ID_TYPU") +
        " WHERE NOT EXISTS (SELECT 1 FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE ID_FIRMY = " + company_ + ")");
    // Receipts and their corrections count up apart from the issues.
    numbering(kWarehouseFamily, "TYP_DOKUMENTU_MAGAZYNOWEGO", "CASE WHEN T.KLASA_RODZAJU IN (1, 2) THEN 1 ELSE 0 END");
  }

  void tradeTypes() {
    std::vector<Row> rows;
    long long n = 0;
    for (const auto& t : kTradeTypes) rows.push_back({n++, t.name, t.signature, t.kindCode, t.summing, t.kindClass});
    lockIds("TYP_DOKUMENTU_HANDLOWEGO");
    add("INSERT INTO TYP_DOKUMENTU_HANDLOWEGO (CZY_SYSTEMOWY, ID_TYPU, ID_FIRMY, NAZWA, SYGNATURA, KOD_RODZAJU, "
        "SUMOWANIE, KLASA_RODZAJU, AKTYWNY) SELECT 1, B.N + V.column1, " +
        company_ + ", V.column2, V.column3, V.column4, V.column5, V.column6, 1 FROM " + valuesTable(rows) +
        " CROSS JOIN " + nextIdTable("TYP_DOKUMENTU_HANDLOWEGO", "ID_TYPU") +
        " WHERE NOT EXISTS (SELECT 1 FROM TYP_DOKUMENTU_HANDLOWEGO WHERE ID_FIRMY = " + company_ + ")");
    numbering(kTradeFamily, "TYP_DOKUMENTU_HANDLOWEGO", "0");
  }

  void financeTypes() {
    std::vector<Row> operations;
    for (const auto& o : kOperations) operations.push_back({o.code, o.name});
    add("INSERT INTO RODZAJ_OPERACJI_FIN (KOD_OPERACJI, NAZWA) SELECT V.column1, V.column2 FROM " +
        valuesTable(operations) + " WHERE NOT EXISTS (SELECT 1 FROM RODZAJ_OPERACJI_FIN O " +
        "WHERE O.KOD_OPERACJI = V.column1)");
    std::vector<Row> rows;
    long long n = 0;
    for (const auto& t : kFinanceTypes)
      rows.push_back({n++, t.direction, t.name, t.kind, t.signature, t.operation});
    lockIds("TYP_DOKUMENTU_FINANSOWEGO");
    add("INSERT INTO TYP_DOKUMENTU_FINANSOWEGO (ID_TYPU, ID_FIRMY, KIERUNEK, NAZWA, RODZAJ_OPERACJI, SYGNATURA, "
        "CZY_SYSTEMOWY, KOD_OPERACJI_DOM) SELECT B.N + V.column1, " +
        company_ + ", V.column2, V.column3, V.column4, V.column5, 1, V.column6 FROM " + valuesTable(rows) +
        " CROSS JOIN " + nextIdTable("TYP_DOKUMENTU_FINANSOWEGO", "ID_TYPU") +
        " WHERE NOT EXISTS (SELECT 1 FROM TYP_DOKUMENTU_FINANSOWEGO WHERE ID_FIRMY = " + company_ + ")");
    numbering(kFinanceFamily, "TYP_DOKUMENTU_FINANSOWEGO", "CASE WHEN T.KIERUNEK = 'w' THEN 1 ELSE 0 END");
  }

  // The group keeps the rights an administrator took away only as long as it keeps their
  // rows (RODZAJ_DOSTEPU 0); rights it has no row for are added.
  void administrators() {
    const std::string group = "(SELECT MIN(ID_GRUPY) FROM GRUPAUZYTKOWNIKOW WHERE ID_FIRMY = " + company_ +
                              " AND NAZWA = 'Administratorzy')";
    lockIds("GRUPAUZYTKOWNIKOW");
    add("INSERT INTO GRUPAUZYTKOWNIKOW (ID_GRUPY, ID_FIRMY, NAZWA, OPIS) SELECT B.N, " + company_ +
        ", 'Administratorzy', 'Pełne uprawnienia w firmie' FROM " + nextIdTable("GRUPAUZYTKOWNIKOW", "ID_GRUPY") +
        " WHERE " + group + " IS NULL");
    std::vector<Row> rights;
    for (const auto& right : everyRight()) rights.push_back({right.c_str()});
    add("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) SELECT G.ID_GRUPY, " + company_ +
        ", V.column1, 0, 1 FROM " + valuesTable(rights) + " CROSS JOIN GRUPAUZYTKOWNIKOW G WHERE G.ID_GRUPY = " +
        group + " AND NOT EXISTS (SELECT 1 FROM DOSTEP D WHERE D.ID_GRUPY = G.ID_GRUPY AND D.ID_FIRMY = " + company_ +
        " AND D.KOD = V.column1 AND D.ID_OBIEKTU = 0)");
  }

  void warehouseAndCashDesk() {
    lockIds("MAGAZYN");
    add("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU, REMANENT_CZASTKOWY, "
        "WSPOLNA_NUM_INDEKSOW) SELECT " +
        company_ + ", B.N, 'Magazyn główny', 'MG', 'Praca', 0, 0 FROM " + nextIdTable("MAGAZYN", "ID_MAGAZYNU") +
        " WHERE NOT EXISTS (SELECT 1 FROM MAGAZYN WHERE ID_FIRMY = " + company_ + ")");
    lockIds("KASY_FIRMY");
    add("INSERT INTO KASY_FIRMY (ID_FIRMY, ID_KASY, NAZWA, SYMBOL, RAP_WALUTOWE) SELECT " + company_ +
        ", B.N, 'Kasa główna', 'KG', 0 FROM " + nextIdTable("KASY_FIRMY", "ID_KASY") +
        " WHERE NOT EXISTS (SELECT 1 FROM KASY_FIRMY WHERE ID_FIRMY = " + company_ + ")");
  }

  void deliveryForms() {
    std::vector<Row> rows;
    long long n = 0;
    for (const auto& f : kDeliveryForms) rows.push_back({n++, f.name, f.kind});
    lockIds("FORMA_DOSTAWY");
    add("INSERT INTO FORMA_DOSTAWY (ID_FORMY_DOSTAWY, NAZWA, TYP_DOSTAWY, ID_FIRMY, SYSTEMOWA) SELECT B.N + "
        "V.column1, V.column2, V.column3, " +
        company_ + ", 1 FROM " + valuesTable(rows) + " CROSS JOIN " +
        nextIdTable("FORMA_DOSTAWY", "ID_FORMY_DOSTAWY") +
        " WHERE NOT EXISTS (SELECT 1 FROM FORMA_DOSTAWY WHERE ID_FIRMY = " + company_ + " AND SYSTEMOWA = 1)");
  }

  void paymentForms() {
    std::vector<Row> rows;
    long long n = 0;
    for (const auto& f : kPaymentForms)
      rows.push_back({f.id, n++, f.code, f.name, f.receivableDays, f.automaticSettlement, f.countsToLimit});
    lockIds("FORMA_PLATNOSCI");
    add("INSERT INTO FORMA_PLATNOSCI (ID_FORMY, KOD, NAZWA, SYSTEMOWY, DNI_NALEZNOSCI, DNI_ZOBOWIAZAN, AKTYWNA, "
        "ID_FIRMY, ID_PLATNIKA, GEN_AUTO_ROZLICZ, WLICZAJ_DO_LIMITU) SELECT " +
        sharedId("FORMA_PLATNOSCI", "ID_FORMY", maxId(kPaymentForms)) +
        ", V.column3, V.column4, 1, V.column5, V.column5, 1, 0, 0, V.column6, V.column7 FROM " + valuesTable(rows) +
        " CROSS JOIN " + nextIdTable("FORMA_PLATNOSCI", "ID_FORMY") +
        " WHERE NOT EXISTS (SELECT 1 FROM FORMA_PLATNOSCI F WHERE UPPER(F.KOD) = V.column3 AND F.SYSTEMOWY = 1)");
  }

  void orderStatuses() {
    std::vector<Row> rows;
    long long n = 0;
    for (const auto& st : kOrderStatuses) rows.push_back({st.id, n++, st.description, st.code, st.automatic});
    lockIds("VEX_SLOWNIK_STATUSOW_DOKUMENTOW");
    add("INSERT INTO VEX_SLOWNIK_STATUSOW_DOKUMENTOW (ID_STATUSU, OPIS_STATUSU, KOD_STATUSU, TYP_DOKUMENTU, "
        "SYSTEMOWY, AUTOMATYCZNY, AKTYWNY, ID_SZABLONU_SMS) SELECT " +
        sharedId("VEX_SLOWNIK_STATUSOW_DOKUMENTOW", "ID_STATUSU", maxId(kOrderStatuses)) +
        ", V.column3, V.column4, 'Z', 1, V.column5, 1, 0 FROM " + valuesTable(rows) + " CROSS JOIN " +
        nextIdTable("VEX_SLOWNIK_STATUSOW_DOKUMENTOW", "ID_STATUSU") +
        " WHERE NOT EXISTS (SELECT 1 FROM VEX_SLOWNIK_STATUSOW_DOKUMENTOW S WHERE S.TYP_DOKUMENTU = 'Z' "
        "AND S.KOD_STATUSU = V.column4)");
  }

  // Set up to be worked in with this program: connected to it.
  void connect() { add("UPDATE FIRMA SET VEX = 1 WHERE ID_FIRMY = " + company_); }

 private:
  void add(const std::string& statement) { script_ += statement + ";\n"; }

  // The numbering definitions of the company's system types of a family that lack one;
  // `receipt` is an expression over the type T.
  void numbering(long long family, const std::string& table, const std::string& receipt) {
    const std::string f = std::to_string(family);
    add("INSERT INTO NUMERACJA (ID_FIRMY, ID_MAGAZYNU, DOKUMENT, TYP_DOKUMENTU, ROK, SYGNATURA, FORMAT, NUMER, "
        "PRZYCHOD) SELECT " +
        company_ + ", 0, " + f + ", T.ID_TYPU, 0, RTRIM(T.SYGNATURA), " + quote(kDefaultNumberFormat) + ", 0, " +
        receipt + " FROM " + table + " T WHERE T.ID_FIRMY = " + company_ +
        " AND T.CZY_SYSTEMOWY = 1 AND NOT EXISTS (SELECT 1 FROM NUMERACJA N WHERE N.ID_FIRMY = " + company_ +
        " AND N.ID_MAGAZYNU = 0 AND N.DOKUMENT = " + f + " AND N.TYP_DOKUMENTU = T.ID_TYPU AND N.ROK = 0)");
  }

  template <typename Rows>
  static long long maxId(const Rows& rows) {
    long long m = 0;
    for (const auto& r : rows) m = std::max(m, r.id);
    return m;
  }

  // A shared row keeps the id it has always had (V.column1) where that is free; else it
  // takes one past both the table's ids and all the usual ones (V.column2 numbers the
  // rows), so that two rows of one statement never meet.
  static std::string sharedId(const std::string& table, const std::string& column, long long usualMax) {
    const std::string past = std::to_string(usualMax + 1);
    return "CASE WHEN NOT EXISTS (SELECT 1 FROM " + table + " X WHERE X." + column +
           " = V.column1) THEN V.column1 ELSE (CASE WHEN B.N > " + past + " THEN B.N ELSE " + past +
           " END) + V.column2 END";
  }

  Database& db_;
  std::string company_;
  std::string script_;
};

Status countOf(Database& db, const std::string& sql, const std::vector<Param>& params, long long* out) {
  Result r;
  if (Status s = db.execute(sql, params, &r); !s) return s;
  *out = r.empty() || r.scalar().empty() ? 0 : std::stoll(r.scalar());
  return {};
}

}  // namespace

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
  SetUpScript script(db, company);
  script.warehouseTypes();
  script.tradeTypes();
  script.financeTypes();
  script.administrators();
  script.warehouseAndCashDesk();
  script.deliveryForms();
  script.paymentForms();
  script.orderStatuses();
  script.connect();
  if (Status s = db.executeScript(script.text()); !s) return args.failure(s.message());
  return {};
}

}  // namespace slownik::sql
