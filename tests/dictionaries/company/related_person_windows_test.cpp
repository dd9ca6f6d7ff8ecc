// Related persons of a contractor played through the headless front-end: the list by
// contractor, role and document kind, the default person, and the form that takes a
// name from the contractor's contacts.
#include <string>
#include <vector>

#include "dictionaries/company/related_person_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"

namespace slownik::company {
namespace {

constexpr std::size_t kName = 0;

class RelatedPersonWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("DELETE FROM KONTAKT");
    exec("INSERT INTO KONTAKT (ID_KONTAKTU, ID_KONTRAHENTA, NAZWISKO, IMIE) VALUES "
         "(1, 1, 'Adamski', 'Piotr'), (2, 1, 'Kowalski', 'Jan'), (3, 1, 'Zając', 'Ewa'), (4, 2, 'Kowalczyk', 'Ola')");
    exec("INSERT INTO OSOBA_POWIAZANA (ID_OSOPOW, ID_FIRMY, ID_KONTRAHENTA, FUNKCJA, DOKUMENT, CZY_DOMYSLNY, NAZWA) VALUES "
         "(1, 1, 1, 'Odbiorca', 3, 1, 'Nowak Anna'), (2, 1, 1, 'Odbiorca', 3, 0, 'Zieliński Piotr'), "
         "(3, 1, 1, 'Odbiorca', 4, 1, 'Inny Dokument'), (4, 1, 1, 'Wystawca', 3, 1, 'O''Hara Inna Rola'), "
         "(5, 1, 2, 'Odbiorca', 3, 0, 'Obcy Kontrahent'), (6, 2, 1, 'Odbiorca', 3, 0, 'Inna Firma')");
  }
  std::shared_ptr<rt::Window> openList(double contractor, std::string role, long document, std::string title) {
    start([=] { OSOBA_POWIAZANA_BRW(contractor, role.c_str(), document); });
    return window(title);
  }
  static std::vector<std::string> icons(const std::shared_ptr<rt::Window>& w) {
    auto format = rt::ListFormat::parse(w->control("?LIST")->format);
    if (!format) return {};
    return column(w, static_cast<std::size_t>(format->columns[0].iconField - 1));
  }
  std::string defaults() {
    sql::Result r;
    EXPECT_TRUE(db().execute("SELECT ID_OSOPOW FROM OSOBA_POWIAZANA WHERE CZY_DOMYSLNY = 1 ORDER BY ID_OSOPOW", {}, &r).isOk());
    std::string out;
    for (std::size_t i = 0; i < r.size(); ++i) out += r.text(i, 0) + " ";
    return out;
  }
};

TEST_P(RelatedPersonWindows, ListsOneContractorsRoleAndDocumentWithItsDefault) {
  auto w = openList(1, "Odbiorca", 3, "Lista osób odbiorców");
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Nowak Anna", "Zieliński Piotr"}));
  EXPECT_EQ(icons(w), (std::vector<std::string>{"1", "0"}));

  // Another person becomes the default of this role and document kind only.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(icons(w), (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(defaults(), "2 3 4 ");
  // Again on the default: it stops being one.
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(icons(w), (std::vector<std::string>{"0", "0"}));
  EXPECT_EQ(defaults(), "3 4 ");
  fe().press(w, rt::key::Esc);
  join();

  // Contractor 0: the company's persons of the role and document kind, without icons.
  w = openList(0, "Odbiorca", 3, "Lista osób odbiorców");
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Nowak Anna", "Obcy Kontrahent", "Zieliński Piotr"}));
  EXPECT_EQ(icons(w), (std::vector<std::string>{"0", "0", "0"}));
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie osoby");
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->control("?KONTAKTY")->hidden);
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().settle(w));
  fe().press(w, rt::key::Esc);
  join();

  // Another role: no receivers' title.
  w = openList(1, "Wystawca", 3, "Lista osób ");
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"O'Hara Inna Rola"}));
  fe().press(w, rt::key::Esc);
}

TEST_P(RelatedPersonWindows, ANameIsTakenFromTheContactsAndMustBeUniqueForTheContractor) {
  auto w = openList(1, "Odbiorca", 3, "Lista osób odbiorców");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie osoby");
  ASSERT_TRUE(f);
  EXPECT_FALSE(f->control("?KONTAKTY")->hidden);

  fe().expectMessage(rt::button::Ok, "Proszę wprowadzić nazwę!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  // A name of another role of the same contractor is taken already.
  ASSERT_TRUE(fe().type(f, "?OSOP:NAZWA", "O'Hara Inna Rola"));
  fe().expectMessage(rt::button::Ok, "Osoba o podanej nazwie już istnieje.|Proszę wprowadzić inną nazwę!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));

  // The typed part of a name opens the contacts on the first contact holding it.
  ASSERT_TRUE(fe().type(f, "?OSOP:NAZWA", "Kowal"));
  ASSERT_TRUE(fe().click(f, "?KONTAKTY"));
  auto contacts = window("Lista kontaktów kontrahenta Hurtownia Żuraw");
  ASSERT_TRUE(contacts);
  EXPECT_EQ(column(contacts, 0), (std::vector<std::string>{"Adamski", "Kowalski", "Zając"}));
  EXPECT_FALSE(contacts->control("?SELECT")->hidden);
  EXPECT_EQ(contacts->control("?LIST")->selection, 2);
  ASSERT_TRUE(fe().press(contacts, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(contacts));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->value("?OSOP:NAZWA"), "Kowalski Jan");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Kowalski Jan", "Nowak Anna", "Zieliński Piotr"}));
  EXPECT_EQ(scalar("SELECT ID_FIRMY || ' ' || ID_KONTRAHENTA || ' ' || FUNKCJA || ' ' || DOKUMENT || ' ' || CZY_DOMYSLNY "
                   "FROM OSOBA_POWIAZANA WHERE NAZWA = 'Kowalski Jan'"),
            "1 1 Odbiorca 3 0");

  // A change may keep its own name but not take another person's.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, kName, "Zieliński Piotr")));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  f = window("Edycja osoby");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?OSOP:NAZWA", "Nowak Anna"));
  fe().expectMessage(rt::button::Ok, "Osoba o podanej nazwie już istnieje.");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  ASSERT_TRUE(fe().type(f, "?OSOP:NAZWA", "Zieliński Piotr"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));

  // The list as a picker leaves the chosen person in the buffer.
  fe().press(w, rt::key::Esc);
  join();
  double chosen = 0;
  start([&chosen] {
    data::GLOBALREQUEST() = data::kSelectRecord;
    OSOBA_POWIAZANA_BRW(1, "Odbiorca", 3);
    if (data::GLOBALRESPONSE() == data::kRequestCompleted) chosen = data::field("OSOP:ID_OSOPOW").number();
  });
  w = window("Lista osób odbiorców");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, kName, "Nowak Anna")));
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  join();
  EXPECT_EQ(chosen, 1);
}

SLOWNIK_ON_ALL_BACKENDS(RelatedPersonWindows);

}  // namespace
}  // namespace slownik::company
