// Classifiers played through the headless front-end: the administrator's definitions,
// the values window of a record and of a filter, the checks and the filter condition.
#include <string>
#include <vector>

#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"
#include "framework/services/classifiers.h"
#include "framework/services/sql_services.h"

namespace slownik::svc {
namespace {

constexpr const char* kKind = "Magazyn";

class Classifiers : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    setClassifierFilter(kKind, {});
  }

  // Region (required, only from the list), Note (free text).
  void define() {
    std::vector<ClassifierDefinition> defs(kClassifierCount);
    for (int i = 0; i < kClassifierCount; ++i) defs[i].number = i + 1;
    defs[0] = {1, "Region", true, true, {"Północ", "Południe", "O'Brien's"}};
    defs[2] = {3, "Uwagi", false, false, {"pilne"}};
    ASSERT_TRUE(saveClassifierDefinitions(kKind, defs).isOk());
  }
};

TEST_P(Classifiers, AdministratorDefinesThemInTheDefinitionsWindow) {
  start([] { KLASYFIKATORY_DEFINICJE(kKind); });
  auto w = window("Definicje pól dodatkowych: Magazyn");
  ASSERT_TRUE(w);
  ASSERT_EQ(rows(w).size(), 10u);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().type(w, "?NAZWA", "Strefa"));
  ASSERT_TRUE(fe().click(w, "?TYLKO_Z_LISTY"));
  // A list-only field needs its list.
  fe().expectMessage(rt::button::Ok, "przyjmuje tylko wartości z listy, a lista jest pusta");
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_TRUE(fe().type(w, "?WARTOSCI", "A\n B \nA\n\nC"));
  ASSERT_TRUE(fe().click(w, "?WYMAGANY"));
  EXPECT_EQ(rows(w)[1], (std::vector<std::string>{"2", "Strefa", "Tak", "Tak"}));
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  join();
  auto defs = classifierDefinitions(kKind);
  EXPECT_EQ(defs[1].name, "Strefa");
  EXPECT_TRUE(defs[1].required);
  EXPECT_TRUE(defs[1].listOnly);
  EXPECT_EQ(defs[1].values, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_FALSE(defs[0].isDefined());

  // Another company has none; an ordinary user may not define them.
  data::glo().ID_FIRMY = data::glo().ID_FIRMY.get() + 1;
  EXPECT_FALSE(classifierDefinitions(kKind)[1].isDefined());
  data::glo().ID_FIRMY = static_cast<double>(sql::demo::kCompanyId);
  asUser(sql::demo::kUserId);
  fe().expectMessage(rt::button::Ok, "tylko administrator");
  start([] { EXPECT_EQ(KLASYFIKATORY_DEFINICJE(kKind), 0); });
  join();
}

TEST_P(Classifiers, RecordValuesAreCheckedLoadedAndSaved) {
  define();
  fe().expectMessage(rt::button::Ok, "Proszę uzupełnić wymagane pole dodatkowe \"Region\".");
  start([] {
    EXPECT_EQ(KLASYFIKATORY_INITUSE(kKind, 0), 0);
    // A required value missing: the form's save check refuses.
    EXPECT_EQ(KLASYFIKATORY_WALIDUJ(kKind), 1);
    EXPECT_EQ(KLASYFIKATORY_OKNO(kKind, data::kInsertRecord), data::kRequestCompleted);
    EXPECT_EQ(KLASYFIKATORY_WALIDUJ(kKind), 0);
    EXPECT_EQ(KLASYFIKATORY_ZAPISZ(kKind, 41), 0);
  });
  auto w = window("Pola dodatkowe");
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->control("?KLAS2:WIERSZ")->hidden);
  EXPECT_FALSE(w->control("?KLAS1:WIERSZ")->hidden);
  EXPECT_EQ(w->control("?KLAS1:PROMPT")->text, "Region *");
  EXPECT_EQ(w->control("?KLAS1")->items, (std::vector<std::string>{"Północ", "Południe", "O'Brien's"}));
  EXPECT_FALSE(w->control("?DEFINICJE")->hidden) << "the administrator may define them from here";
  // The window refuses a missing required value and one off the list, then takes them.
  fe().expectMessage(rt::button::Ok, "Proszę uzupełnić wymagane pole dodatkowe \"Region\".");
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_TRUE(fe().type(w, "?KLAS1", "Zachód"));
  fe().expectMessage(rt::button::Ok, "nie występuje na liście dozwolonych wartości");
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_TRUE(fe().type(w, "?KLAS1", "O'Brien's"));
  ASSERT_TRUE(fe().type(w, "?KLAS3", "  do sprawdzenia "));
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  join();
  EXPECT_EQ(scalar("SELECT WARTOSC FROM KLASYFIKATOR_WARTOSC WHERE RODZAJ = 'Magazyn' AND ID_REKORDU = 41 AND NUMER = 1"),
            "O'Brien's");
  EXPECT_EQ(scalar("SELECT WARTOSC FROM KLASYFIKATOR_WARTOSC WHERE RODZAJ = 'Magazyn' AND ID_REKORDU = 41 AND NUMER = 3"),
            "do sprawdzenia");

  // Viewing: the record's values, nothing to change or save.
  start([] {
    EXPECT_EQ(KLASYFIKATORY_OKNO(kKind, data::kViewRecord, 41), data::kRequestCancelled);
    EXPECT_EQ(classifierValues(kKind)[0], "O'Brien's");
  });
  w = window("Pola dodatkowe");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?KLAS1"), "O'Brien's");
  EXPECT_FALSE(w->control("?KLAS1")->enabled);
  EXPECT_TRUE(w->control("?OK")->hidden);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();

  // An ordinary user with nothing defined is told so and no window opens.
  asUser(sql::demo::kUserId);
  fe().expectMessage(rt::button::Ok, "Nie zdefiniowano pól dodatkowych dla: Pracownik.");
  start([] { EXPECT_EQ(KLASYFIKATORY_OKNO("Pracownik", data::kChangeRecord, 5), data::kRequestCancelled); });
  join();
}

TEST_P(Classifiers, FilterConditionQuotesValuesAndFindsTheRecords) {
  define();
  exec("INSERT INTO KLASYFIKATOR_WARTOSC (RODZAJ, ID_REKORDU, NUMER, WARTOSC) VALUES "
       "('Magazyn', 1, 1, 'O''Brien''s'), ('Magazyn', 1, 3, 'pilne'), ('Magazyn', 2, 1, 'O''Brien''s'), "
       "('Pracownik', 1, 1, 'O''Brien''s')");
  EXPECT_EQ(KLASYFIKATORY_UTWORZSQL(kKind, "a.id_magazynu"), "") << "no filter value set";

  start([] { EXPECT_EQ(KLASYFIKATORY_OKNO(kKind, kClassifierFilterUse), data::kRequestCompleted); });
  auto w = window("Pola dodatkowe - filtr");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->control("?KLAS1:PROMPT")->text, "Region") << "a filter needs no value";
  EXPECT_FALSE(w->control("?CZYSC")->hidden);
  ASSERT_TRUE(fe().type(w, "?KLAS1", "O'Brien's"));
  ASSERT_TRUE(fe().type(w, "?KLAS3", "pilne"));
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  join();

  const std::string condition = KLASYFIKATORY_UTWORZSQL(kKind, "a.id_magazynu");
  EXPECT_NE(condition.find("'O''Brien''s'"), std::string::npos) << condition;
  EXPECT_EQ(FUNCSQL("select count(*) from magazyn a where " + condition), "1") << condition;
  EXPECT_EQ(FUNCSQL("select min(a.id_magazynu) from magazyn a where " + condition), "1");

  // The values are kept for the next opening; "Czyść" empties them.
  start([] { EXPECT_EQ(KLASYFIKATORY_OKNO(kKind, kClassifierFilterUse), data::kRequestCompleted); });
  w = window("Pola dodatkowe - filtr");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?KLAS1"), "O'Brien's");
  ASSERT_TRUE(fe().press(w, rt::key::CtrlMod | 'K'));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(w->value("?KLAS1"), "");
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  join();
  EXPECT_EQ(KLASYFIKATORY_UTWORZSQL(kKind, "a.id_magazynu"), "");
}

SLOWNIK_ON_ALL_BACKENDS(Classifiers);

}  // namespace
}  // namespace slownik::svc
