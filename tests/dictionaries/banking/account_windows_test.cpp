// The account lists and forms played through the headless front-end, checked against the
// database and the owners' record buffers, in both modes.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/banking/account_procedures.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/iban.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "engine/window_fixture.h"

namespace slownik::banking {
namespace {

constexpr double kJan = sql::demo::kUserId;
// List-buffer fields: the bank-name column holds its value and its icon.
constexpr int kDefaultIconField = 2;
constexpr int kCompanyFlagIconField = 8;
constexpr int kNumberField = 4;  // "Numer rachunku", after the bank's name, its icon and LK

struct Outcome {
  std::atomic<int> response{-1};
  std::atomic<double> ownerDefault{-1};
};

class AccountWindowTest : public slownik::test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_EQ(svc::USTAWPARAMKONF("s", "IBAN", "Tak"), 0);
  }

  //! Starts `list` on a procedure thread; `ownerField` = `ownerId` is put in that thread's
  //! owner buffer first (as the owner's form would hold it), and `ownerDefault` is read
  //! back from it when the list returns.
  std::shared_ptr<rt::Window> open(void (*list)(std::uint8_t), std::uint8_t mode, const std::string& caption,
                                   std::string ownerField = {}, double ownerId = 0, std::string ownerDefault = {}) {
    outcome_ = std::make_shared<Outcome>();
    auto out = outcome_;
    start([=] {
      if (!ownerField.empty()) data::field(ownerField).set(ownerId);
      data::GLOBALREQUEST() = data::kNoRequest;
      list(mode);
      out->response = data::GLOBALRESPONSE();
      if (!ownerDefault.empty()) out->ownerDefault = data::field(ownerDefault).number();
    });
    auto w = fe().waitForWindow(caption);
    EXPECT_TRUE(w) << caption;
    return w;
  }
  std::shared_ptr<rt::Window> form(const std::string& title) {
    auto f = fe().waitForWindow(title);
    EXPECT_TRUE(f) << title;
    return f;
  }
  static std::vector<std::string> column(const std::shared_ptr<rt::Window>& w, int field,
                                         const std::string& list = "?LIST") {
    std::vector<std::string> out;
    auto control = w->control(list);
    if (!control) return out;
    for (const auto& r : control->rows) out.push_back(field <= static_cast<int>(r.size()) ? r[field - 1] : "");
    return out;
  }
  void addTaxOffice() {
    exec("INSERT INTO URZEDY (ID_URZEDU, NAZWA) VALUES (5, 'Urząd Skarbowy Warszawa-Mokotów')");
    exec("INSERT INTO RACHUNEK_URZEDU (ID_RACHUNKU, ID_URZEDU, ID_BANKU, SYM_WALUTY, LK, NUMER_RACHUNKU, AKTYWNY, NAZWA) "
         "VALUES (1, 5, 1, 'PLN', '11', '199000031111111111111111', 1, 'PIT'), "
         "(2, 5, 1, 'PLN', '22', '199000032222222222222222', 0, 'stary')");
  }

  std::shared_ptr<Outcome> outcome_;
};

TEST_P(AccountWindowTest, CompanyFormPastesChecksIbanDuplicatesAndTheCurrencyDefault) {
  auto w = open(RACHUNKI_FIRMY_BRW, 0, "Rachunki bankowe firmy");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->text("?NAGLOWEK:TEKST"), "Demo Handel");
  EXPECT_EQ(column(w, kDefaultIconField), (std::vector<std::string>{"1"}));
  EXPECT_EQ(column(w, kCompanyFlagIconField), (std::vector<std::string>{"1"}));
  EXPECT_EQ(column(w, kNumberField), (std::vector<std::string>{"1990 0003 0000 1234 5678 9012"}))
      << "the number reads in groups of four after its check digits";

  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = form("Dodawanie rachunku");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?RACHFIR:SYM_WALUTY"), "PLN");
  EXPECT_EQ(f->value("?RACHFIR:SYM_KRAJU"), "PL");
  const std::string lk = svc::IBAN_OBLICZSUMEKONTROLNA("199000160000111122223333");
  fe().setClipboardText(lk + " 1990 0016 0000 1111 2222 3333");
  ASSERT_TRUE(fe().click(f, "?WKLEJ"));
  EXPECT_EQ(f->value("?RACHFIR:LK"), lk);
  EXPECT_EQ(f->value("?NUMER_BANKU"), "19900016");
  EXPECT_EQ(f->value("?NUMER_KONTA"), "0000111122223333");
  EXPECT_EQ(f->value("?BAN:NAZWA"), "Bank Demonstracyjny S.A. Oddział w Krakowie");

  fe().setClipboardText("12 34");
  fe().expectMessage(rt::button::Ok, "W schowku nie ma prawidłowego numeru rachunku!");
  ASSERT_TRUE(fe().click(f, "?WKLEJ"));
  EXPECT_EQ(f->value("?NUMER_KONTA"), "0000111122223333");

  // Empty check digits are filled in; other digits are put right on request.
  ASSERT_TRUE(fe().type(f, "?RACHFIR:LK", ""));
  fe().expectMessage(rt::button::Ok, "Zgodnie ze standardem IBAN należy wypełnić pole sumy kontrolnej!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  EXPECT_EQ(f->value("?RACHFIR:LK"), lk);
  ASSERT_TRUE(fe().type(f, "?RACHFIR:LK", lk == "00" ? "01" : "00"));
  fe().expectMessage(svc::kYes, "Wyliczona suma kontrolna jest różna od wpisanej.|Czy zmodyfikować sumę?");
  ASSERT_TRUE(fe().click(f, "?OK"));
  EXPECT_EQ(f->value("?RACHFIR:LK"), lk);
  ASSERT_TRUE(fe().type(f, "?NUMER_KONTA", "00001111222233"));
  fe().expectMessage(rt::button::Ok, "numer wewnętrzny musi mieć 16 znaków numerycznych!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().type(f, "?NUMER_KONTA", "0000111122223333"));

  // One default account per currency.
  ASSERT_TRUE(fe().click(f, "?RACHFIR:DOMYSLNY_WAL"));
  fe().expectMessage(rt::button::Ok, "Domyślny rachunek w walucie PLN został już zdefiniowany!|Proszę zmienić definicję.");
  ASSERT_TRUE(fe().click(f, "?OK"));
  EXPECT_FALSE(f->isClosed());
  EXPECT_EQ(f->focus(), "?RACHFIR:DOMYSLNY_WAL");
  ASSERT_TRUE(fe().type(f, "?RACHFIR:SYM_WALUTY", "EUR"));
  ASSERT_TRUE(fe().type(f, "?RACHFIR:NAZWA", "Rachunek O'Brien"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT NAZWA FROM RACHUNEK_FIRMY WHERE NUMER_RACHUNKU = '199000160000111122223333'"),
            "Rachunek O'Brien");
  EXPECT_EQ(scalar("SELECT ID_BANKU FROM RACHUNEK_FIRMY WHERE ID_RACHUNKU = 2"), "2");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM LOG_ZDARZEN WHERE TABELA = 'RACHFIR' AND OPERACJA = 1 AND "
                   "OPIS LIKE '% 199000160000111122223333'"),
            "1");
  EXPECT_EQ(scalar("SELECT ID_RACHUNKU FROM FIRMA WHERE ID_FIRMY = 1"), "1") << "a second account is no default";

  // The same number again is refused.
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  f = form("Dodawanie rachunku");
  ASSERT_TRUE(f);
  fe().setClipboardText(lk + "19900016 0000111122223333");
  ASSERT_TRUE(fe().click(f, "?WKLEJ"));
  fe().expectMessage(rt::button::Ok, "Rachunek o numerze 199000160000111122223333 już istnieje!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().settle(w));

  // Closing publishes the default account per currency.
  ASSERT_TRUE(fe().close(w));
  join();
  auto defaults = data::glo().kolRachBank();
  ASSERT_EQ(defaults.size(), 2u);
  EXPECT_EQ(defaults[0].accountId, 1);
  EXPECT_EQ(defaults[0].currency, "PLN");
  EXPECT_EQ(defaults[1].currency, "EUR");
  EXPECT_EQ(LADUJDOMYSLNERACHUNKI(), 2);
}

TEST_P(AccountWindowTest, WithoutIbanAShortBankNumberIsKeptWithBlanksAndTheFirstAccountIsTheDefault) {
  ASSERT_EQ(svc::USTAWPARAMKONF("s", "IBAN", "Nie"), 0);
  auto w = open(RACHUNEK_PRACOWNIKA, 0, "Rachunki bankowe pracownika", "PRA:ID_PRACOWNIKA", 1, "PRA:ID_RACHUNKU");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->text("?NAGLOWEK:TEKST"), "Kowalski Jan");
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = form("Dodawanie rachunku");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?IBAN"), "Nie");

  // An unknown bank number opens the bank picker; cancelling it leaves no bank.
  ASSERT_TRUE(fe().type(f, "?NUMER_BANKU", "123"));
  auto picker = form("Lista banków");
  ASSERT_TRUE(picker);
  ASSERT_TRUE(fe().click(picker, "?CLOSE"));
  ASSERT_TRUE(fe().waitForClose(picker));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?NUMER_BANKU");
  EXPECT_EQ(f->value("?BAN:NAZWA"), "");

  ASSERT_TRUE(fe().type(f, "?NUMER_KONTA", "12'34"));
  EXPECT_EQ(f->value("?RACHPRAC:NAZWA"), "123     -12'34");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT NUMER_RACHUNKU FROM RACHUNEK_PRACOWNIKA WHERE ID_PRACOWNIKA = 1"), "123     12'34");
  EXPECT_EQ(scalar("SELECT ID_BANKU FROM RACHUNEK_PRACOWNIKA WHERE ID_PRACOWNIKA = 1"), "0");
  const std::string id = scalar("SELECT ID_RACHUNKU FROM RACHUNEK_PRACOWNIKA WHERE ID_PRACOWNIKA = 1");
  EXPECT_EQ(scalar("SELECT ID_RACHUNKU FROM PRACOWNIK WHERE ID_PRACOWNIKA = 1"), id);
  EXPECT_EQ(column(w, kDefaultIconField), (std::vector<std::string>{"1"}));
  ASSERT_TRUE(fe().close(w));
  join();
  EXPECT_EQ(outcome_->ownerDefault.load(), std::stod(id));
}

TEST_P(AccountWindowTest, DefaultToggleRefusesInactiveAndClearsOnDeactivationAndDelete) {
  addTaxOffice();
  auto w = open(RACHUNKI_URZEDU_BRW, 0, "Rachunki bankowe urzędu", "URZ:ID_URZEDU", 5);
  ASSERT_TRUE(w);
  auto officeDefault = [&] { return scalar("SELECT COALESCE(ID_RACHUNKU, 0) FROM URZEDY WHERE ID_URZEDU = 5"); };
  ASSERT_EQ(column(w, kDefaultIconField), (std::vector<std::string>{"0", "0"}));

  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  fe().expectMessage(rt::button::Ok, "Nie można ustawić jako domyślny rachunku, który jest nieaktywny!");
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  EXPECT_EQ(officeDefault(), "0");

  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  EXPECT_EQ(officeDefault(), "1");
  EXPECT_EQ(column(w, kDefaultIconField), (std::vector<std::string>{"1", "0"}));
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  EXPECT_EQ(officeDefault(), "0") << "the toggle clears the default";
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  EXPECT_EQ(officeDefault(), "1");

  // Deactivating the default account clears it.
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = form("Edycja rachunku");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?NUMER_BANKU"), "19900003");
  EXPECT_EQ(f->value("?NUMER_KONTA"), "1111111111111111");
  const std::string lk = svc::IBAN_OBLICZSUMEKONTROLNA("199000031111111111111111");
  ASSERT_TRUE(fe().type(f, "?RACHURZ:LK", lk));
  ASSERT_TRUE(fe().click(f, "?RACHURZ:AKTYWNY"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT AKTYWNY FROM RACHUNEK_URZEDU WHERE ID_RACHUNKU = 1"), "0");
  EXPECT_EQ(officeDefault(), "0");

  // Deleting the default account clears it; setting a default activates nothing else.
  exec("UPDATE RACHUNEK_URZEDU SET AKTYWNY = 1 WHERE ID_RACHUNKU = 2");
  ASSERT_TRUE(fe().press(w, rt::key::F5));
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  EXPECT_EQ(officeDefault(), "2");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  f = form("Aktualizacja rekordu");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RACHUNEK_URZEDU WHERE ID_URZEDU = 5"), "1");
  EXPECT_EQ(officeDefault(), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM LOG_ZDARZEN WHERE TABELA = 'RACHURZ' AND OPERACJA = 3"), "1");
}

TEST_P(AccountWindowTest, OwnerFormModeChangesTheBufferOnlyAndViewModeIsReadOnly) {
  auto w = open(RACHUNKI_KONTRAHENTA_BRW, 1, "Rachunki bankowe kontrahenta", "KON:ID_KONTRAHENTA", 2,
                "KON:ID_RACHUNKU");
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->control("?DOMYSLNY")->enabled) << "no rows yet";
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = form("Dodawanie rachunku");
  ASSERT_TRUE(f);
  const std::string lk = svc::IBAN_OBLICZSUMEKONTROLNA("899900030000000000000042");
  fe().setClipboardText(lk + "89990003 0000 0000 0000 0042");
  ASSERT_TRUE(fe().click(f, "?WKLEJ"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_TRUE(w->control("?DOMYSLNY")->enabled);
  EXPECT_EQ(column(w, kDefaultIconField), (std::vector<std::string>{"1"}));
  EXPECT_EQ(scalar("SELECT COALESCE(ID_RACHUNKU, 0) FROM KONTRAHENT WHERE ID_KONTRAHENTA = 2"), "0")
      << "the caller's form saves the contractor";
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  EXPECT_EQ(column(w, kDefaultIconField), (std::vector<std::string>{"0"}));
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  ASSERT_TRUE(fe().close(w));
  join();
  EXPECT_EQ(outcome_->ownerDefault.load(),
            std::stod(scalar("SELECT ID_RACHUNKU FROM RACHUNEK_KONTRAHENTA WHERE ID_KONTRAHENTA = 2")));

  w = open(RACHUNKI_KONTRAHENTA_BRW, 6, "Rachunki bankowe kontrahenta", "KON:ID_KONTRAHENTA", 2);
  ASSERT_TRUE(w);
  for (const char* button : {"?INSERT", "?CHANGE", "?DELETE", "?DOMYSLNY", "?DELETE:2", "?DOMYSLNY:2"})
    EXPECT_FALSE(w->control(button)->enabled) << button;
}

TEST_P(AccountWindowTest, ContractorVirtualAccountsAreFlaggedAndDeletedOneByOne) {
  exec("INSERT INTO RACHUNEK_WIRTUALNY (ID_RACHUNKU, ID_KONTRAHENTA, NUMER_RACHUNKU, CZY_DOMYSLNY) VALUES "
       "(7, 1, '11 1990-0003 0000 0000 0000 0007', 1), (8, 1, '22 1990 0003 0000 0000 0000 0008', 0), "
       "(9, 2, '33', 0)");
  auto w = open(RACHUNKI_KONTRAHENTA_BRW, 0, "Rachunki bankowe kontrahenta", "KON:ID_KONTRAHENTA", 1);
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, 2, "?LIST1"), (std::vector<std::string>{"1", "0"}));
  ASSERT_TRUE(fe().click(w, "?TAB:WIRTUALNE"));
  ASSERT_TRUE(fe().clickRow(w, "?LIST1", 2));
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  EXPECT_EQ(column(w, 2, "?LIST1"), (std::vector<std::string>{"1", "1"})) << "the others keep their flags";

  fe().expectPopup("Kopiuj pełny nr konta");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST1", 1));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(fe().clipboardText(), "11199000030000000000000007");

  fe().expectMessage(svc::kNo, "Czy chcesz usunąć wybraną pozycję?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  fe().expectMessage(svc::kYes, "Czy chcesz usunąć wybraną pozycję?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RACHUNEK_WIRTUALNY"), "2");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RACHUNEK_WIRTUALNY WHERE ID_RACHUNKU = 7"), "0");
  EXPECT_EQ(column(w, 3, "?LIST1"), (std::vector<std::string>{"22 1990 0003 0000 0000 0000 0008"}));
}

TEST_P(AccountWindowTest, CompanyListIsReadOnlyWithoutTheRightToEditCompanyData) {
  data::glo().ID_UZYTKOWNIKA = kJan;
  auto w = open(RACHUNKI_FIRMY_BRW, 0, "Rachunki bankowe firmy");
  ASSERT_TRUE(w);
  for (const char* button : {"?INSERT", "?CHANGE", "?DELETE", "?DOMYSLNY"})
    EXPECT_FALSE(w->control(button)->enabled) << button;
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  EXPECT_EQ(scalar("SELECT ID_RACHUNKU FROM FIRMA WHERE ID_FIRMY = 1"), "1");
  fe().expectPopup("Kopiuj pełny nr konta");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(fe().clipboardText(), "27199000030000123456789012");
}

SLOWNIK_ON_ALL_BACKENDS(AccountWindowTest);

}  // namespace
}  // namespace slownik::banking
