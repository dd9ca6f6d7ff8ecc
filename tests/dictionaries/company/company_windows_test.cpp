// The company form with its address and person lists, the address form and the excise
// person form, played through the headless front-end and checked against the database.
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "dictionaries/company/company_address_form.h"
#include "dictionaries/company/company_form.h"
#include "engine/window_fixture.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/keys.h"
#include "framework/services/program_parameters.h"

namespace slownik::company::test {
namespace {

constexpr long long kDemo = sql::demo::kCompanyId;
constexpr long long kOther = 7;  // the caller works in another company
// The address list's fields: the day, its icon, town, street, house, flat, phone, id.
constexpr std::size_t kIconField = 1;
constexpr std::size_t kTownField = 2;

class CompanyWindowTest : public slownik::test::WindowFixture {
 protected:
  struct Outcome {
    std::atomic<int> response{-1};
  };
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("INSERT INTO FIRMA (ID_FIRMY, NAZWA, NAZWA_PELNA, NR_FK_PULA_OD, NR_FK_PULA_DO, NR_FK_PULA_AKTUALNY, SEMAFOR) "
         "VALUES (" + std::to_string(kOther) + ", 'O''Brien i Syn', 'O''Brien i Syn s.c.', 0, 99999999, 0, 0)");
  }
  //! FIRMA_UPD on a procedure thread, for company `id` (insert: none), as its list calls it.
  std::shared_ptr<rt::Window> openCompany(int request, long long id = kDemo, std::string title = {}) {
    outcome_ = std::make_shared<Outcome>();
    auto out = outcome_;
    start([out, request, id] {
      if (request != data::kInsertRecord) {
        data::field("FIR:ID_FIRMY").set(id);
        if (data::fileManager("FIRMA")->fetch("FIR:PK_FIRMA") != 0) return;
      }
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      FIRMA_UPD();
      out->response = data::GLOBALRESPONSE();
    });
    if (title.empty())
      title = request == data::kInsertRecord ? "Dodawanie firmy"
              : request == data::kChangeRecord ? "Edycja firmy"
                                               : "Podgląd firmy";
    return window(title);
  }
  //! Presses Zapisz expecting the warning `text`; the form stays open.
  void refused(const std::shared_ptr<rt::Window>& f, const std::string& text) {
    fe().expectMessage(rt::button::Ok, text);
    ASSERT_TRUE(fe().click(f, "?OK"));
    ASSERT_TRUE(fe().settle(f));
    EXPECT_FALSE(f->isClosed()) << text;
  }
  void saved(const std::shared_ptr<rt::Window>& f) {
    ASSERT_TRUE(fe().click(f, "?OK"));
    ASSERT_TRUE(fe().waitForClose(f));
    join();
    EXPECT_EQ(outcome_->response.load(), data::kRequestCompleted);
  }
  std::string company(long long id, const std::string& column) {
    return scalar("SELECT " + column + " FROM FIRMA WHERE ID_FIRMY = " + std::to_string(id));
  }
  //! Row (1-based) of a list window holding `value` in any field; 0 when none is loaded.
  static int rowHolding(const std::shared_ptr<rt::Window>& w, const std::string& value) {
    auto r = rows(w);
    for (std::size_t i = 0; i < r.size(); ++i)
      for (const auto& field : r[i])
        if (field == value) return static_cast<int>(i) + 1;
    return 0;
  }
  std::shared_ptr<Outcome> outcome_;
};

TEST_P(CompanyWindowTest, SaveChecksRunInOrderAndFocusTheirField) {
  auto f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?FIR:NAZWA"), "Demo Handel");

  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA", ""));
  refused(f, "Musisz wpisać nazwę firmy!");
  EXPECT_EQ(f->focus(), "?FIR:NAZWA");

  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA", "Demo Handel"));
  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA_PELNA", ""));
  refused(f, "Musisz wpisać pełną nazwę firmy!");
  EXPECT_EQ(f->focus(), "?FIR:NAZWA_PELNA");

  // Another company's name, apostrophe and all, is taken.
  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA_PELNA", "Demo Handel sp. z o.o."));
  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA", "O'Brien i Syn"));
  refused(f, "Firma o podanej nazwie już istnieje!|Proszę wprowadzić inną nazwę firmy.");
  EXPECT_EQ(f->focus(), "?FIR:NAZWA");
  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA", "Demo Handel"));  // its own name is no conflict

  ASSERT_TRUE(fe().type(f, "?FIR:NIP", ""));
  refused(f, "Musisz wpisać NIP płatnika!");
  EXPECT_EQ(f->focus(), "?FIR:NIP");

  // A wrong number is kept only when the user says so.
  ASSERT_TRUE(fe().type(f, "?FIR:NIP", "1234567890"));
  fe().expectMessage(rt::button::No, "Numer NIP jest niepoprawny.|Czy zapisać dane firmy?");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(fe().messages().back().title, "TRAMEL: Pytanie");
  EXPECT_EQ(fe().messages().back().defaultButton, rt::button::No);
  EXPECT_EQ(f->focus(), "?FIR:NIP");

  ASSERT_TRUE(fe().type(f, "?FIR:NR_FK_PULA_DO", "1000"));
  fe().expectMessage(rt::button::Yes, "Numer NIP jest niepoprawny.");
  refused(f, "Numer końca puli jest mniejszy (równy) niż numer początku puli!");
  EXPECT_EQ(f->focus(), "?FIR:NR_FK_PULA_OD");
  EXPECT_EQ(f->value("?SHEET"), "4");

  ASSERT_TRUE(fe().type(f, "?FIR:NR_FK_PULA_DO", "9999"));
  ASSERT_TRUE(fe().type(f, "?FIR:NR_FK_PULA_AKTUALNY", "10000"));
  fe().expectMessage(rt::button::Yes, "Numer NIP jest niepoprawny.");
  refused(f, "Aktualny numer w puli jest spoza zakresu puli!|Proszę zmienić numer aktualny.");
  EXPECT_EQ(f->focus(), "?FIR:NR_FK_PULA_AKTUALNY");
  EXPECT_EQ(company(kDemo, "NIP"), "5271000121") << "nothing written while a check fails";

  ASSERT_TRUE(fe().type(f, "?FIR:NR_FK_PULA_AKTUALNY", "1500"));
  fe().expectMessage(rt::button::Yes, "Numer NIP jest niepoprawny.");
  saved(f);
  EXPECT_EQ(company(kDemo, "NIP"), "1234567890");
  EXPECT_EQ(company(kDemo, "NR_FK_PULA_AKTUALNY"), "1500");
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kDemo));
}

TEST_P(CompanyWindowTest, AWrongRegonIsKeptOnlyWhenTheUserSaysSo) {
  auto f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?FIR:REGON", "012345676"));
  fe().expectMessage(rt::button::No, "Numer REGON jest niepoprawny.|Czy zapisać dane firmy?");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(fe().messages().back().title, "TRAMEL: Pytanie");
  EXPECT_EQ(fe().messages().back().defaultButton, rt::button::No);
  EXPECT_EQ(f->focus(), "?FIR:REGON");
  EXPECT_EQ(company(kDemo, "REGON"), "012345675") << "nothing written";

  // A local unit's 14 digits with both check digits right pass without a question.
  ASSERT_TRUE(fe().type(f, "?FIR:REGON", "01234567500008"));
  saved(f);
  EXPECT_EQ(company(kDemo, "REGON"), "01234567500008");

  f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?FIR:REGON", "1234567"));
  fe().expectMessage(rt::button::Yes, "Numer REGON jest niepoprawny.");
  saved(f);
  EXPECT_EQ(company(kDemo, "REGON"), "1234567");
}

TEST_P(CompanyWindowTest, ANewCompanyGetsItsFirstAddressAsDefaultAndBecomesTheCurrentOne) {
  data::glo().ID_FIRMY = static_cast<double>(kOther);
  auto f = openCompany(data::kInsertRecord);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?FIR:NAZWA"), "");
  EXPECT_EQ(f->value("?FIR:NR_FK_PULA_OD"), "0");
  EXPECT_EQ(f->value("?FIR:NR_FK_PULA_DO"), "99999999");
  EXPECT_FALSE(f->control("?DOMYSLNY")->enabled) << "no address to mark yet";
  const std::string id = scalar("SELECT ID FROM REZERWACJA_ID WHERE TABELA = 'FIRMA'");
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(sql::sqlId(data::glo().ID_FIRMY.get()), id) << "the child windows work on the new company";

  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA", "Nowa Firma"));
  EXPECT_EQ(f->value("?FIR:NAZWA_PELNA"), "Nowa Firma");
  EXPECT_EQ(f->value("?FIR:PLATNIK_VAT"), "0");  // not a VAT payer: no tax number needed
  refused(f, "Musisz dodać adres firmy!");
  EXPECT_EQ(f->value("?SHEET"), "2");
  EXPECT_EQ(f->focus(), "?INSERT:ADRES");

  ASSERT_TRUE(fe().click(f, "?INSERT:ADRES"));
  auto a = window("Dodawanie adresu");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->value("?ADRFIR:SYM_KRAJU"), "PL");
  EXPECT_EQ(a->value("?ADRFIR:DATA_OD"), rt::formatShortDate(rt::today()));
  refused(a, "Miejscowość i poczta jednocześnie nie mogą być puste!");
  EXPECT_EQ(a->focus(), "?ADRFIR:MIEJSCOWOSC");
  ASSERT_TRUE(fe().type(a, "?ADRFIR:MIEJSCOWOSC", "Radom"));
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().waitForClose(a));
  ASSERT_TRUE(fe().settle(f));
  auto rows = f->control("?LIST:ADRESY")->rows;
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][kTownField], "Radom");
  EXPECT_EQ(rows[0][kIconField], "1") << "the first address is the default one";
  EXPECT_TRUE(f->control("?DOMYSLNY")->enabled);
  EXPECT_NE(scalar("SELECT KP_DATA_OD FROM ADRESY_FIRMY WHERE ID_FIRMY = " + id), "");

  // Pressed on the default address, the button takes the mark away.
  ASSERT_TRUE(fe().clickRow(f, "?LIST:ADRESY", 1));
  ASSERT_TRUE(fe().click(f, "?DOMYSLNY"));
  EXPECT_EQ(f->control("?LIST:ADRESY")->rows[0][kIconField], "0");
  refused(f, "Proszę wprowadzić adres domyślny firmy!");
  EXPECT_EQ(f->focus(), "?DOMYSLNY");
  ASSERT_TRUE(fe().click(f, "?DOMYSLNY"));
  saved(f);

  EXPECT_EQ(scalar("SELECT ID_FIRMY FROM FIRMA WHERE NAZWA = 'Nowa Firma'"), id);
  EXPECT_EQ(company(std::stoll(id), "ID_ADRESU_DOMYSLNEGO"),
            scalar("SELECT ID_ADRESY_FIRMY FROM ADRESY_FIRMY WHERE ID_FIRMY = " + id));
  EXPECT_EQ(sql::sqlId(data::glo().ID_FIRMY.get()), id) << "the new company is the one the user works in";
}

TEST_P(CompanyWindowTest, ACancelledNewCompanyTakesItsRowsAndLeavesTheCallersCompany) {
  data::glo().ID_FIRMY = static_cast<double>(kOther);
  auto f = openCompany(data::kInsertRecord);
  ASSERT_TRUE(f);
  const std::string id = scalar("SELECT ID FROM REZERWACJA_ID WHERE TABELA = 'FIRMA'");
  ASSERT_TRUE(fe().click(f, "?INSERT:ADRES"));
  auto a = window("Dodawanie adresu");
  ASSERT_TRUE(a);
  ASSERT_TRUE(fe().type(a, "?ADRFIR:POCZTA", "Kielce"));
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().waitForClose(a));

  ASSERT_TRUE(fe().click(f, "?INSERT:AKCYZA"));
  auto p = window("Dodawanie osoby fizycznej");
  ASSERT_TRUE(p);
  ASSERT_TRUE(fe().type(p, "?AKCFP:IMIE", "Anna"));
  ASSERT_TRUE(fe().type(p, "?AKCFP:NAZWISKO", "Nowak"));
  ASSERT_TRUE(fe().type(p, "?AKCFP:WOJEWODZTWO", "świętokrzyskie"));
  ASSERT_TRUE(fe().type(p, "?AKCFP:MIEJSCOWOSC", "Kielce"));
  ASSERT_TRUE(fe().click(p, "?OK"));
  ASSERT_TRUE(fe().waitForClose(p));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM AKCYZA_FIRMA_PODATNIK WHERE ID_FIRMY = " + id), "1");

  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  join();
  EXPECT_EQ(outcome_->response.load(), data::kRequestCancelled);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ADRESY_FIRMY WHERE ID_FIRMY = " + id), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM AKCYZA_FIRMA_PODATNIK WHERE ID_FIRMY = " + id), "0");
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kOther));
}

TEST_P(CompanyWindowTest, ExcisePersonIsCheckedRuleByRuleAndOnlyOneIsKept) {
  auto f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?INSERT:AKCYZA"));
  auto p = window("Dodawanie osoby fizycznej");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->value("?AKCFP:SYM_KRAJU"), "PL");
  ASSERT_TRUE(fe().type(p, "?AKCFP:SYM_KRAJU", ""));
  fe().expectMessage(rt::button::Ok, "Imię i nazwisko muszą być wypełnione!");
  fe().expectMessage(rt::button::Ok, "Symbol kraju musi być wypełniony!");
  fe().expectMessage(rt::button::Ok, "Województwo musi być wypełnione!");
  refused(p, "Miejscowość musi być wypełniona!");
  ASSERT_TRUE(fe().type(p, "?AKCFP:IMIE", "Jan"));
  ASSERT_TRUE(fe().type(p, "?AKCFP:NAZWISKO", "D'Arc"));
  ASSERT_TRUE(fe().type(p, "?AKCFP:WOJEWODZTWO", "mazowieckie"));
  ASSERT_TRUE(fe().type(p, "?AKCFP:MIEJSCOWOSC", "Warszawa"));
  refused(p, "Symbol kraju musi być wypełniony!");
  ASSERT_TRUE(fe().type(p, "?AKCFP:SYM_KRAJU", "PL"));
  ASSERT_TRUE(fe().click(p, "?OK"));
  ASSERT_TRUE(fe().waitForClose(p));
  ASSERT_TRUE(fe().settle(f));
  ASSERT_EQ(f->control("?LIST:AKCYZA")->rows.size(), 1u);
  EXPECT_EQ(f->control("?LIST:AKCYZA")->rows[0][1], "D'Arc");

  fe().expectMessage(rt::button::Ok, "Można dodać tylko jedną osobę fizyczną!");
  ASSERT_TRUE(fe().click(f, "?INSERT:AKCYZA"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM AKCYZA_FIRMA_PODATNIK WHERE ID_FIRMY = 1"), "1");
  saved(f);
}

TEST_P(CompanyWindowTest, AddressDaysMayNotMeetAndAChangedTownOffersThePlaceOfIssue) {
  const std::string day = std::to_string(rt::dayNumber(2015, 3, 2));
  exec("INSERT INTO ADRESY_FIRMY (ID_ADRESY_FIRMY, ID_FIRMY, SYM_KRAJU, DATA_OD, MIEJSCOWOSC, TYP_ADRESU) VALUES "
       "(2, 1, 'PL', " + std::to_string(rt::dayNumber(2020, 1, 1)) + ", 'Kraków', 'S')");
  ASSERT_EQ(svc::USTAWPARAMKONF("s", "MiejWystFak/Rach", "Warszawa"), 0);
  auto f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  ASSERT_EQ(f->control("?LIST:ADRESY")->rows.size(), 2u);
  EXPECT_EQ(f->control("?LIST:ADRESY")->rows[0][kIconField], "1");  // the seeded default
  EXPECT_EQ(f->control("?LIST:ADRESY")->rows[1][kIconField], "0");

  // A new address on a day another one starts on is refused.
  ASSERT_TRUE(fe().click(f, "?INSERT:ADRES"));
  auto a = window("Dodawanie adresu");
  ASSERT_TRUE(a);
  ASSERT_TRUE(fe().type(a, "?ADRFIR:DATA_OD", "01.01.2020"));
  ASSERT_TRUE(fe().type(a, "?ADRFIR:MIEJSCOWOSC", "Kraków"));
  refused(a, "Proszę zmienić datę obowiązywania adresu!.|Adres o podanej dacie został już wprowadzony.");
  EXPECT_EQ(a->focus(), "?ADRFIR:DATA_OD");
  ASSERT_TRUE(fe().press(a, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(a));

  // A changed town other than the place of issue is offered as the new one.
  ASSERT_TRUE(fe().clickRow(f, "?LIST:ADRESY", 1));
  ASSERT_TRUE(fe().click(f, "?CHANGE:ADRES"));
  a = window("Edycja adresu");
  ASSERT_TRUE(a);
  ASSERT_TRUE(fe().type(a, "?ADRFIR:MIEJSCOWOSC", "Radom"));
  fe().expectMessage(rt::button::Yes, "Parametr: \"Miejsce wystawienia faktury\" jest inny niż wprowdzone.");
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().waitForClose(a));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(scalar("SELECT MIEJSCOWOSC FROM ADRESY_FIRMY WHERE ID_ADRESY_FIRMY = 1"), "Radom");
  EXPECT_EQ(scalar("SELECT WARTOSC FROM PARAMETR_KONF WHERE NAZWA = 'MiejWystFak/Rach'"), "Radom");
  EXPECT_EQ(scalar("SELECT DATA_OD FROM ADRESY_FIRMY WHERE ID_ADRESY_FIRMY = 1"), day);

  // Deleting the default address leaves the company without one.
  // Del is the address list's key, not the whole form's: in a field it deletes no address.
  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA", "Demo Handel"));
  ASSERT_TRUE(fe().press(f, rt::key::Del));
  EXPECT_TRUE(f->isActive());
  ASSERT_TRUE(fe().clickRow(f, "?LIST:ADRESY", 1));
  ASSERT_TRUE(fe().press(f, rt::key::Del));
  auto d = window("Aktualizacja rekordu");
  ASSERT_TRUE(d);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  ASSERT_TRUE(fe().click(d, "?OK"));
  ASSERT_TRUE(fe().waitForClose(d));
  ASSERT_TRUE(fe().settle(f));
  ASSERT_EQ(f->control("?LIST:ADRESY")->rows.size(), 1u);
  refused(f, "Proszę wprowadzić adres domyślny firmy!");
  ASSERT_TRUE(fe().clickRow(f, "?LIST:ADRESY", 1));
  ASSERT_TRUE(fe().click(f, "?DOMYSLNY"));
  saved(f);
  EXPECT_EQ(company(kDemo, "ID_ADRESU_DOMYSLNEGO"), "2");
}

TEST_P(CompanyWindowTest, AnAddressTakesItsCountryProvinceAndDayFromThePickers) {
  auto f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?INSERT:ADRES"));
  auto a = window("Dodawanie adresu");
  ASSERT_TRUE(a);

  // A country the list does not know opens it; giving up there keeps the user in the field.
  ASSERT_TRUE(fe().type(a, "?ADRFIR:SYM_KRAJU", "XX"));
  auto k = window("Kraje");
  ASSERT_TRUE(k);
  ASSERT_TRUE(fe().press(k, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(k));
  ASSERT_TRUE(fe().settle(a));
  EXPECT_EQ(a->focus(), "?ADRFIR:SYM_KRAJU");

  ASSERT_TRUE(fe().type(a, "?ADRFIR:SYM_KRAJU", "C"));
  k = window("Kraje");
  ASSERT_TRUE(k);
  int czechia = rowHolding(k, "CZ");
  ASSERT_GT(czechia, 0);
  ASSERT_TRUE(fe().clickRow(k, "?LIST", czechia));
  ASSERT_TRUE(fe().press(k, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(k));
  ASSERT_TRUE(fe().settle(a));
  EXPECT_EQ(a->value("?ADRFIR:SYM_KRAJU"), "CZ");

  ASSERT_TRUE(fe().click(a, "?WOJEWODZTWO:WYBIERZ"));
  auto p = window("Województwa");
  ASSERT_TRUE(p);
  int silesia = rowHolding(p, "śląskie");
  ASSERT_GT(silesia, 0);
  ASSERT_TRUE(fe().clickRow(p, "?LIST", silesia));
  ASSERT_TRUE(fe().press(p, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(p));
  ASSERT_TRUE(fe().settle(a));
  EXPECT_EQ(a->value("?ADRFIR:WOJEWODZTWO"), "śląskie");
  EXPECT_EQ(a->focus(), "?ADRFIR:POWIAT");

  const std::int32_t day = rt::dayNumber(2024, 5, 6);
  fe().expectDate(day);
  ASSERT_TRUE(fe().click(a, "?KALENDARZ"));
  EXPECT_EQ(a->value("?ADRFIR:DATA_OD"), rt::formatShortDate(day));
  // The calendar opened at the button, 15 units below it.
  ASSERT_FALSE(fe().calendarsShown().empty());
  const auto shown = fe().calendarsShown().back();
  EXPECT_EQ(shown.window, a->id());
  EXPECT_EQ(shown.control, "?KALENDARZ");
  EXPECT_EQ(shown.dx, 0);
  EXPECT_EQ(shown.dy, 15);
  ASSERT_TRUE(fe().type(a, "?ADRFIR:POCZTA", "Katowice"));  // no town: no place of issue to offer
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().waitForClose(a));
  EXPECT_EQ(scalar("SELECT SYM_KRAJU || ' ' || WOJEWODZTWO || ' ' || DATA_OD FROM ADRESY_FIRMY WHERE POCZTA = 'Katowice'"),
            "CZ śląskie " + std::to_string(day));
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
}

TEST_P(CompanyWindowTest, TaxFlagsFollowEachOtherAndReachTheCurrentCompany) {
  auto f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->control("?FIR:KWARTALNY_VAT")->enabled);
  ASSERT_TRUE(fe().click(f, "?FIR:METODA_KASOWA"));
  EXPECT_EQ(f->value("?FIR:MP"), "1");
  EXPECT_EQ(f->value("?FIR:KWARTALNY_VAT"), "1");
  EXPECT_FALSE(f->control("?FIR:KWARTALNY_VAT")->enabled);
  ASSERT_TRUE(fe().click(f, "?FIR:MP"));
  EXPECT_TRUE(f->control("?FIR:KWARTALNY_VAT")->enabled);
  ASSERT_TRUE(fe().click(f, "?FIR:MP"));
  saved(f);
  EXPECT_EQ(company(kDemo, "MP"), "1");
  EXPECT_EQ(company(kDemo, "METODA_KASOWA"), "1");
  EXPECT_EQ(data::glo().MP.get(), 1.0);
  EXPECT_EQ(data::glo().METODA_KASOWA.get(), 1.0);

  // Another company's flags are not the current company's.
  data::glo().MP = 0.0;
  auto g = openCompany(data::kChangeRecord, kOther);
  ASSERT_TRUE(g);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kOther)) << "switched while the form is open";
  ASSERT_TRUE(fe().click(g, "?FIR:MP"));
  EXPECT_FALSE(g->control("?FIR:KWARTALNY_VAT")->enabled);
  ASSERT_TRUE(fe().click(g, "?INSERT:ADRES"));
  auto a = window("Dodawanie adresu");
  ASSERT_TRUE(a);
  ASSERT_TRUE(fe().type(a, "?ADRFIR:MIEJSCOWOSC", "Gdańsk"));
  // The other company's own place of issue is asked about, and kept.
  fe().expectMessage(rt::button::No, "Miejsce wystawienia faktury");
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().waitForClose(a));
  saved(g);
  EXPECT_EQ(company(kOther, "MP"), "1");
  EXPECT_EQ(company(kOther, "KWARTALNY_VAT"), "1");
  EXPECT_EQ(data::glo().MP.get(), 0.0);
  EXPECT_EQ(data::glo().ID_FIRMY.get(), static_cast<double>(kDemo)) << "the caller's company comes back";
}

TEST_P(CompanyWindowTest, TheLogoReachesTheDatabaseOnlyWithTheForm) {
  const std::string path = testing::TempDir() + "slownik_logo_" + std::to_string(getpid()) + ".bmp";
  const std::string bytes("BM\0\x01\x02logo", 9);
  std::ofstream(path, std::ios::binary) << bytes;

  auto f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->text("?LOGO:STATUS"), "");
  fe().expectFile(path);
  ASSERT_TRUE(fe().click(f, "?LOGO:PLIK"));
  EXPECT_EQ(f->value("?FIR:LOGO_FIRMY"), path);
  fe().expectMessage(rt::button::Ok, "Pobrano plik graficzny " + path +
                                         "|Zapisanie całego formularza (klawiszem F10)|spowoduje zapisanie pliku do bazy danych.");
  ASSERT_TRUE(fe().click(f, "?LOGO:ZAPISZ"));
  EXPECT_EQ(f->text("?LOGO:STATUS"), "Plik graficzny zapisany w bazie danych.");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FIRMA WHERE ID_FIRMY = 1 AND LOGO_BLOB IS NOT NULL"), "0");
  saved(f);
  EXPECT_EQ(company(kDemo, "LOGO_FIRMY"), path);
  EXPECT_EQ(scalar("SELECT LENGTH(LOGO_BLOB) FROM FIRMA WHERE ID_FIRMY = 1"), "9");

  f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->text("?LOGO:STATUS"), "Plik graficzny zapisany w bazie danych.");
  // A file that is not there, too large, or no picture leaves the stored one as it is.
  ASSERT_TRUE(fe().type(f, "?FIR:LOGO_FIRMY", path + ".brak"));
  fe().expectMessage(rt::button::Ok, "Nie znaleziono pliku " + path + ".brak!");
  ASSERT_TRUE(fe().click(f, "?LOGO:ZAPISZ"));
  const std::string large = path + ".duzy.bmp";
  {
    std::ofstream out(large, std::ios::binary);
    out << "BM";
    out << std::string(5 * 1024 * 1024, '\0');
  }
  ASSERT_TRUE(fe().type(f, "?FIR:LOGO_FIRMY", large));
  fe().expectMessage(rt::button::Ok, "Plik graficzny nagłówka może mieć najwyżej 5 MB.");
  ASSERT_TRUE(fe().click(f, "?LOGO:ZAPISZ"));
  const std::string text = path + ".txt";
  std::ofstream(text, std::ios::binary) << "nie obrazek";
  ASSERT_TRUE(fe().type(f, "?FIR:LOGO_FIRMY", text));
  fe().expectMessage(rt::button::Ok, "Plik " + text + " nie jest plikiem graficznym.");
  ASSERT_TRUE(fe().click(f, "?LOGO:ZAPISZ"));
  std::remove(large.c_str());
  std::remove(text.c_str());
  EXPECT_EQ(f->text("?LOGO:STATUS"), "Plik graficzny zapisany w bazie danych.");
  fe().expectMessage(rt::button::Ok, "spowoduje usunięcie pliku z bazy danych.");
  ASSERT_TRUE(fe().click(f, "?LOGO:USUN"));
  EXPECT_EQ(f->text("?LOGO:STATUS"), "Plik graficzny udostępniony w folderze.");
  EXPECT_EQ(scalar("SELECT LENGTH(LOGO_BLOB) FROM FIRMA WHERE ID_FIRMY = 1"), "9");
  saved(f);
  EXPECT_EQ(scalar("SELECT COALESCE(LENGTH(LOGO_BLOB), 0) FROM FIRMA WHERE ID_FIRMY = 1"), "0");
  std::remove(path.c_str());
}

TEST_P(CompanyWindowTest, TheLogoTabPreviewsTheChosenFileOrTheStoredImage) {
  const std::string path = testing::TempDir() + "slownik_podglad_" + std::to_string(getpid()) + ".bmp";
  const std::string bytes("BM\0\x07podglad", 10);
  std::ofstream(path, std::ios::binary) << bytes;
  auto contents = [](const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };

  auto f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?LOGO:PODGLAD"), "");
  fe().expectFile(path);
  ASSERT_TRUE(fe().click(f, "?LOGO:PLIK"));
  EXPECT_EQ(f->value("?LOGO:PODGLAD"), path) << "the chosen file, before anything is stored";
  // A typed path that is no picture empties the preview; a picture's path fills it again.
  const std::string text = path + ".txt";
  std::ofstream(text, std::ios::binary) << "nie obrazek";
  ASSERT_TRUE(fe().type(f, "?FIR:LOGO_FIRMY", text));
  EXPECT_EQ(f->value("?LOGO:PODGLAD"), "");
  ASSERT_TRUE(fe().type(f, "?FIR:LOGO_FIRMY", path + ".brak"));
  EXPECT_EQ(f->value("?LOGO:PODGLAD"), "");
  ASSERT_TRUE(fe().type(f, "?FIR:LOGO_FIRMY", path));
  EXPECT_EQ(f->value("?LOGO:PODGLAD"), path);
  std::remove(text.c_str());

  fe().expectMessage(rt::button::Ok, "Pobrano plik graficzny");
  ASSERT_TRUE(fe().click(f, "?LOGO:ZAPISZ"));
  saved(f);

  // Opened again, the preview shows the bytes the database holds, even with the file
  // changed or gone meanwhile.
  std::remove(path.c_str());
  f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  const std::string shown = f->value("?LOGO:PODGLAD");
  ASSERT_FALSE(shown.empty());
  EXPECT_NE(shown, path);
  EXPECT_EQ(contents(shown), bytes);
  fe().expectMessage(rt::button::Ok, "spowoduje usunięcie pliku z bazy danych.");
  ASSERT_TRUE(fe().click(f, "?LOGO:USUN"));
  EXPECT_EQ(f->value("?LOGO:PODGLAD"), "") << "nothing stored and no file to show";
  EXPECT_FALSE(std::filesystem::exists(shown)) << "the preview's own copy is removed with it";
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  join();

  f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  const std::string again = f->value("?LOGO:PODGLAD");
  EXPECT_EQ(contents(again), bytes) << "cancelling kept the stored image";
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  join();
  EXPECT_FALSE(std::filesystem::exists(again)) << "no copy outlives its form";
}

TEST_P(CompanyWindowTest, WithoutTheEditRightTheFormOnlyShowsButTheAccountsStillOpen) {
  asUser(sql::demo::kUserId);
  grant("FirmaPodgl");  // any right but the edit right
  auto f = openCompany(data::kChangeRecord, kDemo, "Podgląd firmy");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->text("?CANCEL"), "Zamknij");
  EXPECT_FALSE(f->control("?FIR:NAZWA")->enabled);
  EXPECT_FALSE(f->control("?INSERT:ADRES")->enabled);
  EXPECT_FALSE(f->control("?DOMYSLNY")->enabled);
  EXPECT_FALSE(f->control("?INSERT:AKCYZA")->enabled);
  EXPECT_FALSE(f->control("?LOGO:ZAPISZ")->enabled);
  EXPECT_TRUE(f->control("?RACHUNKI")->enabled);

  ASSERT_TRUE(fe().click(f, "?RACHUNKI"));
  auto accounts = window("Rachunki bankowe firmy");
  ASSERT_TRUE(accounts);
  EXPECT_FALSE(accounts->control("?INSERT")->enabled) << "a read-only company gives a read-only account list";
  ASSERT_TRUE(fe().close(accounts));
  ASSERT_TRUE(fe().waitForClose(accounts));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->value("?FIR:NAZWA"), "Demo Handel") << "the company's record is back after the account list";
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  join();

  // With the right, the account list may change the accounts, and what the user typed in
  // the company form before opening it is still there to be saved.
  asUser(sql::demo::kAdminUserId);
  f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?FIR:NAZWA", "Demo Handel Północ"));
  ASSERT_TRUE(fe().click(f, "?RACHUNKI"));
  accounts = window("Rachunki bankowe firmy");
  ASSERT_TRUE(accounts);
  EXPECT_TRUE(accounts->control("?INSERT")->enabled);
  ASSERT_TRUE(fe().close(accounts));
  ASSERT_TRUE(fe().waitForClose(accounts));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->value("?FIR:NAZWA"), "Demo Handel Północ");
  saved(f);
  EXPECT_EQ(company(kDemo, "NAZWA"), "Demo Handel Północ");
  EXPECT_EQ(company(kDemo, "ID_RACHUNKU"), "1") << "the default account is kept";
}

SLOWNIK_ON_ALL_BACKENDS(CompanyWindowTest);

}  // namespace
}  // namespace slownik::company::test
