// The delivery forms played through the headless front-end.
#include <string>
#include <vector>

#include "dictionaries/documents/delivery_form_list.h"
#include "engine/window_fixture.h"
#include "framework/runtime/keys.h"
#include "framework/services/messages.h"

namespace slownik::documents {
namespace {

// List-buffer fields: "S" takes its value and its icon, then "Nazwa" and "Typ".
constexpr std::size_t kSystem = 0;
constexpr std::size_t kSystemIcon = 1;
constexpr std::size_t kName = 2;
constexpr std::size_t kType = 3;

constexpr const char* kDeleteQuestion = "Usunięcie formy dostawy spowoduje jej odłącznie";

class DeliveryFormWindows : public test::WindowFixture {
 protected:
  std::shared_ptr<rt::Window> openList(std::string companyId) {
    start([companyId] { FORMA_DOSTAWY_BRW(companyId.c_str()); });
    return window("Lista form");
  }
  void select(const std::shared_ptr<rt::Window>& w, const std::string& name) {
    int row = rowOf(w, kName, name);
    ASSERT_GT(row, 0) << name;
    ASSERT_TRUE(fe().clickRow(w, "?LIST", row));
  }
  std::string count() { return scalar("SELECT COUNT(*) FROM FORMA_DOSTAWY"); }
};

TEST_P(DeliveryFormWindows, ListsOneCompanysFormsByNameWithTheSystemMark) {
  exec(
      "INSERT INTO FORMA_DOSTAWY (ID_FORMY_DOSTAWY, NAZWA, TYP_DOSTAWY, ID_FIRMY, SYSTEMOWA) VALUES "
      "(10, 'Bez firmy', 'brak', 0, 0), (11, 'Obca', 'inna', 2, 0)");
  const struct {
    const char* companyId;
    std::vector<std::string> names;
  } cases[] = {
      {"1", {"Odbiór osobisty", "Paczka pocztowa", "Przesyłka kurierska", "Transport własny"}},
      {"2", {"Obca"}},
      {"", {"Bez firmy"}},  // no company given: company 0
      {"abc", {"Bez firmy"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.companyId);
    auto w = openList(c.companyId);
    ASSERT_TRUE(w);
    EXPECT_EQ(column(w, kName), c.names);
    if (std::string(c.companyId) == "1") {
      EXPECT_EQ(column(w, kSystemIcon), (std::vector<std::string>{"1", "0", "1", "0"}));
      EXPECT_EQ(column(w, kSystem), (std::vector<std::string>{"", "", "", ""}));
      EXPECT_EQ(column(w, kType), (std::vector<std::string>{"osobisty", "poczta", "kurier", "własny"}));
      ASSERT_TRUE(fe().type(w, "?LOKATOR", "Prz"));
      ASSERT_TRUE(fe().settle(w));
      EXPECT_EQ(w->control("?LIST")->selection, 3);
    }
    ASSERT_TRUE(fe().press(w, rt::key::Esc));
    join();
  }
}

TEST_P(DeliveryFormWindows, ANewFormBelongsToTheListedCompany) {
  exec(
      "INSERT INTO FORMA_DOSTAWY (ID_FORMY_DOSTAWY, NAZWA, TYP_DOSTAWY, ID_FIRMY, SYSTEMOWA) VALUES "
      "(11, 'Obca', 'inna', 2, 0)");
  for (const char* company : {"1", "2"}) {
    SCOPED_TRACE(company);
    auto w = openList(company);
    ASSERT_TRUE(w);
    ASSERT_TRUE(fe().press(w, rt::key::Ins));
    auto f = window("Dodawanie formy dostawy");
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->control("?SYSTEMOWA:INFO")->hidden);
    ASSERT_TRUE(fe().type(f, "?FORD:NAZWA", std::string("Kurier 'Błysk' ") + company));
    ASSERT_TRUE(fe().type(f, "?FORD:TYP_DOSTAWY", "kurier"));
    ASSERT_TRUE(fe().click(f, "?OK"));
    ASSERT_TRUE(fe().waitForClose(f));
    ASSERT_TRUE(fe().settle(w));
    EXPECT_GT(rowOf(w, kName, std::string("Kurier 'Błysk' ") + company), 0);
    EXPECT_EQ(
        scalar(
            "SELECT CAST(ID_FIRMY AS INTEGER) || '|' || SYSTEMOWA FROM FORMA_DOSTAWY WHERE NAZWA = 'Kurier ''Błysk'' " +
            std::string(company) + "'"),
        std::string(company) + "|0");
    ASSERT_TRUE(fe().press(w, rt::key::Esc));
    join();
  }
}

TEST_P(DeliveryFormWindows, ASystemFormIsOnlyShownAndNeverDeleted) {
  auto w = openList("1");
  ASSERT_TRUE(w);
  select(w, "Przesyłka kurierska");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = window("Forma dostawy ");
  ASSERT_TRUE(f);
  for (const char* control : {"?FORD:NAZWA", "?FORD:TYP_DOSTAWY"}) {
    EXPECT_FALSE(f->control(control)->enabled) << control;
    EXPECT_TRUE(f->control(control)->readOnly) << control;
  }
  EXPECT_TRUE(f->control("?OK")->hidden);
  EXPECT_FALSE(f->control("?SYSTEMOWA:INFO")->hidden);
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));

  fe().expectMessage(rt::button::Ok, "Nie można usunąć systemowej formy dostawy!");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(count(), "4");

  // An ordinary form opens for change and saves.
  select(w, "Paczka pocztowa");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  f = window("Edycja formy dostawy");
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->control("?FORD:NAZWA")->enabled);
  EXPECT_TRUE(f->control("?SYSTEMOWA:INFO")->hidden);
  ASSERT_TRUE(fe().type(f, "?FORD:TYP_DOSTAWY", "list"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT TYP_DOSTAWY FROM FORMA_DOSTAWY WHERE ID_FORMY_DOSTAWY = 3"), "list");
  fe().press(w, rt::key::Esc);
}

TEST_P(DeliveryFormWindows, DeletingAsksFirst) {
  auto w = openList("1");
  ASSERT_TRUE(w);
  select(w, "Transport własny");
  fe().expectMessage(svc::kNo, kDeleteQuestion);
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(count(), "4");

  fe().expectMessage(svc::kYes, kDeleteQuestion);
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  auto d = window("Aktualizacja rekordu");
  ASSERT_TRUE(d);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  ASSERT_TRUE(fe().click(d, "?OK"));
  ASSERT_TRUE(fe().waitForClose(d));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(count(), "3");
  EXPECT_EQ(rowOf(w, kName, "Transport własny"), 0);
  fe().press(w, rt::key::Esc);
}

SLOWNIK_ON_ALL_BACKENDS(DeliveryFormWindows);

}  // namespace
}  // namespace slownik::documents
