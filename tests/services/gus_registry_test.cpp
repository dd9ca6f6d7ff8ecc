// The registry lookup: its reply record, the SOAP client against a local stand-in of the
// statistics office's service, and PODAJDANEGUS as the person meets it (the tax-number
// prompt, the wait cursor, the status texts), on both backends.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "framework/data/globals.h"
#include "framework/runtime/headless_front_end.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/services/gus_registry.h"
#include "framework/services/gus_registry_client.h"
#include "framework/services/gus_registry_prompt.h"
#include "framework/services/program_parameters.h"
#include "support/backends.h"
#include "support/gus_registry_fake.h"
#include "support/http_server.h"

namespace slownik {
namespace {

using svc::GusField;
using svc::GusOutcome;
using Unit = test::FakeGusRegistry::Unit;

Unit legalPerson() {
  Unit u;
  u.regon = "000331501";
  u.nip = "5261040828";
  u.name = "GŁÓWNY URZĄD STATYSTYCZNY";
  u.province = "ŚWIĘTOKRZYSKIE";
  u.county = "m. st. Warszawa";
  u.town = "Warszawa";
  u.postcode = "00-925";
  u.street = "ul. Test-Krucza";
  u.house = "208";
  u.flat = "12";
  u.email = "sekretariat@stat.invalid";
  u.phone = "22 608 30 00";
  return u;
}

Unit localUnit(std::string regon) {
  Unit u = legalPerson();
  u.regon = std::move(regon);
  u.name = "GUS ODDZIAŁ TERENOWY";
  u.type = "LP";
  u.email = "oddzial@stat.invalid";
  return u;
}

// An address on which nothing listens.
std::string deadAddress() { return test::deadHttpAddress() + "/wsBIR/UslugaBIRzewnPubl.svc"; }

TEST(GusReplyRecord, FieldsLieWhereTheCallerReadsThemAndNeverSplitACharacter) {
  struct Place {
    GusField field;
    std::size_t offset, length;
  };
  const Place places[] = {{GusField::Status, 0, 200},    {GusField::Regon, 200, 20},    {GusField::Nip, 220, 20},
                          {GusField::Name, 240, 200},    {GusField::Province, 440, 200}, {GusField::Town, 640, 200},
                          {GusField::Street, 840, 200},  {GusField::Postcode, 1040, 220}, {GusField::County, 1260, 50},
                          {GusField::Country, 1310, 20}, {GusField::Email, 1330, 50},    {GusField::Phone, 1380, 50}};
  svc::GusReplyRecord record;
  EXPECT_EQ(sizeof(svc::GusReplyRecord), 1430u);
  for (const auto& p : places) {
    record.clear();
    record.set(p.field, "x");
    EXPECT_EQ(std::string(record.data() + p.offset, 2), "x ") << p.offset;
    EXPECT_EQ(record.text(p.field), "x");
    // Nothing before or after the field was touched.
    EXPECT_EQ(std::string(record.data(), p.offset), std::string(p.offset, ' '));
    EXPECT_EQ(std::string(record.data() + p.offset + 1, 1430 - p.offset - 1), std::string(1430 - p.offset - 1, ' '));
  }

  // A two-byte letter that would straddle the end of the 200-byte name is left out whole.
  record.set(GusField::Name, std::string(199, 'a') + "ż" + "b");
  EXPECT_EQ(record.text(GusField::Name), std::string(199, 'a'));
  record.set(GusField::Name, std::string(198, 'a') + "ż" + "b");
  EXPECT_EQ(record.text(GusField::Name), std::string(198, 'a') + "ż");
  EXPECT_EQ(record.data()[440], ' ');  // the province that follows keeps its padding
  record.set(GusField::County, std::string(49, 'k') + "€");  // three bytes from byte 49
  EXPECT_EQ(record.text(GusField::County), std::string(49, 'k'));

  // A record handed over filled with zeros reads as empty fields.
  std::fill(record.data(), record.data() + 1430, '\0');
  EXPECT_EQ(record.text(GusField::Nip), "");
}

TEST(GusRegistryNip, TypedNumbersBecomeTenDigitsOnlyWhenValid) {
  EXPECT_EQ(svc::registryNip("526-104-08-28"), "5261040828");
  EXPECT_EQ(svc::registryNip("PL 526 104 08 28"), "5261040828");
  EXPECT_EQ(svc::registryNip("5261040827"), std::nullopt);  // wrong check digit
  EXPECT_EQ(svc::registryNip("52610408"), std::nullopt);
  EXPECT_EQ(svc::registryNip(""), std::nullopt);
}

class GusClient : public testing::Test {
 protected:
  svc::GusSettings settings(long timeout = 5) { return {registry.address(), test::FakeGusRegistry::kKey, timeout}; }
  test::FakeGusRegistry registry;
};

TEST_F(GusClient, FindsTheMainEntityAmongItsLocalUnitsWithItsContactData) {
  registry.add(localUnit("00033150100034"));
  registry.add(legalPerson());
  registry.add(localUnit("00033150100048"));
  svc::GusLookup found = svc::lookUpNip(settings(), "5261040828");
  ASSERT_EQ(found.outcome, GusOutcome::Found) << found.detail;
  EXPECT_EQ(found.entity.regon, "000331501");
  EXPECT_EQ(found.entity.type, "P");
  EXPECT_EQ(found.entity.email, "sekretariat@stat.invalid");  // the entity's own, not a unit's
  EXPECT_EQ(found.entity.phone, "22 608 30 00");
  EXPECT_EQ(registry.operations(),
            (std::vector<std::string>{"Zaloguj", "DaneSzukajPodmioty", "DanePobierzPelnyRaport", "Wyloguj"}));

  svc::GusReplyRecord reply;
  svc::fillReply(found.entity, reply);
  EXPECT_EQ(reply.text(GusField::Status), "OK");
  EXPECT_EQ(reply.text(GusField::Name), "GŁÓWNY URZĄD STATYSTYCZNY");
  EXPECT_EQ(reply.text(GusField::Nip), "5261040828");
  EXPECT_EQ(reply.text(GusField::Province), "świętokrzyskie");
  EXPECT_EQ(reply.text(GusField::County), "m. st. Warszawa");
  EXPECT_EQ(reply.text(GusField::Street), "ul. Test-Krucza 208/12");
  EXPECT_EQ(reply.text(GusField::Postcode), "00-925");
  EXPECT_EQ(reply.text(GusField::Country), "PL");
}

TEST_F(GusClient, NaturalPersonsAndPlacesWithoutStreets) {
  Unit trader = legalPerson();
  trader.nip = "7740001454";
  trader.regon = "610188201";
  trader.name = "Jan Nowak Usługi";
  trader.type = "F";
  trader.silo = 1;
  trader.street = "";
  trader.town = "Żółkiewka";
  trader.flat = "";
  trader.email = "jan@nowak.invalid";
  registry.add(trader);
  svc::GusLookup found = svc::lookUpNip(settings(), "7740001454");
  ASSERT_EQ(found.outcome, GusOutcome::Found) << found.detail;
  EXPECT_EQ(found.entity.email, "jan@nowak.invalid");  // from the trader's activity report
  EXPECT_EQ(svc::streetLine(found.entity), "Żółkiewka 208");
}

TEST_F(GusClient, EveryFailureIsToldApart) {
  registry.add(legalPerson());
  {
    svc::GusLookup r = svc::lookUpNip(settings(), "7740001454");
    EXPECT_EQ(r.outcome, GusOutcome::NotFound);
  }
  {
    svc::GusSettings wrongKey = settings();
    wrongKey.key = "nieznany";
    svc::GusLookup r = svc::lookUpNip(wrongKey, "5261040828");
    EXPECT_EQ(r.outcome, GusOutcome::Refused);
    EXPECT_EQ(registry.operations().back(), "Zaloguj");  // no search without a session
  }
  {
    svc::GusLookup r = svc::lookUpNip({deadAddress(), test::FakeGusRegistry::kKey, 5}, "5261040828");
    EXPECT_EQ(r.outcome, GusOutcome::NoConnection);
    EXPECT_FALSE(r.detail.empty());
  }
  for (auto broken : {test::FakeGusRegistry::Broken::Envelope, test::FakeGusRegistry::Broken::SearchData}) {
    registry.setBroken(broken);
    svc::GusLookup r = svc::lookUpNip(settings(), "5261040828");
    EXPECT_EQ(r.outcome, GusOutcome::Malformed);
    EXPECT_TRUE(r.entity.name.empty());
  }
}

TEST(GusSoapEnvelope, TakesTheFirstMimePartOrTheWholeText) {
  const std::string soap = "<s:Envelope/>";
  EXPECT_EQ(svc::soapEnvelope(soap, "application/soap+xml; charset=utf-8"), soap);
  EXPECT_EQ(svc::soapEnvelope("--b1\r\nContent-Type: application/xop+xml\r\n\r\n" + soap + "\r\n--b1--\r\n",
                              "multipart/related; type=\"application/xop+xml\"; boundary=b1; start-info=x"),
            soap);
  EXPECT_EQ(svc::soapEnvelope("--b 2\r\n\r\n" + soap + "\r\n--b 2--", "multipart/related; boundary=\"b 2\""), soap);
}

// PODAJDANEGUS as the company form calls it, on a procedure thread, with the program
// parameters in the database.
class GusLookupService : public test::DatabaseTest {
 protected:
  struct Result {
    std::atomic<int> rc{-1};
    svc::GusReplyRecord reply;
  };
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    data::glo().ID_FIRMY = 1;
    data::glo().ID_UZYTKOWNIKA = 6100003;
    ASSERT_EQ(svc::USTAWPARAMKONF("u", "GUS_Adres", registry.address()), 0);
    ASSERT_EQ(svc::USTAWPARAMKONF("u", "GUS_Klucz", test::FakeGusRegistry::kKey), 0);
    registry.add(legalPerson());
  }
  void TearDown() override {
    if (fe_) {
      fe_->closeAll();
      for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
    }
    thread_.join();
    DatabaseTest::TearDown();
  }
  //! Starts the lookup with `nip` in the record, as the form leaves it there.
  std::shared_ptr<Result> start(const std::string& nip) {
    auto result = std::make_shared<Result>();
    result->reply.set(GusField::Nip, nip);
    thread_ = rt::startProcedure([result] { result->rc = svc::PODAJDANEGUS(result->reply); });
    return result;
  }
  //! Looks `nip` up through the prompt; the lookup's result once it returned.
  std::shared_ptr<Result> lookUp(const std::string& nip) {
    auto result = start("");
    auto prompt = fe_->waitForWindow("Pobierz dane z GUS");
    EXPECT_TRUE(prompt);
    if (!prompt) return result;
    EXPECT_TRUE(fe_->type(prompt, "?NIP", nip));
    EXPECT_TRUE(fe_->click(prompt, "?OK"));
    thread_.join();
    return result;
  }
  rt::HeadlessFrontEnd& fe() { return *fe_; }
  test::FakeGusRegistry registry;
  rt::ProcedureThread thread_;

 private:
  rt::HeadlessFrontEnd* fe_ = nullptr;
};

TEST_P(GusLookupService, AsksForTheNumberOffersTheFormsAndFillsTheRecord) {
  std::atomic<bool> busyWhileAsking{false};
  registry.onRequest([&] { busyWhileAsking = fe().isBusy(); });
  auto result = start("526-104-08-28");
  auto prompt = fe().waitForWindow("Pobierz dane z GUS");
  ASSERT_TRUE(prompt);
  EXPECT_EQ(prompt->value("?NIP"), "526-104-08-28");

  // A wrong number is refused at the prompt, before anything goes out.
  ASSERT_TRUE(fe().type(prompt, "?NIP", "526-104-08-29"));
  fe().expectMessage(rt::button::Ok, "Numer NIP jest niepoprawny.");
  ASSERT_TRUE(fe().click(prompt, "?OK"));
  EXPECT_FALSE(prompt->isClosed());
  EXPECT_TRUE(registry.operations().empty());

  ASSERT_TRUE(fe().type(prompt, "?NIP", "526-104-08-28"));
  ASSERT_TRUE(fe().click(prompt, "?OK"));
  thread_.join();
  EXPECT_EQ(result->rc.load(), 1);
  EXPECT_EQ(result->reply.text(GusField::Status), "OK");
  EXPECT_EQ(result->reply.text(GusField::Regon), "000331501");
  EXPECT_EQ(result->reply.text(GusField::Email), "sekretariat@stat.invalid");
  EXPECT_TRUE(busyWhileAsking.load());  // the wait cursor showed while the register worked
  EXPECT_FALSE(fe().isBusy());
}

TEST_P(GusLookupService, CancellingSaysExitAndAsksNobody) {
  auto result = start("5261040828");
  auto prompt = fe().waitForWindow("Pobierz dane z GUS");
  ASSERT_TRUE(prompt);
  ASSERT_TRUE(fe().click(prompt, "?CANCEL"));
  thread_.join();
  EXPECT_EQ(result->rc.load(), 0);
  EXPECT_EQ(result->reply.text(GusField::Status), "EXIT");
  EXPECT_EQ(result->reply.text(GusField::Nip), "");
  EXPECT_TRUE(registry.operations().empty());
}

TEST_P(GusLookupService, FailuresComeBackAsClearStatusTexts) {
  {
    auto result = lookUp("7740001454");
    EXPECT_EQ(result->rc.load(), 0);
    EXPECT_EQ(result->reply.text(GusField::Status), "Nie znaleziono w rejestrze GUS podmiotu o numerze NIP 7740001454.");
  }
  {
    registry.setBroken(test::FakeGusRegistry::Broken::SearchData);
    auto result = lookUp("5261040828");
    EXPECT_EQ(result->rc.load(), 0);
    EXPECT_EQ(result->reply.text(GusField::Status).rfind("Odpowiedzi rejestru GUS nie można odczytać", 0), 0u);
    EXPECT_EQ(result->reply.text(GusField::Name), "");
    registry.setBroken(test::FakeGusRegistry::Broken::Nothing);
  }
  {
    ASSERT_EQ(svc::USTAWPARAMKONF("u", "GUS_Adres", deadAddress()), 0);
    auto result = lookUp("5261040828");
    EXPECT_EQ(result->rc.load(), 0);
    const std::string status = result->reply.text(GusField::Status);
    EXPECT_EQ(status.rfind("Brak połączenia z rejestrem: ", 0), 0u) << status;
    EXPECT_GT(status.size(), std::string("Brak połączenia z rejestrem: ").size());
  }
  {
    // Without a key nobody is asked for a number that could not be looked up.
    ASSERT_EQ(svc::USTAWPARAMKONF("u", "GUS_Klucz", ""), 0);
    auto result = start("5261040828");
    thread_.join();
    EXPECT_EQ(result->rc.load(), 0);
    EXPECT_EQ(result->reply.text(GusField::Status).rfind("Brak klucza użytkownika rejestru GUS.", 0), 0u);
  }
}

TEST_P(GusLookupService, ASlowRegisterEndsInATimeoutWithTheWaitCursorGone) {
  ASSERT_EQ(svc::USTAWPARAMKONF("u", "GUS_LimitCzasu", "1"), 0);
  registry.setDelay(std::chrono::milliseconds(1600));
  auto result = lookUp("5261040828");
  EXPECT_EQ(result->rc.load(), 0);
  EXPECT_EQ(result->reply.text(GusField::Status), "Rejestr GUS nie odpowiedział w ciągu 1 s.|Spróbuj ponownie za chwilę.");
  EXPECT_FALSE(fe().isBusy());
  EXPECT_EQ(registry.operations(), std::vector<std::string>{"Zaloguj"});  // no log-out into the silence
}

SLOWNIK_ON_ALL_BACKENDS(GusLookupService);

}  // namespace
}  // namespace slownik
