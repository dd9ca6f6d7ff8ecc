// The white-list check of payees' accounts played through the headless front-end against
// a local stand-in of the ministry's service: from the lists, before a new contractor's
// account is saved, and the answers kept and shown with the account, on both backends.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dictionaries/banking/account_procedures.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/services/iban.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/schema.h"
#include "support/http_server.h"
#include "support/white_list_answer.h"

namespace slownik::banking {
namespace {

constexpr const char* kContractorNip = "6771000202";  // the demo's contractor 1
constexpr const char* kOfficeNip = "5261040828";
constexpr const char* kPrompt = "Sprawdź na białej liście";
constexpr const char* kBban = "199000030000123456789012";

std::string fullNumber(const std::string& bban) { return svc::IBAN_OBLICZSUMEKONTROLNA(bban) + bban; }

std::string isoDate(std::int32_t day) {
  auto d = rt::civilDate(day);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d->year, d->month, d->day);
  return text;
}

std::string checkPath(const std::string& nip, const std::string& account, std::int32_t day = rt::today()) {
  return "/api/check/nip/" + nip + "/bank-account/" + account + "?date=" + isoDate(day);
}

std::string answer(const std::string& assigned, const std::string& id) {
  return slownik::test::whiteListAnswer(assigned, id, "09-12-2026 10:15:02");
}

class AccountWhiteListTest : public slownik::test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_EQ(svc::USTAWPARAMKONF("s", "IBAN", "Tak"), 0);
    ASSERT_EQ(svc::USTAWPARAMKONF("s", "BialaLista_Adres", server_.baseUrl()), 0);
  }

  std::shared_ptr<rt::Window> open(void (*list)(std::uint8_t), const std::string& caption, const std::string& ownerField,
                                   double ownerId) {
    start([=] {
      data::field(ownerField).set(ownerId);
      data::GLOBALREQUEST() = data::kNoRequest;
      list(0);
    });
    return window(caption);
  }
  //! "Sprawdź na białej liście" from the popup of row `row`.
  void choose(const std::shared_ptr<rt::Window>& w, int row) {
    fe().expectPopup(kPrompt);
    ASSERT_TRUE(fe().rightClickRow(w, "?LIST", row));
  }
  std::shared_ptr<rt::Window> prompt(const std::shared_ptr<rt::Window>& w, int row) {
    choose(w, row);
    return window(kPrompt);
  }
  static std::vector<std::string> column(const std::shared_ptr<rt::Window>& w, const std::string& list, int field) {
    std::vector<std::string> out;
    auto control = w->control(list);
    if (!control) return out;
    for (const auto& r : control->rows) out.push_back(field <= static_cast<int>(r.size()) ? r[field - 1] : "");
    return out;
  }
  std::string checks(const std::string& table, const std::string& where = "1 = 1") {
    return scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where);
  }

  test::HttpServer server_;
};

TEST_P(AccountWhiteListTest, ContractorAccountsAreCheckedKeptWithTheAccountAndGoWithIt) {
  const std::string account = fullNumber(kBban);
  exec("INSERT INTO RACHUNEK_KONTRAHENTA (ID_RACHUNKU, ID_KONTRAHENTA, ID_BANKU, SYM_WALUTY, LK, NUMER_RACHUNKU, "
       "AKTYWNY, NAZWA) VALUES (3, 1, 1, 'PLN', '" + account.substr(0, 2) + "', '" + kBban + "', 1, 'główny'), "
       "(4, 1, 1, 'EUR', '', 'DE8937040044053201300', 1, 'niemiecki')");
  const std::int32_t earlier = rt::dayNumber(2025, 1, 2);
  server_.serve(checkPath(kContractorNip, account), 200, answer("TAK", "d2n10-84df1a1"));
  server_.serve(checkPath(kContractorNip, account, earlier), 200, answer("NIE", "e7-O'Brien"));

  auto w = open(RACHUNKI_KONTRAHENTA_BRW, "Rachunki bankowe kontrahenta", "KON:ID_KONTRAHENTA", 1);
  ASSERT_TRUE(w);
  auto p = prompt(w, 1);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->value("?NIP"), kContractorNip) << "the contractor's own tax number is offered";
  EXPECT_EQ(p->value("?DATA"), rt::formatShortDate(rt::today()));
  fe().expectMessage(rt::button::Ok, "figuruje w wykazie podatników VAT (biała lista) dla NIP 6771000202");
  ASSERT_TRUE(fe().click(p, "?OK"));
  ASSERT_TRUE(fe().waitForClose(p));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT WYNIK || '/' || ID_ZAPYTANIA || '/' || NIP || '/' || NUMER_RACHUNKU FROM BIALA_LISTA_RACHKON "
                   "WHERE ID_RACHUNKU = 3"),
            "TAK/d2n10-84df1a1/6771000202/" + account);
  EXPECT_EQ(scalar("SELECT DATA_SPRAWDZENIA FROM BIALA_LISTA_RACHKON"), std::to_string(rt::today()));
  EXPECT_EQ(scalar("SELECT ID_UZYTKOWNIKA FROM BIALA_LISTA_RACHKON"), std::to_string(sql::demo::kAdminUserId));

  // An answer for an earlier day; its identifier is kept as the service wrote it.
  p = prompt(w, 1);
  ASSERT_TRUE(p);
  ASSERT_TRUE(fe().type(p, "?DATA", "2.1.2025"));
  fe().expectMessage(rt::button::Ok, "NIE MA w wykazie podatników VAT");
  ASSERT_TRUE(fe().click(p, "?OK"));
  ASSERT_TRUE(fe().waitForClose(p));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT ID_ZAPYTANIA FROM BIALA_LISTA_RACHKON WHERE WYNIK = 'NIE'"), "e7-O'Brien");

  // A limit reached or a refusal is told and keeps nothing.
  server_.serve(checkPath(kContractorNip, account), 429, R"({"code":"WL-190","message":"Limit wyczerpany."})");
  p = prompt(w, 1);
  ASSERT_TRUE(p);
  fe().expectMessage(rt::button::Ok, "Wyczerpano dzienny limit zapytań");
  ASSERT_TRUE(fe().click(p, "?OK"));
  ASSERT_TRUE(fe().waitForClose(p));
  server_.serve(checkPath(kContractorNip, account), 400, R"({"code":"WL-113","message":"Błędny NIP."})");
  p = prompt(w, 1);
  ASSERT_TRUE(p);
  fe().expectMessage(rt::button::Ok, "odmówił odpowiedzi (WL-113: Błędny NIP.).|Rachunek nie został oznaczony");
  ASSERT_TRUE(fe().click(p, "?OK"));
  ASSERT_TRUE(fe().waitForClose(p));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(checks("BIALA_LISTA_RACHKON"), "2");

  // A foreign account is not asked about at all.
  const auto asked = server_.requests().size();
  fe().expectMessage(rt::button::Ok, "tylko polski rachunek");
  choose(w, 2);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(server_.requests().size(), asked);

  // The form shows the answers, newest day first.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = window("Edycja rachunku");
  ASSERT_TRUE(f);
  EXPECT_EQ(column(f, "?SPRAWDZENIA", 2), (std::vector<std::string>{"TAK", "NIE"}));
  EXPECT_EQ(column(f, "?SPRAWDZENIA", 4), (std::vector<std::string>{"d2n10-84df1a1", "e7-O'Brien"}));
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));

  // A deleted account leaves its answers as proof, parted from it: a later account may
  // get its id and must not show them.
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  f = window("Aktualizacja rekordu");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RACHUNEK_KONTRAHENTA WHERE ID_RACHUNKU = 3"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BIALA_LISTA_RACHKON WHERE ID_RACHUNKU = 3"), "0");
  EXPECT_EQ(checks("BIALA_LISTA_RACHKON"), "2");
}

TEST_P(AccountWhiteListTest, TaxOfficeAccountsAskForTheTaxNumberAndOfferTheLastOneChecked) {
  const std::string account = fullNumber("101000712222310000000000");
  exec("INSERT INTO URZEDY (ID_URZEDU, NAZWA) VALUES (5, 'Urząd Skarbowy Warszawa-Mokotów')");
  exec("INSERT INTO RACHUNEK_URZEDU (ID_RACHUNKU, ID_URZEDU, ID_BANKU, SYM_WALUTY, LK, NUMER_RACHUNKU, AKTYWNY, NAZWA) "
       "VALUES (1, 5, 1, 'PLN', '" + account.substr(0, 2) + "', '" + account.substr(2) + "', 1, 'VAT')");
  // The same id under a contractor: its answers are not the office's.
  exec("INSERT INTO RACHUNEK_KONTRAHENTA (ID_RACHUNKU, ID_KONTRAHENTA, ID_BANKU, SYM_WALUTY, LK, NUMER_RACHUNKU, "
       "AKTYWNY, NAZWA) VALUES (1, 1, 1, 'PLN', '00', '1', 1, 'x')");
  exec("INSERT INTO BIALA_LISTA_RACHKON (ID_RACHUNKU, DATA_SPRAWDZENIA, WYNIK, ID_ZAPYTANIA, NIP) VALUES "
       "(1, 90000, 'TAK', 'obcy', '9451000308')");
  server_.serve(checkPath(kOfficeNip, account), 200, answer("NIE", "u-1"));

  auto w = open(RACHUNKI_URZEDU_BRW, "Rachunki bankowe urzędu", "URZ:ID_URZEDU", 5);
  ASSERT_TRUE(w);
  auto p = prompt(w, 1);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->value("?NIP"), "") << "an office has no tax number of its own here, nor a check yet";
  struct Bad {
    std::string nip, day, message, focus;
  };
  const Bad bad[] = {
      {"526104082", "", "Numer NIP jest niepoprawny", "?NIP"},
      {"526-104-08-29", "", "Numer NIP jest niepoprawny", "?NIP"},
      {"PL 526-104-08-28", "31.12.2099", "tylko na dzień dzisiejszy lub wcześniejszy", "?DATA"},
      {kOfficeNip, "31.02.2026", "Data sprawdzenia jest niepoprawna", "?DATA"},
  };
  for (const auto& b : bad) {
    ASSERT_TRUE(fe().type(p, "?NIP", b.nip));
    if (!b.day.empty()) {
      ASSERT_TRUE(fe().type(p, "?DATA", b.day));
    }
    fe().expectMessage(rt::button::Ok, b.message);
    ASSERT_TRUE(fe().click(p, "?OK"));
    ASSERT_TRUE(fe().settle(p));
    EXPECT_FALSE(p->isClosed()) << b.nip << " " << b.day;
  }
  EXPECT_TRUE(server_.requests().empty()) << "nothing is sent before the question is right";
  ASSERT_TRUE(fe().type(p, "?DATA", rt::formatShortDate(rt::today())));
  fe().expectMessage(rt::button::Ok, "NIE MA w wykazie");
  ASSERT_TRUE(fe().click(p, "?OK"));
  ASSERT_TRUE(fe().waitForClose(p));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT WYNIK || '/' || NIP FROM BIALA_LISTA_RACHURZ WHERE ID_RACHUNKU = 1"), "NIE/5261040828");

  // The next check offers the number checked last; cancelling sends nothing.
  p = prompt(w, 1);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->value("?NIP"), kOfficeNip);
  ASSERT_TRUE(fe().click(p, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(p));
  EXPECT_EQ(server_.requests().size(), 1u);

  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = window("Edycja rachunku");
  ASSERT_TRUE(f);
  EXPECT_EQ(column(f, "?SPRAWDZENIA", 4), (std::vector<std::string>{"u-1"}));
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
}

TEST_P(AccountWhiteListTest, ANewContractorAccountIsCheckedBeforeItIsSaved) {
  const std::string account = fullNumber(kBban);
  server_.serve(checkPath(kContractorNip, account), 200, answer("NIE", "n-1"));
  auto w = open(RACHUNKI_KONTRAHENTA_BRW, "Rachunki bankowe kontrahenta", "KON:ID_KONTRAHENTA", 1);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie rachunku");
  ASSERT_TRUE(f);
  fe().setClipboardText(account);
  ASSERT_TRUE(fe().click(f, "?WKLEJ"));

  // "Nie": the form stays open and nothing is written.
  fe().expectMessage(svc::kNo, "Czy mimo to zapisać rachunek?");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed());
  EXPECT_EQ(f->focus(), "?NUMER_KONTA");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RACHUNEK_KONTRAHENTA"), "0");
  EXPECT_EQ(checks("BIALA_LISTA_RACHKON"), "0");

  // "Tak": the account is saved and the answer kept with it.
  fe().expectMessage(svc::kYes, "NIE MA w wykazie podatników VAT");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  const std::string id = scalar("SELECT ID_RACHUNKU FROM RACHUNEK_KONTRAHENTA WHERE NUMER_RACHUNKU = '" +
                                std::string(kBban) + "'");
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(scalar("SELECT WYNIK || '/' || ID_ZAPYTANIA FROM BIALA_LISTA_RACHKON WHERE ID_RACHUNKU = " + id), "NIE/n-1");

  // Without the service the account is saved after a warning, and not as checked.
  ASSERT_EQ(svc::USTAWPARAMKONF("s", "BialaLista_Adres", slownik::test::deadHttpAddress()), 0);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  f = window("Dodawanie rachunku");
  ASSERT_TRUE(f);
  fe().setClipboardText(fullNumber("199000030000000000000077"));
  ASSERT_TRUE(fe().click(f, "?WKLEJ"));
  fe().expectMessage(rt::button::Ok, "Brak połączenia z wykazem podatników VAT");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RACHUNEK_KONTRAHENTA"), "2");
  EXPECT_EQ(checks("BIALA_LISTA_RACHKON"), "1");

  // A changed account is not asked about again on its save.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  f = window("Edycja rachunku");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?RACHKON:NAZWA", "zmieniony"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(server_.requests().size(), 2u);
}

SLOWNIK_ON_ALL_BACKENDS(AccountWhiteListTest);

// A database from before the white list gets its history tables on the upgrade, and its
// accounts can be checked at once.
class WhiteListUpgrade : public slownik::test::DatabaseTest {
 protected:
  bool wantsSchema() const override { return false; }
};

TEST_P(WhiteListUpgrade, TheHistoryTablesArriveWithMigrationTen) {
  ASSERT_TRUE(sql::migrate(db(), 9).isOk());
  EXPECT_FALSE(db().execute("SELECT COUNT(*) FROM BIALA_LISTA_RACHKON").isOk());
  exec("INSERT INTO RACHUNEK_KONTRAHENTA (ID_RACHUNKU, ID_KONTRAHENTA, ID_BANKU, NUMER_RACHUNKU) VALUES (1, 1, 1, '1')");
  ASSERT_TRUE(sql::migrate(db()).isOk());
  EXPECT_GE(sql::schemaVersion(db()), 10);
  for (const char* table : {"BIALA_LISTA_RACHKON", "BIALA_LISTA_RACHURZ"}) {
    exec(std::string("INSERT INTO ") + table +
         " (ID_RACHUNKU, DATA_SPRAWDZENIA, WYNIK, ID_ZAPYTANIA, NIP) VALUES (1, 90000, 'TAK', 'a', '1'), "
         "(1, 90001, 'NIE', 'b', '1')");
    EXPECT_EQ(scalar(std::string("SELECT COUNT(DISTINCT ID_SPRAWDZENIA) FROM ") + table), "2")
        << table << ": each answer gets an id of its own";
  }
  // Every check must name its day.
  EXPECT_FALSE(db().execute("INSERT INTO BIALA_LISTA_RACHKON (ID_RACHUNKU, WYNIK) VALUES (1, 'TAK')").isOk());
}

SLOWNIK_ON_ALL_BACKENDS(WhiteListUpgrade);

}  // namespace
}  // namespace slownik::banking
