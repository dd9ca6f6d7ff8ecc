// The trade and financial document types played through the headless front-end.
#include "dictionaries/documents/finance_doc_type_list.h"
#include "dictionaries/documents/trade_doc_type_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/services/numbering_formats.h"

namespace slownik::documents {
namespace {

constexpr const char* kTradeTitle = "Typy dokumentów handlowych";
constexpr const char* kFinanceTitle = "Typy dokumentów finansowych";
constexpr const char* kChangeTitle = "Edycja typu dokumentu";

class DocTypeWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Beside the demo's system types: an inactive type, a user's "FN" type of the
    // delivered ones, and a financial type of the cash kind the form does not offer.
    exec("INSERT INTO TYP_DOKUMENTU_HANDLOWEGO (CZY_SYSTEMOWY, ID_TYPU, ID_FIRMY, NAZWA, SYGNATURA, KOD_RODZAJU, "
         "SUMOWANIE, KLASA_RODZAJU, AKTYWNY) VALUES (0, 20, 1, 'Faktura do paragonu', 'FN', 'z', 'Netto', 3, 1), "
         "(0, 21, 1, 'Nota', 'N', 'ks', 'Netto', 2, 0), (0, 22, 7, 'Innej firmy', 'FX', 's', 'Netto', 1, 1)");
    exec("INSERT INTO TYP_DOKUMENTU_FINANSOWEGO (ID_TYPU, ID_FIRMY, KIERUNEK, NAZWA, RODZAJ_OPERACJI, SYGNATURA, "
         "CZY_SYSTEMOWY, KOD_OPERACJI_DOM) VALUES (20, 1, 'w', 'Gotówka przyjęta', 'g', 'GP', 0, 'WPL')");
    for (const char* call : {"call RM_DodajDefinicjeNumeracji(1,20,'FN',4,0)", "call RM_DodajDefinicjeNumeracji(1,20,'GP',3,0)",
                             "call RM_DodajDefinicjeNumeracji(1,20,'PZX',1,1)"})
      ASSERT_TRUE(db().run(call).isOk()) << call;
    data::glo().DOKHANDL_DRZEWKO_LOADED = 1;
  }

  std::shared_ptr<rt::Window> openTrade(std::string filter = {}, int request = data::kNoRequest) {
    start([filter, request] {
      data::GLOBALREQUEST() = static_cast<unsigned char>(request);
      TYP_DOKUMENTU_HANDLOWEGO_BRW(filter.c_str());
    });
    return window(kTradeTitle);
  }
  std::shared_ptr<rt::Window> openFinance() {
    start([] { TYP_DOKUMENTU_FINANSOWEGO_BRW(); });
    return window(kFinanceTitle);
  }
  //! The list-buffer position of column `column` (1-based) of the list's format.
  static std::size_t fieldOf(const std::shared_ptr<rt::Window>& w, std::size_t column, bool icon = false) {
    auto format = rt::ListFormat::parse(w->control("?LIST")->format);
    if (!format || column > format->columns.size()) return 999;
    const auto& c = format->columns[column - 1];
    return static_cast<std::size_t>((icon ? c.iconField : c.field) - 1);
  }
  static std::string cell(const std::shared_ptr<rt::Window>& w, int row, std::size_t column, bool icon = false) {
    auto values = test::WindowFixture::column(w, fieldOf(w, column, icon));
    return row > 0 && static_cast<std::size_t>(row) <= values.size() ? values[static_cast<std::size_t>(row - 1)] : "?";
  }
  std::shared_ptr<rt::Window> openRow(const std::shared_ptr<rt::Window>& w, std::size_t nameColumn,
                                      const std::string& name, const std::string& title = kChangeTitle) {
    int row = rowOf(w, fieldOf(w, nameColumn), name);
    EXPECT_GT(row, 0) << name << " is not listed";
    if (row == 0 || !fe().clickRow(w, "?LIST", row) || !fe().press(w, rt::key::F2)) return nullptr;
    return window(title);
  }
  bool save(const std::shared_ptr<rt::Window>& f) { return fe().click(f, "?OK") && fe().waitForClose(f); }
  void asUserWith(std::initializer_list<const char*> rights) {
    for (const char* right : rights) grant(right);
    asUser(sql::demo::kUserId);
  }
  std::string trade(const std::string& column, int id) {
    return scalar("SELECT " + column + " FROM TYP_DOKUMENTU_HANDLOWEGO WHERE ID_TYPU = " + std::to_string(id));
  }
  std::string finance(const std::string& column, int id) {
    return scalar("SELECT " + column + " FROM TYP_DOKUMENTU_FINANSOWEGO WHERE ID_TYPU = " + std::to_string(id));
  }
};

TEST_P(DocTypeWindows, TradeListShowsTheCompanysTypesAndNeitherAddsNorDeletes) {
  auto w = openTrade();
  ASSERT_TRUE(w);
  EXPECT_EQ(rows(w).size(), 8u) << "the six delivered types and the company's two";
  EXPECT_EQ(rowOf(w, fieldOf(w, 3), "Innej firmy"), 0);
  int system = rowOf(w, fieldOf(w, 3), "Paragon");
  int inactive = rowOf(w, fieldOf(w, 3), "Nota");
  ASSERT_GT(system, 0);
  ASSERT_GT(inactive, 0);
  EXPECT_EQ(cell(w, system, 1, true), "1");
  EXPECT_EQ(cell(w, system, 2, true), "1");
  EXPECT_EQ(cell(w, inactive, 1, true), "0");
  EXPECT_EQ(cell(w, inactive, 2, true), "0") << "an inactive type is listed with an empty A";
  EXPECT_EQ(cell(w, system, 5), "Brutto");
  EXPECT_FALSE(w->control("?INSERT")->enabled);
  EXPECT_FALSE(w->control("?DELETE")->enabled);
  EXPECT_TRUE(w->control("?CHANGE")->enabled);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(DocTypeWindows, TradePickerOffersActiveTypesOnlyAndChangesNothing) {
  auto w = openTrade({}, data::kSelectRecord);
  ASSERT_TRUE(w);
  EXPECT_EQ(rows(w).size(), 7u);
  EXPECT_EQ(rowOf(w, fieldOf(w, 3), "Nota"), 0);
  EXPECT_FALSE(w->control("?CHANGE")->enabled);
  int row = rowOf(w, fieldOf(w, 3), "Faktura do paragonu");
  ASSERT_GT(row, 0);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", row));
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(w));
  join();
}

TEST_P(DocTypeWindows, TradeListNeedsItsRightFromTheMenu) {
  exec("DELETE FROM DOSTEP WHERE ID_GRUPY = " + std::to_string(sql::demo::kUserGroupId) + " AND KOD LIKE '%TypDokHandl'");
  asUserWith({});
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do typów dokumentów handlowych!");
  start([] { TYP_DOKUMENTU_HANDLOWEGO_BRW(""); });
  join();
  ASSERT_EQ(fe().messages().size(), 1u) << "the warning, and no window";
}

TEST_P(DocTypeWindows, ACallersConditionNeedsNoRightButTheFormAsksItsOwn) {
  exec("DELETE FROM DOSTEP WHERE ID_GRUPY = " + std::to_string(sql::demo::kUserGroupId) + " AND KOD LIKE '%TypDokHandl'");
  asUserWith({});
  auto w = openTrade("KOD_RODZAJU='ks'");
  ASSERT_TRUE(w);
  EXPECT_EQ(rows(w).size(), 2u);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na oglądanie typów dokumentów handlowych!");
  int row = rowOf(w, fieldOf(w, 3), "Nota");
  ASSERT_TRUE(fe().clickRow(w, "?LIST", row));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(DocTypeWindows, WithoutTheEditRightOnlyTheActiveFlagStaysOpen) {
  asUserWith({});  // the sellers may look at trade types, not edit them
  auto w = openTrade();
  ASSERT_TRUE(w);
  auto f = openRow(w, 3, "Faktura do paragonu");
  ASSERT_TRUE(f);
  for (const char* locked : {"?TYPDH:NAZWA", "?TYPDOK", "?TYPDH:SYGNATURA", "?TYPDH:SUMOWANIE", "?OK"})
    EXPECT_FALSE(f->control(locked)->enabled) << locked;
  EXPECT_TRUE(f->control("?TYPDH:AKTYWNY")->enabled);
  EXPECT_TRUE(f->control("?CANCEL")->enabled);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(DocTypeWindows, TradeFormFollowsTheSignatureAndTheSystemFlag) {
  auto w = openTrade();
  ASSERT_TRUE(w);
  {
    auto f = openRow(w, 3, "Rachunek");  // system "PR"
    ASSERT_TRUE(f);
    for (const char* locked : {"?TYPDH:NAZWA", "?TYPDH:SYGNATURA", "?TYPDOK"})
      EXPECT_FALSE(f->control(locked)->enabled) << locked;
    EXPECT_EQ(f->value("?TYPDOK"), "sprzedaż");
    EXPECT_EQ(f->value("?TYPDH:SUMOWANIE"), "Brutto");
    EXPECT_FALSE(f->control("?TYPDH:SUMOWANIE")->enabled) << "PR sums gross only";
    ASSERT_TRUE(fe().click(f, "?CANCEL"));
    ASSERT_TRUE(fe().waitForClose(f));
  }
  {
    auto f = openRow(w, 3, "Korekta faktury sprzedaży");  // "FVk"
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->control("?TYPDH:SUMOWANIE")->hidden);
    EXPECT_TRUE(f->control("?TYPDH:SUMOWANIE:PROMPT")->hidden);
    EXPECT_EQ(f->value("?TYPDOK"), "korekta sprzedaży");
    ASSERT_TRUE(fe().click(f, "?CANCEL"));
    ASSERT_TRUE(fe().waitForClose(f));
  }
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(DocTypeWindows, TradeKindSetsItsClassByTheSignatureOfTheMoment) {
  auto w = openTrade();
  ASSERT_TRUE(w);
  auto f = openRow(w, 3, "Faktura do paragonu");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?TYPDOK"), "zakup");
  ASSERT_TRUE(fe().choose(f, "?TYPDOK", "sprzedaż"));
  // A signature changed after the kind was chosen keeps the class it gave.
  ASSERT_TRUE(fe().type(f, "?TYPDH:SYGNATURA", "FNx"));
  ASSERT_TRUE(fe().type(f, "?TYPDH:NAZWA", "Faktura 'do' paragonu"));
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(trade("KOD_RODZAJU", 20), "s");
  EXPECT_EQ(trade("KLASA_RODZAJU", 20), "101");
  EXPECT_EQ(trade("NAZWA", 20), "Faktura 'do' paragonu");
  EXPECT_EQ(data::glo().DOKHANDL_DRZEWKO_LOADED.get(), 0) << "the host rebuilds its tree";
  EXPECT_EQ(scalar("SELECT SYGNATURA FROM NUMERACJA WHERE DOKUMENT = 4 AND TYP_DOKUMENTU = 20"), "FNx")
      << "the type numbers its documents with its new signature";
  EXPECT_EQ(scalar("SELECT SYGNATURA FROM NUMERACJA WHERE DOKUMENT = 1 AND TYP_DOKUMENTU = 20"), "PZX")
      << "another family's type of the same id keeps its own";

  f = openRow(w, 3, "Faktura 'do' paragonu");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().choose(f, "?TYPDOK", "korekta zakupu"));
  ASSERT_TRUE(fe().choose(f, "?TYPDOK", "sprzedaż"));
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(trade("KLASA_RODZAJU", 20), "1") << "only the signature FN gives 101";
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  auto format = svc::numberingFormat(4, 20);
  ASSERT_TRUE(format) << "closing after a change read the numbering formats again";
  EXPECT_EQ(format->signature, "FNx");
}

TEST_P(DocTypeWindows, AnUnchangedTradeTypeLeavesTheHostsTree) {
  auto w = openTrade();
  ASSERT_TRUE(w);
  auto f = openRow(w, 3, "Paragon");
  ASSERT_TRUE(f);
  ASSERT_TRUE(save(f));
  EXPECT_EQ(data::glo().DOKHANDL_DRZEWKO_LOADED.get(), 1);
  f = openRow(w, 3, "Paragon");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?TYPDH:AKTYWNY"));
  ASSERT_TRUE(save(f));
  EXPECT_EQ(trade("AKTYWNY", 2), "0");
  EXPECT_EQ(data::glo().DOKHANDL_DRZEWKO_LOADED.get(), 0);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(DocTypeWindows, FinanceListShowsKindsAndDirectionsAsText) {
  auto w = openFinance();
  ASSERT_TRUE(w);
  EXPECT_EQ(rows(w).size(), 6u);
  int cash = rowOf(w, fieldOf(w, 2), "Gotówka przyjęta");
  int bank = rowOf(w, fieldOf(w, 2), "Przelew z rachunku bankowego");
  ASSERT_GT(cash, 0);
  ASSERT_GT(bank, 0);
  EXPECT_EQ(cell(w, cash, 4), "gotówkowa");
  EXPECT_EQ(cell(w, cash, 5), "wpływ");
  EXPECT_EQ(cell(w, bank, 4), "bankowa");
  EXPECT_EQ(cell(w, bank, 5), "wypływ");
  EXPECT_EQ(cell(w, bank, 6), "WYP");
  EXPECT_EQ(cell(w, bank, 1, true), "1");
  EXPECT_EQ(cell(w, cash, 1, true), "0");
  EXPECT_FALSE(w->control("?INSERT")->enabled);
  EXPECT_FALSE(w->control("?DELETE")->enabled);
  // The texts are bound under names a header sort can use.
  ASSERT_TRUE(fe().clickHeader(w, "?LIST", 4));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(cell(w, 1, 4), "bankowa");
  EXPECT_EQ(cell(w, 6, 4), "kompensata");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(DocTypeWindows, FinanceRightsAreAskedOnEveryOpeningAndBeforeTheForm) {
  asUserWith({});
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do typów dokumentów finansowych!");
  start([] { TYP_DOKUMENTU_FINANSOWEGO_BRW(); });
  join();
  grant("TypDokFin");
  auto w = openFinance();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na oglądanie typów dokumentów finansowych!");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(fe().messages().size(), 2u);
  EXPECT_EQ(fe().messages()[1].title, "TRAMEL: Ostrzeżenie") << "a plain box, not the shared warning";
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(DocTypeWindows, FinanceFormKeepsAnUnofferedKindAndPicksTheDefaultOperation) {
  auto w = openFinance();
  ASSERT_TRUE(w);
  auto f = openRow(w, 2, "Gotówka przyjęta");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?RODZAJ"), "") << "the form does not offer the cash kind";
  EXPECT_EQ(f->value("?KIERUNEK"), "wpływ");
  ASSERT_TRUE(fe().choose(f, "?KIERUNEK", "wypływ"));
  ASSERT_TRUE(fe().click(f, "?KODB"));
  auto picker = window("Operacje finansowe");
  ASSERT_TRUE(picker);
  int row = rowOf(picker, 0, "PROW");
  ASSERT_GT(row, 0);
  ASSERT_TRUE(fe().clickRow(picker, "?LIST", row));
  ASSERT_TRUE(fe().press(picker, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(picker));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->value("?TYPDF:KOD_OPERACJI_DOM"), "PROW");
  ASSERT_TRUE(fe().type(f, "?TYPDF:SYGNATURA", "GP2"));
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(finance("RODZAJ_OPERACJI", 20), "g");
  EXPECT_EQ(finance("KIERUNEK", 20), "y");
  EXPECT_EQ(finance("KOD_OPERACJI_DOM", 20), "PROW");
  EXPECT_EQ(scalar("SELECT SYGNATURA FROM NUMERACJA WHERE DOKUMENT = 3 AND TYP_DOKUMENTU = 20"), "GP2");

  f = openRow(w, 2, "Gotówka przyjęta");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().choose(f, "?RODZAJ", "bankowa"));
  // A picker left without a choice keeps the operation.
  ASSERT_TRUE(fe().click(f, "?KODB"));
  picker = window("Operacje finansowe");
  ASSERT_TRUE(picker);
  ASSERT_TRUE(fe().press(picker, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(picker));
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(finance("RODZAJ_OPERACJI", 20), "b");
  EXPECT_EQ(finance("KOD_OPERACJI_DOM", 20), "PROW");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

SLOWNIK_ON_ALL_BACKENDS(DocTypeWindows);

}  // namespace
}  // namespace slownik::documents
