// Additional tables played through the headless front-end: the administrator defines
// them, the button's check finds them, and a record's rows are added, changed, deleted
// and followed from record to record of the calling list.
#include <string>
#include <vector>

#include "engine/window_fixture.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/services/additional_tables.h"
#include "framework/services/messages.h"

namespace slownik::svc {
namespace {

constexpr const char* kKind = "Pracownik";
constexpr const char* kListSql = "FROM PRACOWNIK A WHERE A.ID_FIRMY = 1 ORDER BY A.NR_EWIDENCYJNY ASC";

class AdditionalTables : public test::WindowFixture {
 protected:
  void define() {
    AdditionalTable courses;
    courses.name = "Szkolenia";
    courses.columns = {"Szkolenie", "", "Data", "", ""};
    AdditionalTable exams;
    exams.name = "Badania";
    exams.columns = {"Rodzaj", "", "", "", ""};
    ASSERT_TRUE(saveAdditionalTables(kKind, {courses, exams}).isOk());
  }
  std::string rowsOf(int record) {
    sql::Result r;
    EXPECT_TRUE(db().execute("SELECT T.NAZWA, W.WARTOSC1, W.WARTOSC3 FROM TABELA_DODATKOWA_WIERSZ W JOIN TABELA_DODATKOWA T "
                             "ON T.ID_TABELI = W.ID_TABELI WHERE W.ID_REKORDU = " + std::to_string(record) +
                             " ORDER BY W.ID_WIERSZA", {}, &r).isOk());
    std::string out;
    for (std::size_t i = 0; i < r.size(); ++i) out += r.text(i, 0) + ":" + r.text(i, 1) + "/" + r.text(i, 2) + ";";
    return out;
  }
};

TEST_P(AdditionalTables, AdministratorDefinesTablesAndTheCheckFindsThem) {
  EXPECT_EQ(SPRAWDZTABELEDODATKOWE(kKind), 0);
  start([] { EXPECT_EQ(TABELE_DODATKOWE_DEFINICJE(kKind), 1); });
  auto w = window("Definicje tabel dodatkowych: Pracownik");
  ASSERT_TRUE(w);
  EXPECT_TRUE(rows(w).empty());
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  ASSERT_TRUE(fe().type(w, "?NAZWA", "Szkolenia O'Neill"));
  fe().expectMessage(rt::button::Ok, "musi mieć przynajmniej jedną kolumnę");
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_TRUE(fe().type(w, "?KOLUMNA2", "Data"));
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  join();
  auto tables = additionalTables(kKind);
  ASSERT_TRUE(tables);
  ASSERT_EQ(tables->size(), 1u);
  EXPECT_EQ((*tables)[0].name, "Szkolenia O'Neill");
  EXPECT_EQ((*tables)[0].usedColumns(), (std::vector<int>{2}));
  EXPECT_EQ(SPRAWDZTABELEDODATKOWE(kKind), 1);
  EXPECT_EQ(SPRAWDZTABELEDODATKOWE("Magazyn"), 0);

  // Removing a table removes its rows.
  exec("INSERT INTO TABELA_DODATKOWA_WIERSZ (ID_WIERSZA, ID_TABELI, ID_REKORDU, WARTOSC2) VALUES (1, " +
       sql::sqlId((*tables)[0].id) + ", 1, '2026-01-10')");
  start([] { TABELE_DODATKOWE_DEFINICJE(kKind); });
  w = window("Definicje tabel dodatkowych: Pracownik");
  ASSERT_TRUE(w);
  fe().expectMessage(kYes, "Usunięcie tabeli \"Szkolenia O'Neill\" usunie też wszystkie jej wiersze.");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  join();
  EXPECT_EQ(SPRAWDZTABELEDODATKOWE(kKind), 0);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_DODATKOWA_WIERSZ"), "0");

  asUser(sql::demo::kUserId);
  fe().expectMessage(rt::button::Ok, "tylko administrator");
  start([] { EXPECT_EQ(TABELE_DODATKOWE_DEFINICJE(kKind), 0); });
  join();
}

TEST_P(AdditionalTables, ARecordsRowsAreEditedAndFollowTheListsRecords) {
  define();
  exec("INSERT INTO PRACOWNIK (ID_PRACOWNIKA, ID_FIRMY, NR_EWIDENCYJNY, NAZWISKO) VALUES (2, 1, 'P/002', 'Nowak')");
  start([] { TABELE_DODATKOWE(kKind, kListSql, "NR_EWIDENCYJNY", 1); });
  auto w = window("Tabele dodatkowe");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->control("?REKORD")->text, "Pracownik: P/001");
  EXPECT_EQ(w->control("?TABELA")->items, (std::vector<std::string>{"Badania", "Szkolenia"}));
  EXPECT_FALSE(w->control("?POPRZEDNI")->enabled);
  EXPECT_TRUE(w->control("?NASTEPNY")->enabled);
  ASSERT_TRUE(fe().choose(w, "?TABELA", "Szkolenia"));
  ASSERT_TRUE(fe().settle(w));
  auto format = rt::ListFormat::parse(w->control("?LIST")->format);
  ASSERT_TRUE(format);
  ASSERT_EQ(format->columns.size(), 2u);
  EXPECT_EQ(format->columns[1].header, "Data");

  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie wiersza: Szkolenia");
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->control("?WARTOSC2:WIERSZ")->hidden);
  EXPECT_EQ(f->control("?WARTOSC3:PROMPT")->text, "Data");
  fe().expectMessage(rt::button::Ok, "Proszę wypełnić przynajmniej jedną kolumnę wiersza.");
  ASSERT_TRUE(fe().press(f, rt::key::F10));
  ASSERT_TRUE(fe().settle(f));
  ASSERT_TRUE(fe().type(f, "?WARTOSC1", "BHP O'Neill"));
  ASSERT_TRUE(fe().type(f, "?WARTOSC3", "2026-01-10"));
  ASSERT_TRUE(fe().press(f, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rows(w), (std::vector<std::vector<std::string>>{{"BHP O'Neill", "2026-01-10"}}));

  ASSERT_TRUE(fe().press(w, rt::key::F2));
  f = window("Edycja wiersza: Szkolenia");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?WARTOSC1"), "BHP O'Neill");
  ASSERT_TRUE(fe().type(f, "?WARTOSC3", "2026-02-01"));
  ASSERT_TRUE(fe().press(f, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rowsOf(1), "Szkolenia:BHP O'Neill/2026-02-01;");

  // The next record of the list has rows of its own.
  ASSERT_TRUE(fe().click(w, "?NASTEPNY"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(w->control("?REKORD")->text, "Pracownik: P/002");
  EXPECT_TRUE(rows(w).empty());
  EXPECT_FALSE(w->control("?NASTEPNY")->enabled);
  ASSERT_TRUE(fe().click(w, "?POPRZEDNI"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rows(w).size(), 1u);

  fe().expectMessage(kNo, "Czy usunąć bieżący wiersz tabeli Szkolenia?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rows(w).size(), 1u);
  fe().expectMessage(kYes, "Czy usunąć bieżący wiersz tabeli Szkolenia?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_TRUE(rows(w).empty());
  EXPECT_EQ(rowsOf(1), "");
  fe().press(w, rt::key::Esc);
  join();

  // A kind without tables: an ordinary user is told so.
  asUser(sql::demo::kUserId);
  fe().expectMessage(rt::button::Ok, "Nie zdefiniowano tabel dodatkowych dla: Magazyn.");
  start([] { TABELE_DODATKOWE("Magazyn", "FROM MAGAZYN A ORDER BY A.SYMBOL ASC", "SYMBOL", 1); });
  join();
}

SLOWNIK_ON_ALL_BACKENDS(AdditionalTables);

}  // namespace
}  // namespace slownik::svc
