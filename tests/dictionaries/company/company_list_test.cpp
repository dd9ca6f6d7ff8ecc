// The company list played through the headless front-end: its filters and buttons, the
// rights it checks, the lock around a change, adding a company with its set-up, deleting
// one with all its data, and choosing the company the program works in.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <memory>
#include <string>

#include "dictionaries/company/company_list.h"
#include "engine/window_fixture.h"
#include "dictionaries/company/company_form.h"
#include "dictionaries/staff/employee_list.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/services/edocuments.h"
#include "framework/services/program_parameters.h"
#include "slownik/entry_points.h"

namespace slownik::company::test {
namespace {

constexpr long long kDemo = sql::demo::kCompanyId;
constexpr long long kOther = 7;     // connected, set up like any new company
constexpr long long kOutside = 8;   // not connected to this program
constexpr const char* kTitle = "Lista firm";
// The attachment count in a row: after the id column's value and icon.
constexpr std::size_t kAttachmentCount = 2;
constexpr const char* kLocked = "Firma jest aktualizowana przez innego użytkownika!";
constexpr const char* kNoGroups = "W tej firmie nie jesteś przydzielony do żadnych grup użytkowników.";

class CompanyListTest : public slownik::test::WindowFixture {
 protected:
  //! The demo company's form, for a change, on a procedure thread of its own.
  std::shared_ptr<rt::Window> openDemoCompanyForm() {
    start([] {
      data::field("FIR:ID_FIRMY").set(kDemo);
      if (data::fileManager("FIRMA")->fetch("FIR:PK_FIRMA") != 0) return;
      data::GLOBALREQUEST() = data::kChangeRecord;
      FIRMA_UPD();
    });
    return window("Edycja firmy");
  }
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("INSERT INTO FIRMA (ID_FIRMY, NAZWA, NAZWA_PELNA, VEX, SEMAFOR, MP) VALUES (" + std::to_string(kOther) +
         ", 'O''Brien i Syn', 'O''Brien i Syn s.c.', 1, 0, 1), (" + std::to_string(kOutside) +
         ", 'Żabka Zdrój', 'Żabka Zdrój sp. j.', 0, 0, 0)");
    ASSERT_TRUE(db().run("call TK_InicjacjaSystemu(" + std::to_string(kOther) + ")").isOk());
  }

  //! FIRMA_BRW on a procedure thread, as the host's menu starts it (or a caller's picker).
  std::shared_ptr<rt::Window> openList(int request = data::kNoRequest) {
    outcome_ = std::make_shared<std::atomic<int>>(-1);
    chosen_ = std::make_shared<std::atomic<long long>>(0);
    auto out = outcome_;
    auto chosen = chosen_;
    start([out, chosen, request] {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      FIRMA_BRW();
      *out = data::GLOBALRESPONSE();
      *chosen = data::field("FIR:ID_FIRMY").integer();
    });
    return window(kTitle);
  }
  //! Row (1-based) of the company named `name`; 0 when the list does not show it.
  static int rowNamed(const std::shared_ptr<rt::Window>& w, const std::string& name) {
    auto r = rows(w);
    for (std::size_t i = 0; i < r.size(); ++i)
      for (const auto& field : r[i])
        if (field == name) return static_cast<int>(i) + 1;
    return 0;
  }
  void select(const std::shared_ptr<rt::Window>& w, const std::string& name) {
    int row = rowNamed(w, name);
    ASSERT_GT(row, 0) << name;
    ASSERT_TRUE(fe().clickRow(w, "?LIST", row));
    ASSERT_TRUE(fe().settle(w));
  }
  static bool enabled(const std::shared_ptr<rt::Window>& w, const char* control) {
    return w->control(control)->enabled;
  }
  //! Ends the list by "Zamknij" and waits for its thread.
  void closeList(const std::shared_ptr<rt::Window>& w) {
    ASSERT_TRUE(fe().press(w, rt::key::Esc));
    ASSERT_TRUE(fe().waitForClose(w));
    join();
  }
  //! Another program's window holds the company's lock (a thread of its own is another
  //! window chain), for the ordinary demo user.
  void lockedByAnother(long long company) {
    ASSERT_TRUE(db().run("call TKW_KartotekaSemaforUstaw('firma'," + std::to_string(company) + "," +
                         std::to_string(sql::demo::kUserId) + ",2)")
                    .isOk());
  }
  long long rowsOf(long long company, const std::string& table) {
    return std::stoll(scalar("SELECT COUNT(*) FROM " + table + " WHERE ID_FIRMY = " + std::to_string(company)));
  }

  std::shared_ptr<std::atomic<int>> outcome_;
  std::shared_ptr<std::atomic<long long>> chosen_;
};

TEST_P(CompanyListTest, FiltersShowConnectedCompaniesFirstAndButtonsFollowTheRow) {
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?FILTROWANIE_STR"), "Firmy współpracujące z TRAMEL");
  EXPECT_GT(rowNamed(w, "Demo Handel"), 0);
  EXPECT_GT(rowNamed(w, "O'Brien i Syn"), 0);
  EXPECT_EQ(rowNamed(w, "Żabka Zdrój"), 0);
  EXPECT_EQ(w->control("?LIST")->selection, rowNamed(w, "Demo Handel")) << "opens on the company worked in";
  // The company worked in stays connected while the user works in it.
  EXPECT_FALSE(enabled(w, "?PODLACZ"));
  EXPECT_TRUE(enabled(w, "?CHANGE"));
  EXPECT_TRUE(enabled(w, "?SELECT"));

  ASSERT_TRUE(fe().choose(w, "?FILTROWANIE_STR", "Firmy nie współpracujące z TRAMEL"));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(rows(w).size(), 1u);
  EXPECT_GT(rowNamed(w, "Żabka Zdrój"), 0);
  select(w, "Żabka Zdrój");
  // Not connected: it can be connected, nothing else.
  for (const char* c : {"?CHANGE", "?DELETE", "?SELECT"}) EXPECT_FALSE(enabled(w, c)) << c;
  EXPECT_TRUE(enabled(w, "?PODLACZ"));
  EXPECT_EQ(w->control("?PODLACZ")->text, "Podłą&cz");

  ASSERT_TRUE(fe().choose(w, "?FILTROWANIE_STR", "Wszystkie firmy"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rows(w).size(), 3u);
  select(w, "O'Brien i Syn");
  EXPECT_EQ(w->control("?PODLACZ")->text, "Odłą&cz");
  EXPECT_TRUE(enabled(w, "?DELETE"));

  // The incremental locator finds by name, Polish letters and all.
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "Ża"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(w->control("?LIST")->selection, rowNamed(w, "Żabka Zdrój"));
  closeList(w);

  // Working in no company, the list shows them all.
  data::glo().ID_FIRMY = 0.0;
  w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?FILTROWANIE_STR"), "Wszystkie firmy");
  EXPECT_EQ(rows(w).size(), 3u);
  closeList(w);
}

TEST_P(CompanyListTest, EdocumentsOpenForTheSelectedCompanyAndTheCountFollows) {
  auto w = openList();
  ASSERT_TRUE(w);
  select(w, "O'Brien i Syn");
  const int row = rowNamed(w, "O'Brien i Syn");
  EXPECT_EQ(rows(w)[row - 1][kAttachmentCount], "") << "no files: no \"0\" beside the icon";
  const std::string path = ::testing::TempDir() + "umowa_spolki.txt";
  { std::ofstream(path) << "umowa"; }
  std::string error;
  ASSERT_GT(svc::addEdocument(svc::kEdocumentCompany, static_cast<double>(kOther), path, &error), 0) << error;
  std::remove(path.c_str());

  ASSERT_TRUE(fe().click(w, "?EDOKUMENTY"));
  auto files = window("e-Dokumenty");
  ASSERT_TRUE(files);
  ASSERT_EQ(rows(files).size(), 1u);
  EXPECT_EQ(rows(files)[0][0], "umowa_spolki.txt");
  ASSERT_TRUE(fe().click(files, "?CLOSE"));
  ASSERT_TRUE(fe().waitForClose(files));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rows(w)[rowNamed(w, "O'Brien i Syn") - 1][kAttachmentCount], "1") << "the list is read again";

  // The menu's item opens the files of the row clicked.
  fe().expectPopup("e-Dokumenty <Ctrl+E>");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", rowNamed(w, "Demo Handel")));
  files = window("e-Dokumenty");
  ASSERT_TRUE(files);
  EXPECT_TRUE(rows(files).empty()) << "the demo company has no files";
  ASSERT_TRUE(fe().click(files, "?CLOSE"));
  ASSERT_TRUE(fe().waitForClose(files));
  ASSERT_TRUE(fe().settle(w));
  closeList(w);
}

TEST_P(CompanyListTest, ConnectingSetsVexAndIsRefusedWhileAnotherUserEditsTheCompany) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().choose(w, "?FILTROWANIE_STR", "Wszystkie firmy"));
  select(w, "Żabka Zdrój");
  ASSERT_TRUE(fe().click(w, "?PODLACZ"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = 8"), "1");
  select(w, "Żabka Zdrój");
  EXPECT_EQ(w->control("?PODLACZ")->text, "Odłą&cz");
  EXPECT_TRUE(enabled(w, "?CHANGE"));
  // The menu's item mirrors the button.
  fe().expectPopup("Odłącz <Ctrl+O>");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", rowNamed(w, "Żabka Zdrój")));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = 8"), "0");
  const auto popups = fe().popupsShown();
  ASSERT_FALSE(popups.empty());
  bool choose = false;
  for (const auto& item : popups.back()) choose = choose || item.find("Wybierz") != std::string::npos;
  EXPECT_TRUE(choose);

  lockedByAnother(kOther);
  select(w, "O'Brien i Syn");
  fe().expectMessage(rt::button::Ok, kLocked);
  ASSERT_TRUE(fe().click(w, "?PODLACZ"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = 7"), "1") << "left as it was";

  ASSERT_TRUE(db().run("call TKW_KartotekaSemaforPoloz('firma',7," + std::to_string(sql::demo::kUserId) + ")").isOk());
  select(w, "O'Brien i Syn");
  ASSERT_TRUE(fe().click(w, "?PODLACZ"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = 7"), "0");
  closeList(w);
}

TEST_P(CompanyListTest, OrdinaryUsersNeedAGroupAndTheRightForEachAction) {
  asUser(sql::demo::kUserId);
  auto w = openList();
  ASSERT_TRUE(w);
  // Adding is for the administrator alone.
  fe().expectMessage(rt::button::Ok, "Aby dodać nową firmę musisz być administratorem systemu");
  ASSERT_TRUE(fe().click(w, "?INSERT"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FIRMA"), "3");

  // No group in the other company: no change, no delete, no choice.
  select(w, "O'Brien i Syn");
  for (const char* button : {"?CHANGE", "?DELETE", "?SELECT", "?PODLACZ"}) {
    fe().expectMessage(rt::button::Ok, kNoGroups);
    ASSERT_TRUE(fe().click(w, button));
    ASSERT_TRUE(fe().settle(w));
  }
  EXPECT_EQ(rowsOf(kOther, "MAGAZYN"), 1) << "nothing deleted";

  // A group of the demo company, but without the right to edit its data.
  select(w, "Demo Handel");
  fe().expectMessage(rt::button::Ok, "W tej firmie nie masz przydzielonych uprawnień do edycji.");
  ASSERT_TRUE(fe().click(w, "?CHANGE"));
  ASSERT_TRUE(fe().settle(w));
  grant("EDanePodm");
  ASSERT_TRUE(fe().click(w, "?CHANGE"));
  auto f = window("Edycja firmy");
  ASSERT_TRUE(f);
  EXPECT_EQ(scalar("SELECT SEMAFOR FROM FIRMA WHERE ID_FIRMY = 1"), std::to_string(sql::demo::kUserId));
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT SEMAFOR FROM FIRMA WHERE ID_FIRMY = 1"), "0") << "released after the form";
  closeList(w);

  // In the other company's group, but a right given only to another group of it counts
  // for nothing.
  exec("INSERT INTO GRUPAUZYTKOWNIKOW (ID_GRUPY, ID_FIRMY, NAZWA) VALUES (90, 7, 'Goście')");
  exec("INSERT INTO UZYTKOWNIKGRUPY (ID_GRUPY, ID_UZYTKOWNIKA) VALUES (90, " + std::to_string(sql::demo::kUserId) +
       ")");
  w = openList();
  ASSERT_TRUE(w);
  select(w, "O'Brien i Syn");
  fe().expectMessage(rt::button::Ok, "W tej firmie nie masz przydzielonych żadnych uprawnień.");
  ASSERT_TRUE(fe().click(w, "?SELECT"));
  ASSERT_TRUE(fe().settle(w));
  exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (90, 7, 'SYS', 0, 1)");
  ASSERT_TRUE(fe().click(w, "?SELECT"));
  ASSERT_TRUE(fe().waitForClose(w));
  join();
  EXPECT_EQ(outcome_->load(), data::kRequestCompleted);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kOther));
}

TEST_P(CompanyListTest, AChangeHoldsTheLockAndAnotherUsersLockRefusesIt) {
  lockedByAnother(kOther);
  auto w = openList();
  ASSERT_TRUE(w);
  select(w, "O'Brien i Syn");
  fe().expectMessage(rt::button::Ok, kLocked);
  ASSERT_TRUE(fe().click(w, "?CHANGE"));
  ASSERT_TRUE(fe().settle(w));
  // Nor can it be chosen to work in.
  fe().expectMessage(rt::button::Ok, "Firma została usunięta lub zablokowana przez innego użytkownika!");
  ASSERT_TRUE(fe().click(w, "?SELECT"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_FALSE(w->isClosed());

  select(w, "Demo Handel");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = window("Edycja firmy");
  ASSERT_TRUE(f);
  EXPECT_EQ(scalar("SELECT SEMAFOR FROM FIRMA WHERE ID_FIRMY = 1"), std::to_string(sql::demo::kAdminUserId));
  ASSERT_TRUE(fe().type(f, "?FIR:UWAGI", "Uwagi z 'cudzysłowem'"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT UWAGI FROM FIRMA WHERE ID_FIRMY = 1"), "Uwagi z 'cudzysłowem'");
  EXPECT_EQ(scalar("SELECT SEMAFOR FROM FIRMA WHERE ID_FIRMY = 1"), "0");
  closeList(w);
}

TEST_P(CompanyListTest, AnAddedCompanyIsSetUpAndBecomesTheOneWorkedIn) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().click(w, "?INSERT"));
  auto f = window("Dodawanie firmy");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA", "Kwiaciarnia 'Róża' Łódź"));
  ASSERT_TRUE(fe().click(f, "?INSERT:ADRES"));
  auto a = window("Dodawanie adresu");
  ASSERT_TRUE(a);
  ASSERT_TRUE(fe().type(a, "?ADRFIR:MIEJSCOWOSC", "Łódź"));
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().waitForClose(a));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));

  const std::string id = scalar("SELECT ID_FIRMY FROM FIRMA WHERE NAZWA = 'Kwiaciarnia ''Róża'' Łódź'");
  ASSERT_FALSE(id.empty());
  const long long company = std::stoll(id);
  EXPECT_EQ(scalar("SELECT SEMAFOR FROM FIRMA WHERE ID_FIRMY = " + id), "0");
  EXPECT_EQ(rowsOf(company, "TYP_DOKUMENTU_MAGAZYNOWEGO"), 11);
  EXPECT_EQ(rowsOf(company, "TYP_DOKUMENTU_HANDLOWEGO"), 6);
  EXPECT_EQ(rowsOf(company, "TYP_DOKUMENTU_FINANSOWEGO"), 5);
  EXPECT_EQ(rowsOf(company, "NUMERACJA"), 22) << "a definition for each type";
  EXPECT_EQ(scalar("SELECT NAZWA FROM GRUPAUZYTKOWNIKOW WHERE ID_FIRMY = " + id), "Administratorzy");
  EXPECT_GT(rowsOf(company, "DOSTEP"), 50);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(company));
  EXPECT_EQ(sql::sqlId(data::glo().ID_MAGAZYNU.get()), scalar("SELECT ID_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = " + id));
  EXPECT_EQ(sql::sqlId(data::glo().ID_KASY.get()), scalar("SELECT ID_KASY FROM KASY_FIRMY WHERE ID_FIRMY = " + id));
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = " + id), "1") << "set up to work in";
  EXPECT_GT(rowNamed(w, "Kwiaciarnia 'Róża' Łódź"), 0);
  closeList(w);
}

TEST_P(CompanyListTest, DeletingIsRefusedWhileUsersWorkAndNoLeavesEverything) {
  const std::string warehouse = scalar("SELECT ID_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = 7");
  exec("INSERT INTO STAN_UZYTKOWNIKA_W_MAG (ID_MAGAZYNU, ID_UZYTKOWNIKA, CZY_PRACA, CZY_REMBIL) VALUES (" + warehouse +
       ", 6100004, 0, 1)");
  ASSERT_EQ(svc::USTAWPARAMKONF("u", "DomFirma", "7"), 0);
  auto w = openList();
  ASSERT_TRUE(w);
  select(w, "O'Brien i Syn");
  fe().expectMessage(rt::button::Ok, "Nie możesz usunąć firmy O'Brien i Syn, ponieważ pracują w niej użytkownicy!");
  ASSERT_TRUE(fe().click(w, "?DELETE"));
  ASSERT_TRUE(fe().settle(w));
  exec("UPDATE STAN_UZYTKOWNIKA_W_MAG SET CZY_REMBIL = 0");

  fe().expectMessage(rt::button::No, "Ta operacja spowoduje nieodwracalne usunięcie firmy.|Czy chcesz ją wykonać?");
  ASSERT_TRUE(fe().click(w, "?DELETE"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(fe().messages().back().title, "TRAMEL: Pytanie");
  EXPECT_EQ(fe().messages().back().defaultButton, rt::button::No);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FIRMA WHERE ID_FIRMY = 7"), "1");
  EXPECT_EQ(rowsOf(kOther, "TYP_DOKUMENTU_MAGAZYNOWEGO"), 11);
  EXPECT_EQ(svc::POBIERZPARAMKONF("u", "DomFirma"), "7");

  // Held by another user: refused, and nothing goes.
  lockedByAnother(kOther);
  const std::size_t shown = fe().messages().size();
  fe().expectMessage(rt::button::Yes, "Ta operacja spowoduje nieodwracalne usunięcie firmy.");
  fe().expectMessage(rt::button::Ok, kLocked);
  ASSERT_TRUE(fe().click(w, "?DELETE"));
  ASSERT_TRUE(fe().waitForMessages(shown + 2));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FIRMA WHERE ID_FIRMY = 7"), "1");
  EXPECT_EQ(rowsOf(kOther, "MAGAZYN"), 1);
  closeList(w);
}

TEST_P(CompanyListTest, DeletingTheCompanyWorkedInRemovesItsDataAndForcesAChoice) {
  const std::string warehouse = scalar("SELECT ID_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = 7");
  exec("INSERT INTO ARTYKUL (ID_ARTYKULU, ID_MAGAZYNU, INDEKS_KATALOGOWY, NAZWA) VALUES (900, " + warehouse +
       ", 'K-1', 'Kawa ''Złota''')");
  exec("INSERT INTO STAN_UZYTKOWNIKA_W_MAG (ID_MAGAZYNU, ID_UZYTKOWNIKA, CZY_PRACA, CZY_REMBIL) VALUES (" + warehouse +
       ", 6100004, 0, 0)");
  ASSERT_EQ(svc::USTAWPARAMKONF("u", "DomFirma", "7"), 0);
  ASSERT_EQ(svc::USTAWPARAMKONF("u", "DomMagazyn", warehouse), 0);
  ASSERT_EQ(svc::USTAWPARAMKONF("u", "DomKasa", "3"), 0);
  data::glo().ID_FIRMY = static_cast<double>(kOther);
  const std::string demoTypes = scalar("SELECT COUNT(*) FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE ID_FIRMY = 1");

  auto w = openList();
  ASSERT_TRUE(w);
  select(w, "O'Brien i Syn");
  // The company worked in may be deleted but not disconnected.
  EXPECT_FALSE(enabled(w, "?PODLACZ"));
  fe().expectMessage(rt::button::Yes, "Ta operacja spowoduje nieodwracalne usunięcie firmy.");
  ASSERT_TRUE(fe().click(w, "?DELETE"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rowNamed(w, "O'Brien i Syn"), 0);
  // The wait window told what was being removed, step by step.
  int steps = 0;
  for (const auto& notice : fe().notices()) steps += notice.control == "?ETAP" ? 1 : 0;
  EXPECT_GT(steps, 10);

  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FIRMA WHERE ID_FIRMY = 7"), "0");
  for (const char* table : {"MAGAZYN", "KASY_FIRMY", "GRUPAUZYTKOWNIKOW", "DOSTEP", "NUMERACJA",
                            "TYP_DOKUMENTU_MAGAZYNOWEGO", "TYP_DOKUMENTU_HANDLOWEGO", "TYP_DOKUMENTU_FINANSOWEGO",
                            "FORMA_DOSTAWY"})
    EXPECT_EQ(rowsOf(kOther, table), 0) << table;
  // Rows that hang on the company's rows without naming the company go with them.
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ARTYKUL WHERE ID_ARTYKULU = 900"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM STAN_UZYTKOWNIKA_W_MAG"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE ID_FIRMY = 1"), demoTypes);
  for (const char* parameter : {"DomFirma", "DomMagazyn", "DomKasa"})
    EXPECT_EQ(svc::POBIERZPARAMKONF("u", parameter), "") << parameter;

  // The user must choose another company before the list lets them go.
  fe().expectMessage(rt::button::Ok, "Aby kontynuować pracę musisz wybrać jakąś firmę!");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_FALSE(w->isClosed());
  select(w, "Demo Handel");
  ASSERT_TRUE(fe().click(w, "?SELECT"));
  ASSERT_TRUE(fe().waitForClose(w));
  join();
  EXPECT_EQ(outcome_->load(), data::kRequestCompleted);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kDemo));
  EXPECT_EQ(data::glo().ID_MAGAZYNU.get(), static_cast<double>(sql::demo::kMainWarehouseId));
  EXPECT_EQ(data::glo().ID_KONTA_BANKOWEGO.get(), 1.0) << "the demo company's default account";
}

TEST_P(CompanyListTest, ChoosingMovesTheProgramWithItsDefaultWarehouseAndCashDesk) {
  // A second warehouse of the other company is the user's default.
  exec("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU) VALUES (7, 70, 'Skład ''Pod Lipą''', "
       "'SPL', 'Praca')");
  ASSERT_EQ(svc::USTAWPARAMKONF("u", "DomMagazyn", "70"), 0);
  ASSERT_EQ(svc::USTAWPARAMKONF("u", "DomKasa", "1"), 0);  // a desk of the demo company: not this one's
  data::glo().ID_KONTA_BANKOWEGO = 1.0;                     // the demo company's account
  auto w = openList();
  ASSERT_TRUE(w);
  select(w, "O'Brien i Syn");
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(w));
  join();
  EXPECT_EQ(outcome_->load(), data::kRequestCompleted);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kOther));
  EXPECT_EQ(data::glo().ID_MAGAZYNU.get(), 70.0);
  EXPECT_EQ(sql::sqlId(data::glo().ID_KASY.get()), scalar("SELECT ID_KASY FROM KASY_FIRMY WHERE ID_FIRMY = 7"));
  EXPECT_EQ(data::glo().MP.get(), 1.0) << "the chosen company's tax flags";
  EXPECT_EQ(data::glo().ID_KONTA_BANKOWEGO.get(), 0.0) << "the company has no account of its own";

  // As a picker the list hands the company back and leaves the program where it is.
  w = openList(data::kSelectRecord);
  ASSERT_TRUE(w);
  select(w, "Demo Handel");
  ASSERT_TRUE(fe().click(w, "?SELECT"));
  ASSERT_TRUE(fe().waitForClose(w));
  join();
  EXPECT_EQ(outcome_->load(), data::kRequestCompleted);
  EXPECT_EQ(chosen_->load(), kDemo);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kOther));
}

TEST_P(CompanyListTest, ChoosingClosesTheOtherWindowsFirstAndAFormKeptOpenKeepsTheCompany) {
  // The employee list, and over it on another thread the company form with a change typed.
  start([] { PRACOWNIK_BRW(); });
  auto employees = window("Lista pracowników");
  ASSERT_TRUE(employees);
  auto form = openDemoCompanyForm();
  ASSERT_TRUE(form);
  ASSERT_TRUE(fe().type(form, "?FIR:NAZWA_PELNA", "Demo Handel O'Brien sp. z o.o."));

  auto w = openList();
  ASSERT_TRUE(w);
  select(w, "O'Brien i Syn");
  // "Anuluj": the form stays as it is, and so do the other windows and the company.
  fe().expectMessage(rt::button::Cancel, "Formularz \"Edycja firmy\" zawiera niezapisane zmiany.|Czy zapisać zmiany?");
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  ASSERT_TRUE(fe().settle(form));
  EXPECT_FALSE(form->isClosed());
  EXPECT_EQ(form->value("?FIR:NAZWA_PELNA"), "Demo Handel O'Brien sp. z o.o.");
  EXPECT_FALSE(employees->isClosed());
  EXPECT_FALSE(w->isClosed());
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kDemo));

  // "Tak": the form saves and closes, the list under it closes without a word, and the
  // program moves to the chosen company.
  fe().expectMessage(rt::button::Yes, "niezapisane zmiany");
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(w));
  join();
  EXPECT_TRUE(form->isClosed());
  EXPECT_TRUE(employees->isClosed());
  EXPECT_EQ(fe().messages().size(), 2u) << "the list without changes asked nothing";
  EXPECT_EQ(scalar("SELECT NAZWA_PELNA FROM FIRMA WHERE ID_FIRMY = " + std::to_string(kDemo)),
            "Demo Handel O'Brien sp. z o.o.");
  EXPECT_EQ(outcome_->load(), data::kRequestCompleted);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kOther));
}

TEST_P(CompanyListTest, AFormWhoseChangesAreGivenUpClosesAndAnUnchangedOneAsksNothing) {
  for (const bool changed : {false, true}) {
    auto form = openDemoCompanyForm();
    ASSERT_TRUE(form);
    if (changed) {
      ASSERT_TRUE(fe().type(form, "?FIR:NAZWA_PELNA", "Nikt tego nie zapisze"));
      fe().expectMessage(rt::button::No, "niezapisane zmiany");
    }
    auto w = openList();
    ASSERT_TRUE(w);
    select(w, "O'Brien i Syn");
    ASSERT_TRUE(fe().press(w, rt::key::Enter));
    ASSERT_TRUE(fe().waitForClose(w));
    join();
    EXPECT_TRUE(form->isClosed());
    EXPECT_EQ(fe().messages().size(), changed ? 1u : 0u);
    EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kOther));
  }
  EXPECT_NE(scalar("SELECT NAZWA_PELNA FROM FIRMA WHERE ID_FIRMY = " + std::to_string(kDemo)), "Nikt tego nie zapisze");
}

// A company made by the set-up is one a user can work in at once: every list of the
// module opens in it without a word of complaint.
TEST_P(CompanyListTest, EveryListOpensInACompanyJustSetUp) {
  switchToCompany(static_cast<double>(kOther));
  ASSERT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kOther));
  ASSERT_GT(data::glo().ID_MAGAZYNU.get(), 0.0);
  int count = 0;
  const SlownikEntryPoint* entries = SLOWNIK_ENTRY_POINTS(&count);
  int opened = 0;
  for (int i = 0; i < count; ++i) {
    const SlownikEntryPoint& entry = entries[i];
    if (std::string(entry.kind) != "browse") continue;
    const std::size_t before = rt::openWindows().size();
    start([run = entry.run] { run(); });
    std::shared_ptr<rt::Window> w;
    for (int attempt = 0; attempt < 200 && !w; ++attempt) {
      for (const auto& candidate : rt::openWindows())
        if (!candidate->isClosed()) w = candidate;
      if (!w) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(w) << entry.exportName << " opened no window";
    ASSERT_TRUE(fe().settle(w)) << entry.exportName;
    EXPECT_GT(rt::openWindows().size(), before) << entry.exportName;
    ASSERT_TRUE(fe().closeAll()) << entry.exportName;
    join();
    ++opened;
  }
  EXPECT_GT(opened, 15);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kOther));
}

SLOWNIK_ON_ALL_BACKENDS(CompanyListTest);

}  // namespace
}  // namespace slownik::company::test
