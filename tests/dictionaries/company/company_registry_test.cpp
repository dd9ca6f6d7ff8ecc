// "pobierz z GUS" in the company form: the register's answer fills the company's fields
// and a new seat address, played through the headless front-end on both backends
// against a local stand-in of the statistics office's service.
#include <atomic>
#include <memory>
#include <string>

#include "dictionaries/company/company_form.h"
#include "engine/window_fixture.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/program_parameters.h"
#include "support/gus_registry_fake.h"

namespace slownik::company::test {
namespace {

constexpr long long kDemo = sql::demo::kCompanyId;
// The address list's fields: the day, its icon, town, street, house, flat, phone, id.
constexpr std::size_t kIconField = 1;
constexpr std::size_t kTownField = 2;
constexpr std::size_t kStreetField = 3;
// 61 characters, Polish letters among the first 50: the short name keeps 50 of them.
const std::string kLongName = "PRZEDSIĘBIORSTWO HANDLOWO-USŁUGOWE ŻÓŁW SPÓŁKA Z O.O. W ŁODZI";

class CompanyRegistryTest : public slownik::test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_EQ(svc::USTAWPARAMKONF("u", "GUS_Adres", registry.address()), 0);
    ASSERT_EQ(svc::USTAWPARAMKONF("u", "GUS_Klucz", slownik::test::FakeGusRegistry::kKey), 0);
    slownik::test::FakeGusRegistry::Unit unit;
    unit.regon = "101234560";
    unit.nip = "7740001454";
    unit.name = kLongName;
    unit.province = "ŁÓDZKIE";
    unit.county = "Łódź";
    unit.town = "Łódź";
    unit.postcode = "90-001";
    unit.street = "ul.  Piotrkowska";  // the register's doubled blank goes
    unit.house = "104";
    unit.flat = "7";
    unit.email = "biuro@zolw.invalid";
    unit.phone = "42 600 00 00";
    registry.add(unit);
  }
  std::shared_ptr<rt::Window> openCompany(int request) {
    response_ = std::make_shared<std::atomic<int>>(-1);
    auto out = response_;
    start([out, request] {
      if (request != data::kInsertRecord) {
        data::field("FIR:ID_FIRMY").set(kDemo);
        if (data::fileManager("FIRMA")->fetch("FIR:PK_FIRMA") != 0) return;
      }
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      FIRMA_UPD();
      *out = data::GLOBALRESPONSE();
    });
    return window(request == data::kInsertRecord ? "Dodawanie firmy" : "Edycja firmy");
  }
  //! Presses "pobierz z GUS" and confirms the tax number the prompt offers.
  void fetch(const std::shared_ptr<rt::Window>& f, const std::string& nip) {
    ASSERT_TRUE(fe().click(f, "?GUS"));
    auto prompt = window("Pobierz dane z GUS");
    ASSERT_TRUE(prompt);
    ASSERT_TRUE(fe().type(prompt, "?NIP", nip));
    ASSERT_TRUE(fe().click(prompt, "?OK"));
  }
  slownik::test::FakeGusRegistry registry;
  std::shared_ptr<std::atomic<int>> response_;
};

TEST_P(CompanyRegistryTest, TheRegistersAnswerBecomesTheNewCompanyAndItsDefaultAddress) {
  auto f = openCompany(data::kInsertRecord);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?FIR:NIP", "774-000-14-54"));
  ASSERT_TRUE(fe().click(f, "?GUS"));
  auto prompt = window("Pobierz dane z GUS");
  ASSERT_TRUE(prompt);
  EXPECT_EQ(prompt->value("?NIP"), "774-000-14-54");  // the form's number is offered
  ASSERT_TRUE(fe().click(prompt, "?OK"));

  auto a = window("Dodawanie adresu");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->value("?ADRFIR:SYM_KRAJU"), "PL");
  EXPECT_EQ(a->value("?ADRFIR:WOJEWODZTWO"), "łódzkie");
  EXPECT_EQ(a->value("?ADRFIR:POWIAT"), "Łódź");
  EXPECT_EQ(a->value("?ADRFIR:MIEJSCOWOSC"), "Łódź");
  EXPECT_EQ(a->value("?ADRFIR:ULICA"), "ul. Piotrkowska 104/7");
  EXPECT_EQ(a->value("?ADRFIR:KOD_POCZTOWY"), "90-001");
  EXPECT_EQ(a->value("?ADRFIR:E_MAIL"), "biuro@zolw.invalid");
  EXPECT_EQ(a->value("?ADRFIR:TELEFON"), "42 600 00 00");
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().waitForClose(a));
  ASSERT_TRUE(fe().settle(f));

  EXPECT_EQ(f->value("?FIR:NAZWA"), "PRZEDSIĘBIORSTWO HANDLOWO-USŁUGOWE ŻÓŁW SPÓŁKA Z O");
  EXPECT_EQ(f->value("?FIR:NAZWA_PELNA"), kLongName);
  EXPECT_EQ(f->value("?FIR:NIP"), "7740001454");
  EXPECT_EQ(f->value("?FIR:REGON"), "101234560");
  EXPECT_EQ(f->value("?SHEET"), "2");
  auto rows = f->control("?LIST:ADRESY")->rows;
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][kTownField], "Łódź");
  EXPECT_EQ(rows[0][kStreetField], "ul. Piotrkowska 104/7");
  EXPECT_EQ(rows[0][kIconField], "1") << "the fetched address is the company's default";

  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  join();
  EXPECT_EQ(response_->load(), data::kRequestCompleted);
  const std::string id = scalar("SELECT ID_FIRMY FROM FIRMA WHERE REGON = '101234560'");
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(scalar("SELECT NAZWA_PELNA FROM FIRMA WHERE ID_FIRMY = " + id), kLongName);
  EXPECT_EQ(scalar("SELECT ID_ADRESU_DOMYSLNEGO FROM FIRMA WHERE ID_FIRMY = " + id),
            scalar("SELECT ID_ADRESY_FIRMY FROM ADRESY_FIRMY WHERE ID_FIRMY = " + id));
  EXPECT_EQ(scalar("SELECT ULICA FROM ADRESY_FIRMY WHERE ID_FIRMY = " + id), "ul. Piotrkowska 104/7");
}

TEST_P(CompanyRegistryTest, AFailedOrCancelledLookupLeavesTheFormAsItWas) {
  const std::string addresses = "SELECT COUNT(*) FROM ADRESY_FIRMY WHERE ID_FIRMY = " + std::to_string(kDemo);
  const std::string before = scalar(addresses);
  auto f = openCompany(data::kChangeRecord);
  ASSERT_TRUE(f);

  ASSERT_TRUE(fe().click(f, "?GUS"));
  auto prompt = window("Pobierz dane z GUS");
  ASSERT_TRUE(prompt);
  EXPECT_EQ(prompt->value("?NIP"), "5271000121");
  ASSERT_TRUE(fe().click(prompt, "?CANCEL"));  // "EXIT": not a word to the user
  ASSERT_TRUE(fe().settle(f));

  fe().expectMessage(rt::button::Ok, "Nie znaleziono w rejestrze GUS podmiotu o numerze NIP 5271000121.");
  fetch(f, "5271000121");
  ASSERT_TRUE(fe().settle(f));

  registry.setBroken(slownik::test::FakeGusRegistry::Broken::Envelope);
  fe().expectMessage(rt::button::Ok, "Odpowiedzi rejestru GUS nie można odczytać");
  fetch(f, "7740001454");
  ASSERT_TRUE(fe().settle(f));

  ASSERT_EQ(svc::USTAWPARAMKONF("u", "GUS_Adres", "http://127.0.0.1:1/wsBIR/UslugaBIRzewnPubl.svc"), 0);
  fe().expectMessage(rt::button::Ok, "Brak połączenia z rejestrem: ");
  fetch(f, "7740001454");
  ASSERT_TRUE(fe().settle(f));

  EXPECT_EQ(f->value("?FIR:NAZWA"), "Demo Handel");
  EXPECT_EQ(f->value("?FIR:NIP"), "5271000121");
  EXPECT_EQ(f->value("?FIR:REGON"), "012345675");
  EXPECT_EQ(f->control("?LIST:ADRESY")->rows.size(), 1u);
  EXPECT_EQ(scalar(addresses), before);
  EXPECT_EQ(fe().messages().size(), 3u);
}

SLOWNIK_ON_ALL_BACKENDS(CompanyRegistryTest);

}  // namespace
}  // namespace slownik::company::test
