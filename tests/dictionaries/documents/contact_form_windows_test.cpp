// The contacts of a contractor added, changed and deleted through our own contact form,
// the default of the named procedure when the host installs no sibling's form.
#include <string>
#include <vector>

#include "dictionaries/documents/contact_list.h"
#include "dictionaries/documents/contact_list_sibling_form.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"
#include "framework/services/procedure_registry.h"

namespace slownik::documents {
namespace {

constexpr const char* kList = "Lista kontaktów kontrahenta Hurtownia Żuraw";

class ContactFormWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    svc::installProcedure(kContactFormProcedure, {});
    exec("DELETE FROM KONTAKT");
    exec("INSERT INTO KONTAKT (ID_KONTAKTU, ID_KONTRAHENTA, NAZWISKO, IMIE) VALUES (1, 1, 'Kowalski', 'Jan')");
  }
  std::shared_ptr<rt::Window> openList() {
    start([] { KONTAKT_BRW_LOC(kContractorBoth, 0, 1, "Hurtownia Żuraw"); });
    return window(kList);
  }
  std::string contacts() {
    sql::Result r;
    EXPECT_TRUE(db().execute("SELECT ID_KONTRAHENTA, NAZWISKO, IMIE, E_MAIL FROM KONTAKT ORDER BY NAZWISKO", {}, &r).isOk());
    std::string out;
    for (std::size_t i = 0; i < r.size(); ++i)
      out += r.text(i, 0) + " " + r.text(i, 1) + " " + r.text(i, 2) + " " + r.text(i, 3) + ";";
    return out;
  }
};

TEST_P(ContactFormWindows, AddsChangesAndDeletesContactsOfTheListedContractor) {
  auto w = openList();
  ASSERT_TRUE(w);

  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie kontaktu");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Proszę wprowadzić nazwisko kontaktu.");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  ASSERT_TRUE(fe().type(f, "?KNTK:NAZWISKO", "O'Connor"));
  ASSERT_TRUE(fe().type(f, "?KNTK:IMIE", "Liam"));
  ASSERT_TRUE(fe().type(f, "?KNTK:E_MAIL", "liam@zuraw.pl"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(contacts(), "1 Kowalski Jan ;1 O'Connor Liam liam@zuraw.pl;");
  EXPECT_EQ(column(w, 0), (std::vector<std::string>{"Kowalski", "O'Connor"}));

  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, 0, "Kowalski")));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  f = window("Edycja kontaktu");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?KNTK:IMIE", "Janusz"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(contacts(), "1 Kowalski Janusz ;1 O'Connor Liam liam@zuraw.pl;");

  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, 0, "O'Connor")));
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  f = window("Kontakt kontrahenta");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(contacts(), "1 Kowalski Janusz ;");
  EXPECT_EQ(column(w, 0), (std::vector<std::string>{"Kowalski"}));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM LOG_ZDARZEN WHERE TABELA = 'KONTRAHENT' AND ID_REKORDU = 1"), "3");
  EXPECT_EQ(scalar("SELECT COALESCE(SEMAFOR, 0) FROM KONTRAHENT WHERE ID_KONTRAHENTA = 1"), "0");
  fe().press(w, rt::key::Esc);
}

TEST_P(ContactFormWindows, AnInstalledSiblingFormTakesPrecedence) {
  std::vector<int> seen;
  svc::installProcedure(kContactFormProcedure, [&seen](const svc::ProcedureArgs&) {
    seen.push_back(data::GLOBALREQUEST());
    data::GLOBALRESPONSE() = data::kRequestCancelled;
  });
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  ASSERT_TRUE(fe().settle(w));
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(seen, (std::vector<int>{data::kInsertRecord}));
  EXPECT_TRUE(svc::hasInstalledProcedure("kontakt_kontrahenta_upd")) << "names ignore letter case";
  svc::installProcedure(kContactFormProcedure, {});
  EXPECT_FALSE(svc::hasInstalledProcedure(kContactFormProcedure));
}

SLOWNIK_ON_ALL_BACKENDS(ContactFormWindows);

}  // namespace
}  // namespace slownik::documents
