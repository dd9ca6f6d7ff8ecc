// Order types, order statuses and the history of status changes played through the
// headless front-end.
#include <cstdio>
#include <fstream>

#include "dictionaries/documents/order_status_list.h"
#include "dictionaries/documents/order_type_list.h"
#include "dictionaries/documents/status_history_list.h"
#include "dictionaries/documents/status_history_order_chooser.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/services/order_statuses.h"

namespace slownik::documents {
namespace {

constexpr const char* kStatuses = "Lista statusów zamówień";
constexpr const char* kNotice = "Zmiany statusów będą obowiązywały po zamknięciu bieżącego okna listy statusów.";

class OrderWindows : public test::WindowFixture {
 protected:
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
  bool pick(const std::shared_ptr<rt::Window>& w, std::size_t column, const std::string& value) {
    int row = rowOf(w, fieldOf(w, column), value);
    EXPECT_GT(row, 0) << value << " is not listed";
    return row > 0 && fe().clickRow(w, "?LIST", row);
  }
  bool save(const std::shared_ptr<rt::Window>& f) { return fe().click(f, "?OK") && fe().waitForClose(f); }
  std::shared_ptr<rt::Window> openStatuses() {
    start([] { STATUSYZAMOWIEN_BRW(); });
    return window(kStatuses);
  }
  std::string status(const std::string& column, const std::string& code) {
    return scalar("SELECT " + column + " FROM VEX_SLOWNIK_STATUSOW_DOKUMENTOW WHERE KOD_STATUSU = '" + code + "'");
  }
};

// --- order types ------------------------------------------------------------------------

TEST_P(OrderWindows, OrderTypesAreTheProductionOrderRowsOnlyAndAreChangedNotAdded) {
  start([] { TYP_ZLECENIA_BRW(); });
  auto w = window("Typy zleceń");
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, fieldOf(w, 1)), (std::vector<std::string>{"Zlecenie produkcyjne"}));
  EXPECT_FALSE(w->control("?INSERT")->enabled);
  EXPECT_FALSE(w->control("?DELETE")->enabled);
  ASSERT_TRUE(pick(w, 1, "Zlecenie produkcyjne"));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = window("Edycja typu zlecenia");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?TYPDMAG:RODZAJ"), "Zlecenie");
  // The signature numbers the orders like any warehouse type's: it stays unique.
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:SYGNATURA", "PZ"));
  fe().expectMessage(rt::button::Ok, "Sygnatura musi być unikalna!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed());
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:SYGNATURA", "ZL2"));
  ASSERT_TRUE(fe().type(f, "?TYPDMAG:NAZWA", "Zlecenie 'pilne'"));
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT NAZWA FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE SYGNATURA = 'ZL2'"), "Zlecenie 'pilne'");
  EXPECT_EQ(scalar("SELECT RODZAJ FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE SYGNATURA = 'ZL2'"), "Zlecenie");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(OrderWindows, OrderTypeRightsRefuseTheFormOrLeaveItReadOnly) {
  asUser(sql::demo::kUserId);
  start([] { TYP_ZLECENIA_BRW(); });
  auto w = window("Typy zleceń");
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na oglądanie typów zleceń produkcyjnych!");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(fe().messages().size(), 1u);
  EXPECT_EQ(fe().messages()[0].title, "TRAMEL: Ostrzeżenie");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(OrderWindows, WithoutTheEditRightTheOrderTypeFormOnlyShows) {
  grant("OTypDokProd");
  asUser(sql::demo::kUserId);
  start([] { TYP_ZLECENIA_BRW(); });
  auto w = window("Typy zleceń");
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na edytowanie typów zleceń produkcyjnych!");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = window("Edycja typu zlecenia");
  ASSERT_TRUE(f);
  EXPECT_FALSE(f->control("?OK")->enabled);
  EXPECT_EQ(f->control("?CANCEL")->text, "&Zamknij");
  EXPECT_TRUE(f->control("?TYPDMAG:NAZWA")->readOnly);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

// --- statuses ---------------------------------------------------------------------------

TEST_P(OrderWindows, StatusListShowsFlagsTheAutomaticTextAndTheTemplate) {
  exec("UPDATE VEX_SLOWNIK_STATUSOW_DOKUMENTOW SET ID_SZABLONU_SMS = 2 WHERE KOD_STATUSU = 'P'");
  exec("INSERT INTO VEX_SLOWNIK_STATUSOW_DOKUMENTOW (ID_STATUSU, OPIS_STATUSU, KOD_STATUSU, TYP_DOKUMENTU, SYSTEMOWY, "
       "AUTOMATYCZNY, AKTYWNY, ID_SZABLONU_SMS) VALUES (7, 'Faktura', 'F', 'F', 0, 0, 1, 0)");
  auto w = openStatuses();
  ASSERT_TRUE(w);
  EXPECT_EQ(rows(w).size(), 6u) << "statuses of orders only";
  int fresh = rowOf(w, fieldOf(w, 3), "Nowe");
  int own = rowOf(w, fieldOf(w, 3), "Przygotowane do wysyłki");
  ASSERT_GT(fresh, 0);
  ASSERT_GT(own, 0);
  EXPECT_EQ(cell(w, fresh, 1, true), "1");
  EXPECT_EQ(cell(w, own, 1, true), "0");
  EXPECT_EQ(cell(w, own, 2, true), "1");
  EXPECT_EQ(cell(w, fresh, 5), "status automatyczny");
  EXPECT_EQ(cell(w, own, 5), "");
  EXPECT_EQ(cell(w, own, 6), "Zmiana statusu zamówienia");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(OrderWindows, ANewStatusCodeIsUniqueAsStoredAndReachesOrderHandlingOnClosing) {
  svc::INICJUJKOLEJKESTATUSOW(1);
  auto w = openStatuses();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie statusu zamówień");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?VSSD:AKTYWNY"), "1");
  ASSERT_TRUE(fe().type(f, "?VSSD:OPIS_STATUSU", "Wysłane 'kurierem'"));
  ASSERT_TRUE(fe().type(f, "?VSSD:KOD_STATUSU", "p"));
  fe().expectMessage(rt::button::Ok, "Kod statusu musi być niepowtarzalny!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed()) << "p is stored as P, which another status has";
  ASSERT_TRUE(fe().type(f, "?VSSD:KOD_STATUSU", "w"));
  fe().expectMessage(rt::button::Ok, kNotice);
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(status("OPIS_STATUSU", "W"), "Wysłane 'kurierem'");
  EXPECT_EQ(status("TYP_DOKUMENTU", "W"), "Z");
  EXPECT_FALSE(svc::orderStatus("W")) << "order handling sees the change once the list closes";

  // The notice comes once per opening of the list.
  ASSERT_TRUE(pick(w, 3, "Wysłane 'kurierem'"));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  f = window("Edycja statusu zamówień");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?VSSD:AUTOMATYCZNY"));
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  auto sent = svc::orderStatus("w");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->description, "Wysłane 'kurierem'");
  EXPECT_TRUE(sent->automatic);
  EXPECT_EQ(scalar("SELECT WERSJA FROM WERSJA_LISTY WHERE NAZWA = 'STATUSY_ZAMOWIEN'"), "1")
      << "other programs are told through the list's version";
}

TEST_P(OrderWindows, AStatusChangedByAnotherProgramIsSeenByTheNextReader) {
  ASSERT_TRUE(svc::orderStatus("P"));
  exec("UPDATE VEX_SLOWNIK_STATUSOW_DOKUMENTOW SET OPIS_STATUSU = 'Spakowane' WHERE KOD_STATUSU = 'P'");
  EXPECT_EQ(svc::orderStatus("P")->description, "Przygotowane do wysyłki") << "nothing told the program yet";
  ASSERT_TRUE(db().run("call TKB_IntS_RM_TKBM_DocStatusListInit").isOk());
  EXPECT_EQ(svc::orderStatus("P")->description, "Spakowane");
  EXPECT_EQ(svc::orderStatuses().size(), 6u);
}

TEST_P(OrderWindows, StatusRightsComeFirstThenTheSystemFlagThenTheQuestion) {
  asUser(sql::demo::kUserId);  // the sellers may edit statuses only
  auto w = openStatuses();
  ASSERT_TRUE(w);
  ASSERT_TRUE(pick(w, 3, "Nowe"));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na usuwanie statusów zamówień!");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie statusów zamówień!");
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(fe().messages().size(), 2u);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM VEX_SLOWNIK_STATUSOW_DOKUMENTOW"), "6");
}

TEST_P(OrderWindows, SystemAndBuiltInStatusesStayAndAnOwnOneGoesFromItsOrders) {
  exec("INSERT INTO ZAMOWIENIE (ID_ZAMOWIENIA, ID_FIRMY, NUMER, STATUS) VALUES (17, 1, 'ZAM/17', 'P'), "
       "(18, 1, 'ZAM/18', 'N')");
  // A built-in code whose system flag was taken off is still what order handling needs.
  exec("UPDATE VEX_SLOWNIK_STATUSOW_DOKUMENTOW SET SYSTEMOWY = 0 WHERE KOD_STATUSU = 'A'");
  auto w = openStatuses();
  ASSERT_TRUE(w);
  for (const char* builtIn : {"Nowe", "Anulowane"}) {
    ASSERT_TRUE(pick(w, 3, builtIn));
    fe().expectMessage(rt::button::Ok, "Nie można usunąć systemowego statusu zamówień!");
    ASSERT_TRUE(fe().press(w, rt::key::Del));
  }
  ASSERT_TRUE(pick(w, 3, "Przygotowane do wysyłki"));
  fe().expectMessage(rt::button::No, "Czy kontynuować ?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(status("COUNT(*)", "P"), "1") << "answered no";
  fe().expectMessage(rt::button::Yes, "Czy kontynuować ?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  auto f = window("Status zamówienia");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Yes);
  fe().expectMessage(rt::button::Ok, kNotice);
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(status("COUNT(*)", "P"), "0");
  EXPECT_EQ(scalar("SELECT STATUS FROM ZAMOWIENIE WHERE ID_ZAMOWIENIA = 17"), "");
  EXPECT_EQ(scalar("SELECT STATUS FROM ZAMOWIENIE WHERE ID_ZAMOWIENIA = 18"), "N");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(OrderWindows, StatusFormLocksWhatOrderHandlingReliesOnAndPicksTheTemplate) {
  auto w = openStatuses();
  ASSERT_TRUE(w);
  {
    ASSERT_TRUE(pick(w, 3, "Zrealizowane"));
    ASSERT_TRUE(fe().press(w, rt::key::F2));
    auto f = window("Edycja statusu zamówień");
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->control("?VSSD:OPIS_STATUSU")->readOnly);
    EXPECT_TRUE(f->control("?VSSD:KOD_STATUSU")->readOnly);
    EXPECT_FALSE(f->control("?VSSD:AKTYWNY")->enabled);
    for (const char* hidden : {"?NAZWA_SZABLONU", "?NAZWA_SZABLONU:PROMPT", "?BUTTONSMS", "?BUTTONSMSDEL"})
      EXPECT_TRUE(f->control(hidden)->hidden) << hidden;
    ASSERT_TRUE(fe().click(f, "?CANCEL"));
    ASSERT_TRUE(fe().waitForClose(f));
  }
  ASSERT_TRUE(pick(w, 3, "Przygotowane do wysyłki"));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = window("Edycja statusu zamówień");
  ASSERT_TRUE(f);
  EXPECT_FALSE(f->control("?VSSD:KOD_STATUSU")->readOnly);
  EXPECT_EQ(f->value("?NAZWA_SZABLONU"), "");
  ASSERT_TRUE(fe().click(f, "?BUTTONSMS"));
  auto templates = window("Szablon SMS");
  ASSERT_TRUE(templates);
  int row = rowOf(templates, 0, "Zamówienie gotowe do odbioru");
  ASSERT_GT(row, 0) << "the templates of the orders' list";
  ASSERT_TRUE(fe().clickRow(templates, "?LIST", row));
  ASSERT_TRUE(fe().press(templates, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(templates));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->value("?NAZWA_SZABLONU"), "Zamówienie gotowe do odbioru");
  fe().expectMessage(rt::button::Ok, kNotice);
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(status("ID_SZABLONU_SMS", "P"), "1");

  ASSERT_TRUE(pick(w, 3, "Przygotowane do wysyłki"));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  f = window("Edycja statusu zamówień");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?NAZWA_SZABLONU"), "Zamówienie gotowe do odbioru");
  ASSERT_TRUE(fe().click(f, "?BUTTONSMSDEL"));
  EXPECT_EQ(f->value("?NAZWA_SZABLONU"), "");
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(status("ID_SZABLONU_SMS", "P"), "0");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

// --- history ----------------------------------------------------------------------------

class StatusHistoryWindows : public OrderWindows {
 protected:
  void SetUp() override {
    OrderWindows::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("INSERT INTO ZAMOWIENIE (ID_ZAMOWIENIA, ID_FIRMY, NUMER, STATUS) VALUES (17, 1, 'ZAM/17/2024  ', 'Z'), "
         "(18, 1, 'ZAM/18/2024', 'N')");
    exec("INSERT INTO REJESTR_ZMIAN_STATUSOW_ZAMOWIEN (ID_REJESTRU_ZMIAN, ID_ZAMOWIENIA, STATUS_PRZED_ZMIANA, "
         "STATUS_PO_ZMIANIE, DATA_ZMIANY, CZAS_ZMIANY, ID_UZYTKOWNIKA, ID_PRACOWNIKA, KOMENTARZ) VALUES "
         "(1, 17, 'N', 'C', 81000, 3600000, 6100004, NULL, 'Część towaru wydana'), "
         "(2, 17, 'C', 'Z', 81002, 3600000, 6100003, NULL, 'Reszta wydana'), "
         "(3, 17, 'Z', 'Y', 81001, 3600000, 6100004, NULL, ''), "
         "(4, 18, 'N', 'A', 81000, 3600000, 6100004, NULL, 'Inne zamówienie')");
  }
  std::shared_ptr<rt::Window> openHistory(const char* order = "17") {
    std::string id = order;
    start([id] { HISTORIASTATUSOWZAMOWIEN_BRW(id.c_str()); });
    return window(std::string("Historia zmian statusu zamówienia nr ") + (id == "17" ? "ZAM/17/2024" : ""));
  }
  std::vector<std::string> changes(const std::shared_ptr<rt::Window>& w) { return column(w, fieldOf(w, 6)); }
  std::string registerCount() { return scalar("SELECT COUNT(*) FROM REJESTR_ZMIAN_STATUSOW_ZAMOWIEN"); }
};

TEST_P(StatusHistoryWindows, ShowsTheOrdersChangesByDateAndNarrowsThemToAUser) {
  auto w = openHistory();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "data i czas");
  EXPECT_EQ(changes(w), (std::vector<std::string>{"C", "Y", "Z"}));
  EXPECT_EQ(w->value("?VRZS:KOMENTARZ"), "Część towaru wydana") << "the comment of the current row";
  EXPECT_EQ(w->control("?LIST")->styles[2].fontWeight, 700) << "the date columns are bold";
  auto users = w->control("?LIST2")->rows;
  ASSERT_EQ(users.size(), 3u);
  EXPECT_EQ(users[0][0], "Wszyscy użytkownicy");
  EXPECT_EQ(users[1][0], "Administrator systemu (Admin)");
  EXPECT_EQ(users[2][0], "Jan Kowalski (jkowalski)");
  ASSERT_TRUE(fe().clickRow(w, "?LIST2", 3));
  EXPECT_EQ(changes(w), (std::vector<std::string>{"C", "Y"}));
  ASSERT_TRUE(fe().clickRow(w, "?LIST2", 1));
  EXPECT_EQ(changes(w), (std::vector<std::string>{"C", "Y", "Z"})) << "all users again";

  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "użytkownik"));
  EXPECT_EQ(changes(w), (std::vector<std::string>{"Z", "C", "Y"}));
  EXPECT_EQ(w->control("?LIST")->styles[1].fontWeight, 700);
  EXPECT_NE(w->control("?LIST")->styles[2].fontWeight, 700);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();

  // The order chosen is kept for the next opening.
  w = openHistory();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "użytkownik");
  EXPECT_EQ(changes(w), (std::vector<std::string>{"Z", "C", "Y"}));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(StatusHistoryWindows, DeletesOneRowOrAllShownAndNothingOfOtherOrders) {
  auto w = openHistory();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::No, "Czy usunąć bieżący zapis historii zmian statusów?");
  ASSERT_TRUE(fe().click(w, "?USUN"));
  EXPECT_EQ(registerCount(), "4");
  fe().expectMessage(rt::button::Yes, "Czy usunąć bieżący zapis historii zmian statusów?");
  ASSERT_TRUE(fe().click(w, "?USUN"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(changes(w), (std::vector<std::string>{"Y", "Z"}));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM REJESTR_ZMIAN_STATUSOW_ZAMOWIEN WHERE ID_REJESTRU_ZMIAN = 1"), "0");

  ASSERT_TRUE(fe().clickRow(w, "?LIST2", 3));  // Jan Kowalski's change only
  fe().expectMessage(rt::button::Yes, "Czy usunąć zapisy historii statusów z podanego zakresu?");
  ASSERT_TRUE(fe().click(w, "?GRUPOWO"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_TRUE(changes(w).empty());
  EXPECT_EQ(registerCount(), "2") << "the administrator's change and the other order's stay";
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(StatusHistoryWindows, ExportsEveryShownRowToASpreadsheet) {
  auto w = openHistory();
  ASSERT_TRUE(w);
  std::string path = testing::TempDir() + "historia_" + std::to_string(getpid()) + ".xlsx";
  std::remove(path.c_str());
  fe().expectPopup("Eksport do Excela");
  fe().expectFile(path);
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file.good()) << "no spreadsheet at " << path;
  char magic[2] = {};
  file.read(magic, 2);
  EXPECT_EQ(std::string(magic, 2), "PK") << "an .xlsx is a zip archive";
  std::remove(path.c_str());
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(StatusHistoryWindows, FromTheMenuTheOrderIsChosenFirst) {
  start([] { documents::chooseOrderForStatusHistory(); });
  auto chooser = window("Historia statusów – wybór zamówienia");
  ASSERT_TRUE(chooser);
  EXPECT_EQ(column(chooser, 0), (std::vector<std::string>{"ZAM/17/2024", "ZAM/18/2024"}));
  ASSERT_TRUE(fe().clickRow(chooser, "?LIST", 2));
  ASSERT_TRUE(fe().press(chooser, rt::key::Enter));
  auto w = window("Historia zmian statusu zamówienia nr ZAM/18/2024");
  ASSERT_TRUE(w);
  EXPECT_EQ(changes(w), (std::vector<std::string>{"A"})) << "only the chosen order's changes";
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

TEST_P(StatusHistoryWindows, AnIdThatIsNoNumberShowsNothingAndDeletesNothing) {
  auto w = openHistory("17 or 1=1");
  ASSERT_TRUE(w);
  EXPECT_TRUE(rows(w).empty());
  fe().expectMessage(rt::button::Yes, "Czy usunąć zapisy historii statusów z podanego zakresu?");
  ASSERT_TRUE(fe().click(w, "?GRUPOWO"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(registerCount(), "4");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

SLOWNIK_ON_ALL_BACKENDS(OrderWindows);
SLOWNIK_ON_ALL_BACKENDS(StatusHistoryWindows);

}  // namespace
}  // namespace slownik::documents
