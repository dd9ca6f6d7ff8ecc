// The warehouse document types played through the headless front-end.
#include "dictionaries/documents/warehouse_doc_type_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/services/numbering_formats.h"
#include "framework/services/open_windows.h"

namespace slownik::documents {
namespace {

constexpr const char* kTitle = "Typy dokumentów magazynowych";
constexpr const char* kInsertTitle = "Dodawanie typu dokumentu";
constexpr const char* kChangeTitle = "Edycja typu dokumentu";

class WarehouseDocTypeWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // A type the user added, besides the demo's system types (ids 1-11).
    exec("INSERT INTO TYP_DOKUMENTU_MAGAZYNOWEGO (CZY_SYSTEMOWY, FAKTURA, ID_FIRMY, ID_TYPU, NAZWA, RODZAJ, SUMOWANIE, "
         "SYGNATURA, WYCENA, KLASA_RODZAJU) VALUES (0, 0, 1, 20, 'Własny przychód', 'Przychód', 'Netto', 'WLA', "
         "'Zakupu', 1), (0, 0, 7, 21, 'Innej firmy', 'Przychód', 'Netto', 'INF', 'Zakupu', 1)");
    data::glo().DOKMAG_DRZEWKO_LOADED = 1;
    // The cases count numbering definitions from none: the demo company's own, made when
    // it was set up, are not what they look at.
    exec("DELETE FROM NUMERACJA");
  }

  std::shared_ptr<rt::Window> openList(std::string filter = {}) {
    start([filter] { TYP_DOKUMENTU_MAGAZYNOWEGO_BRW(filter.c_str()); });
    return window(kTitle);
  }
  //! The list-buffer position of column `column` (1-based) of the list's format.
  static std::size_t fieldOf(const std::shared_ptr<rt::Window>& w, std::size_t column, bool icon = false) {
    auto format = rt::ListFormat::parse(w->control("?LIST")->format);
    if (!format || column > format->columns.size()) return 999;
    const auto& c = format->columns[column - 1];
    return static_cast<std::size_t>((icon ? c.iconField : c.field) - 1);
  }
  static std::vector<std::string> names(const std::shared_ptr<rt::Window>& w) { return column(w, fieldOf(w, 2)); }
  //! Opens the form of the row named `name` with `key`.
  std::shared_ptr<rt::Window> openRow(const std::shared_ptr<rt::Window>& w, const std::string& name, int key,
                                      const std::string& title) {
    int row = rowOf(w, fieldOf(w, 2), name);
    EXPECT_GT(row, 0) << name << " is not listed";
    if (row == 0 || !fe().clickRow(w, "?LIST", row) || !fe().press(w, key)) return nullptr;
    return window(title);
  }
  bool save(const std::shared_ptr<rt::Window>& f) { return fe().click(f, "?OK") && fe().waitForClose(f); }
  void asUserWith(std::initializer_list<const char*> rights) {
    for (const char* right : rights) grant(right);
    asUser(sql::demo::kUserId);
  }
  std::string typeCount() { return scalar("SELECT COUNT(*) FROM TYP_DOKUMENTU_MAGAZYNOWEGO"); }
};

TEST_P(WarehouseDocTypeWindows, ListsTheCompanysTypesWithoutOrderTypesSystemOnesMarked) {
  auto w = openList();
  ASSERT_TRUE(w);
  std::vector<std::string> listed = names(w);
  EXPECT_EQ(listed.size(), 10u) << "nine system types and the user's own";
  for (const char* hidden : {"Zamówienie od odbiorcy", "Zlecenie produkcyjne", "Innej firmy"})
    EXPECT_EQ(rowOf(w, fieldOf(w, 2), hidden), 0) << hidden;
  std::vector<std::string> icons = column(w, fieldOf(w, 1, true));
  int own = rowOf(w, fieldOf(w, 2), "Własny przychód");
  int system = rowOf(w, fieldOf(w, 2), "Wydanie zewnętrzne");
  ASSERT_GT(own, 0);
  ASSERT_GT(system, 0);
  EXPECT_EQ(icons[static_cast<std::size_t>(own - 1)], "0");
  EXPECT_EQ(icons[static_cast<std::size_t>(system - 1)], "1");
  EXPECT_EQ(column(w, fieldOf(w, 1))[static_cast<std::size_t>(own - 1)], "") << "the column shows its icon alone";
}

TEST_P(WarehouseDocTypeWindows, ACallersFilterNarrowsTheListAndNeedsNoRight) {
  asUserWith({});
  auto w = openList("RODZAJ='Rozchód'");
  ASSERT_TRUE(w);
  EXPECT_EQ(names(w), (std::vector<std::string>{"Rozchód wewnętrzny", "Wydanie zewnętrzne"}));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  // The list's own condition still holds: order types stay out.
  w = openList("RODZAJ='Zamówienie'");
  ASSERT_TRUE(w);
  EXPECT_TRUE(rows(w).empty());
  EXPECT_TRUE(fe().messages().empty());
}

TEST_P(WarehouseDocTypeWindows, RightsGuardTheListEachActionAndTheEdit) {
  asUserWith({});
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do typów dokumentów magazynowych!");
  start([] { TYP_DOKUMENTU_MAGAZYNOWEGO_BRW(""); });
  join();
  ASSERT_EQ(fe().messages().size(), 1u);
  EXPECT_EQ(fe().messages()[0].title, "Ostrzeżenie");

  asUserWith({"TypDokMag"});
  auto w = openList();
  ASSERT_TRUE(w);
  const std::pair<int, const char*> refusals[] = {
      {rt::key::Ins, "Brak uprawnień na dodawanie typów dokumentów magazynowych!"},
      {rt::key::F2, "Brak uprawnień na oglądanie typów dokumentów magazynowych!"},
      {rt::key::Del, "Brak uprawnień na usuwanie typów dokumentów magazynowych!"},
  };
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, fieldOf(w, 2), "Własny przychód")));
  for (const auto& [key, message] : refusals) {
    fe().expectMessage(rt::button::Ok, message);
    ASSERT_TRUE(fe().press(w, key));
    ASSERT_TRUE(fe().settle(w));
  }
  EXPECT_EQ(fe().messages().size(), 4u);
  EXPECT_EQ(typeCount(), "13");

  // May open a type but not edit it: only the name and the invoice box stay open.
  grant("OTypDokMag");
  auto f = openRow(w, "Własny przychód", rt::key::F2, kChangeTitle);
  ASSERT_TRUE(f);
  for (const char* locked : {"?TYPDMAG:WYCENA", "?TYPDMAG:SUMOWANIE", "?TYPDMAG:RODZAJ", "?TYPDMAG:SYGNATURA", "?OK"})
    EXPECT_FALSE(f->control(locked)->enabled) << locked;
  EXPECT_TRUE(f->control("?TYPDMAG:NAZWA")->enabled);
  EXPECT_TRUE(f->control("?TYPDMAG:FAKTURA")->enabled);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
}

TEST_P(WarehouseDocTypeWindows, ANewTypeIsAReceiptOrIssueWrittenWithItsNumberingOnce) {
  svc::openWindowList().add("TypDokMag");
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window(kInsertTitle);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->control("?TYPDMAG:RODZAJ")->items, (std::vector<std::string>{"Przychód", "Rozchód"}));
  EXPECT_EQ(f->control("?TYPDMAG:RODZAJ")->value, "Przychód");
  EXPECT_EQ(f->control("?TYPDMAG:WYCENA")->value, "Zakupu");
  EXPECT_FALSE(f->control("?TYPDMAG:WYCENA")->enabled);
  EXPECT_TRUE(f->control("?TYPDMAG:SUMOWANIE")->enabled);
  EXPECT_TRUE(f->control("?TYPDMAG:NAZWA")->value.empty());

  ASSERT_TRUE(fe().type(f, "?TYPDMAG:NAZWA", "Przyjęcie 'pod kontrolą'"));
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:SYGNATURA", "P'K"));
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  const std::string id = scalar("SELECT ID_TYPU FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE NAZWA = 'Przyjęcie ''pod kontrolą'''");
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(scalar("SELECT RODZAJ || '|' || WYCENA || '|' || KLASA_RODZAJU || '|' || CZY_SYSTEMOWY || '|' || ID_FIRMY "
                   "|| '|' || SYGNATURA FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE ID_TYPU = " + id),
            "Przychód|Zakupu|1|0|1|P'K");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM NUMERACJA"), "1") << "one definition, for the new type only";
  EXPECT_EQ(scalar("SELECT SYGNATURA || '|' || DOKUMENT || '|' || PRZYCHOD FROM NUMERACJA WHERE TYP_DOKUMENTU = " + id),
            "P'K|1|1");
  EXPECT_EQ(data::glo().DOKMAG_DRZEWKO_LOADED.get(), 0) << "the host's tree is built again";
  EXPECT_GT(rowOf(w, fieldOf(w, 2), "Przyjęcie 'pod kontrolą'"), 0);

  // An issue type: no receipt flag in its numbering.
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  f = window(kInsertTitle);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:NAZWA", "Wydanie próbek"));
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:SYGNATURA", "WP"));
  ASSERT_TRUE(fe().choose(f, "?TYPDMAG:RODZAJ", "Rozchód"));
  ASSERT_TRUE(save(f));
  EXPECT_EQ(scalar("SELECT KLASA_RODZAJU FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE NAZWA = 'Wydanie próbek'"), "3");
  EXPECT_EQ(scalar("SELECT N.PRZYCHOD FROM NUMERACJA N, TYP_DOKUMENTU_MAGAZYNOWEGO T WHERE N.TYP_DOKUMENTU = T.ID_TYPU "
                   "AND T.NAZWA = 'Wydanie próbek'"),
            "0");

  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  auto format = svc::numberingFormat(1, std::stoll(id));
  ASSERT_TRUE(format) << "closing after a change reloads the numbering formats";
  EXPECT_EQ(format->signature, "P'K");
  EXPECT_FALSE(svc::openWindowList().contains("TypDokMag"));
}

TEST_P(WarehouseDocTypeWindows, ATypeWhoseNumberingCannotBeMadeIsNotWritten) {
  exec("DROP TABLE NUMERACJA");
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window(kInsertTitle);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:NAZWA", "Bez numeracji"));
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:SYGNATURA", "BN"));
  fe().expectMessage(rt::button::Ok, "Nie udało się utworzyć numeracji typu dokumentu! Powód: ");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed()) << "the form stays open with what the user typed";
  EXPECT_EQ(typeCount(), "13");
  EXPECT_EQ(data::glo().DOKMAG_DRZEWKO_LOADED.get(), 1);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
}

TEST_P(WarehouseDocTypeWindows, NameAndSignatureAreRequiredAndSignaturesUniqueInTheCompany) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window(kInsertTitle);
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Nazwa nie może być pusta. Proszę wprowadzić nazwę!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?TYPDMAG:NAZWA");
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:NAZWA", "Nowy typ"));
  fe().expectMessage(rt::button::Ok, "Sygnatura nie może być pusta. Proszę wprowadzić sygnaturę!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?TYPDMAG:SYGNATURA");
  // An order type's signature, one stored blank-padded, and the user's own type's.
  for (const char* taken : {"ZAM", "PZ", "WLA"}) {
    ASSERT_TRUE(fe().type(f, "?TYPDMAG:SYGNATURA", taken));
    fe().expectMessage(rt::button::Ok, "Sygnatura musi być unikalna!");
    ASSERT_TRUE(fe().click(f, "?OK"));
    ASSERT_TRUE(fe().settle(f));
    EXPECT_EQ(f->focus(), "?TYPDMAG:SYGNATURA") << taken;
  }
  EXPECT_EQ(typeCount(), "13");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM NUMERACJA"), "0");
  // Another company's signature is free.
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:SYGNATURA", "INF"));
  ASSERT_TRUE(save(f));
  EXPECT_EQ(typeCount(), "14");

  // The type's own signature does not count against it; saving what was read changes
  // nothing the host's tree shows.
  data::glo().DOKMAG_DRZEWKO_LOADED = 1;
  ASSERT_TRUE(fe().settle(w));
  f = openRow(w, "Własny przychód", rt::key::F2, kChangeTitle);
  ASSERT_TRUE(f);
  ASSERT_TRUE(save(f));
  EXPECT_EQ(data::glo().DOKMAG_DRZEWKO_LOADED.get(), 1);
  ASSERT_TRUE(fe().settle(w));
  f = openRow(w, "Własny przychód", rt::key::F2, kChangeTitle);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:NAZWA", "Własny przychód O'Briena"));
  ASSERT_TRUE(save(f));
  EXPECT_EQ(scalar("SELECT SYGNATURA FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE NAZWA = 'Własny przychód O''Briena'"), "WLA");
  EXPECT_EQ(data::glo().DOKMAG_DRZEWKO_LOADED.get(), 0);
}

TEST_P(WarehouseDocTypeWindows, AnIssueValuedAtPurchasePricesCannotBeLinkedToAnInvoice) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window(kInsertTitle);
  ASSERT_TRUE(f);
  auto invoice = [&] { return f->control("?TYPDMAG:FAKTURA"); };
  ASSERT_TRUE(fe().choose(f, "?TYPDMAG:RODZAJ", "Rozchód"));
  EXPECT_TRUE(f->control("?TYPDMAG:WYCENA")->enabled);
  EXPECT_FALSE(invoice()->enabled);
  ASSERT_TRUE(fe().choose(f, "?TYPDMAG:WYCENA", "Sprzedaży"));
  EXPECT_TRUE(invoice()->enabled);
  ASSERT_TRUE(fe().click(f, "?TYPDMAG:FAKTURA"));
  EXPECT_EQ(invoice()->value, "1");
  ASSERT_TRUE(fe().choose(f, "?TYPDMAG:WYCENA", "Zakupu"));
  EXPECT_FALSE(invoice()->enabled);
  EXPECT_EQ(invoice()->value, "0") << "switching the box off clears it";
  // Back to a receipt: valued at purchase prices, the box open again.
  ASSERT_TRUE(fe().choose(f, "?TYPDMAG:WYCENA", "Sprzedaży"));
  ASSERT_TRUE(fe().choose(f, "?TYPDMAG:RODZAJ", "Przychód"));
  EXPECT_EQ(f->control("?TYPDMAG:WYCENA")->value, "Zakupu");
  EXPECT_FALSE(f->control("?TYPDMAG:WYCENA")->enabled);
  EXPECT_TRUE(invoice()->enabled);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));

  // A stored type that breaks the rule is stopped at the save, on its valuation.
  exec("UPDATE TYP_DOKUMENTU_MAGAZYNOWEGO SET FAKTURA = 1 WHERE ID_TYPU = 4");  // RW: issue at purchase prices
  f = openRow(w, "Rozchód wewnętrzny", rt::key::F2, kChangeTitle);
  ASSERT_TRUE(f);
  EXPECT_FALSE(invoice()->enabled);
  fe().expectMessage(rt::button::Ok, "Typ dokumentu wyceniany w cenach zakupu nie może być powiązany z fakturą!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?TYPDMAG:WYCENA");
  ASSERT_TRUE(fe().choose(f, "?TYPDMAG:WYCENA", "Sprzedaży"));
  ASSERT_TRUE(save(f));
  EXPECT_EQ(scalar("SELECT WYCENA || '|' || FAKTURA FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE ID_TYPU = 4"), "Sprzedaży|1");
}

TEST_P(WarehouseDocTypeWindows, SystemTypesKeepNameSignatureAndKindAndCannotBeDeleted) {
  auto w = openList();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Nie można usunąć systemowego typu dokumentu!");
  int stocktaking = rowOf(w, fieldOf(w, 2), "Inwentaryzacja");
  ASSERT_TRUE(fe().clickRow(w, "?LIST", stocktaking));
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(typeCount(), "13");

  auto f = openRow(w, "Inwentaryzacja", rt::key::F2, kChangeTitle);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->control("?TYPDMAG:RODZAJ")->items.size(), 12u);
  for (const char* locked : {"?TYPDMAG:NAZWA", "?TYPDMAG:RODZAJ", "?TYPDMAG:SYGNATURA", "?TYPDMAG:WYCENA",
                             "?TYPDMAG:SUMOWANIE"})
    EXPECT_FALSE(f->control(locked)->enabled) << locked;
  EXPECT_TRUE(f->control("?TYPDMAG:FAKTURA")->enabled) << "a stocktaking may be linked to an invoice";
  EXPECT_TRUE(f->control("?OK")->enabled);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));

  // Saving sets the class from the kind, except for the kinds that have none.
  exec("UPDATE TYP_DOKUMENTU_MAGAZYNOWEGO SET RODZAJ = 'Korekta ZU', KLASA_RODZAJU = 7 WHERE ID_TYPU = 8");
  exec("UPDATE TYP_DOKUMENTU_MAGAZYNOWEGO SET KLASA_RODZAJU = 9 WHERE ID_TYPU = 4");
  for (const char* name : {"Korekta wydania zewnętrznego", "Rozchód wewnętrzny"}) {
    ASSERT_TRUE(fe().settle(w));
    f = openRow(w, name, rt::key::F2, kChangeTitle);
    ASSERT_TRUE(f);
    ASSERT_TRUE(save(f));
  }
  EXPECT_EQ(scalar("SELECT KLASA_RODZAJU FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE ID_TYPU = 8"), "7");
  EXPECT_EQ(scalar("SELECT KLASA_RODZAJU FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE ID_TYPU = 4"), "3");
}

TEST_P(WarehouseDocTypeWindows, DeletingAUsersTypeDropsItsNumbering) {
  exec("INSERT INTO NUMERACJA (ID_FIRMY, ID_MAGAZYNU, DOKUMENT, TYP_DOKUMENTU, ROK, SYGNATURA, FORMAT, NUMER, PRZYCHOD) "
       "VALUES (1, 0, 1, 20, 0, 'WLA', 'f', 3, 1), (1, 0, 4, 20, 0, 'FV', 'f', 3, 0)");
  auto w = openList();
  ASSERT_TRUE(w);
  auto f = openRow(w, "Własny przychód", rt::key::Del, "Aktualizacja rekordu");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(typeCount(), "12");
  EXPECT_EQ(rowOf(w, fieldOf(w, 2), "Własny przychód"), 0);
  EXPECT_EQ(scalar("SELECT DOKUMENT FROM NUMERACJA"), "4") << "only the warehouse definition goes";
  EXPECT_EQ(data::glo().DOKMAG_DRZEWKO_LOADED.get(), 0);
}

TEST_P(WarehouseDocTypeWindows, ClosingWithoutAChangeDoesNotReloadTheNumberingFormats) {
  svc::LADUJFORMATYNUMERACJI();
  exec("INSERT INTO NUMERACJA (ID_FIRMY, ID_MAGAZYNU, DOKUMENT, TYP_DOKUMENTU, ROK, SYGNATURA, FORMAT, NUMER, PRZYCHOD) "
       "VALUES (1, 0, 1, 2, 0, 'WZ', 'f', 0, 0)");
  auto w = openList();
  ASSERT_TRUE(w);
  auto f = openRow(w, "Wydanie zewnętrzne", rt::key::F2, kChangeTitle);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_FALSE(svc::numberingFormat(1, 2)) << "a cancelled form changed nothing";

  w = openList();
  ASSERT_TRUE(w);
  f = openRow(w, "Wydanie zewnętrzne", rt::key::F2, kChangeTitle);
  ASSERT_TRUE(f);
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_TRUE(svc::numberingFormat(1, 2));
}

SLOWNIK_ON_ALL_BACKENDS(WarehouseDocTypeWindows);

}  // namespace
}  // namespace slownik::documents
