// The employee list played through the headless front-end, checked against the database.
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "employee_windows.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/services/additional_tables.h"
#include "framework/services/classifiers.h"
#include "framework/services/edocuments.h"

namespace slownik::staff::test {
namespace {

constexpr int kShiftIns = rt::key::ShiftMod + rt::key::Ins;
constexpr int kCtrlF8 = rt::key::CtrlMod + rt::key::F8;

class EmployeeListTest : public EmployeeWindowTest {};

TEST_P(EmployeeListTest, TheArchiveTreeShowsEveryoneTheCurrentOrTheArchived) {
  auto w = openList();
  ASSERT_TRUE(w);
  // "Wszystko" is chosen at opening and means the archived employees too.
  EXPECT_EQ(w->control("?ARCHIWUM")->selection, 1);
  EXPECT_EQ(column(w, 0).size(), 3u);
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(rows(w)[0][valueAt(2)], "Kowalski Jan");
  // The archived row is grey, the others keep the list's colours.
  EXPECT_EQ(rows(w)[1][valueAt(1) + 1], std::to_string(0x808080));
  EXPECT_NE(rows(w)[0][valueAt(1) + 1], std::to_string(0x808080));

  ASSERT_TRUE(fe().clickRow(w, "?ARCHIWUM", 2));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "3"}));
  EXPECT_EQ(w->focus(), "?LIST");
  ASSERT_TRUE(fe().clickRow(w, "?ARCHIWUM", 3));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"2"}));
  ASSERT_TRUE(fe().clickRow(w, "?ARCHIWUM", 1));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_P(EmployeeListTest, TheFilterIsRememberedBetweenOpeningsAndJoinsTheArchivePart) {
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->control("?FILTR")->icon, "filtrno.ico");
  ASSERT_TRUE(fe().press(w, rt::key::F8));
  auto f = form("Filtr pracownika");
  ASSERT_TRUE(f);
  // An apostrophe is searched for, not read as the end of the SQL text.
  ASSERT_TRUE(fe().type(f, "?NAZWISKO", "O'B"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"2"}));
  EXPECT_EQ(w->control("?FILTR")->icon, "filtryes.ico");
  // The archive part joins the employee filter: O'Brien is archived.
  ASSERT_TRUE(fe().clickRow(w, "?ARCHIWUM", 2));
  EXPECT_TRUE(ids(w).empty());
  ASSERT_TRUE(fe().close(w));
  join();

  w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(ids(w), (std::vector<std::string>{"2"})) << "the filter is built again from the remembered values";
  EXPECT_EQ(w->control("?FILTR")->icon, "filtryes.ico");
  ASSERT_TRUE(fe().press(w, rt::key::F8));
  f = form("Filtr pracownika");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?NAZWISKO"), "O'B");
  // Cancelling keeps the filter as it was.
  ASSERT_TRUE(fe().type(f, "?NAZWISKO", "Nowak"));
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"2"}));

  ASSERT_TRUE(fe().press(w, kCtrlF8));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(w->control("?FILTR")->icon, "filtrno.ico");
  EXPECT_TRUE(rememberedEmployeeFilter().isEmpty());

  // Several values narrow together; the clear button empties the window.
  ASSERT_TRUE(fe().press(w, rt::key::F8));
  f = form("Filtr pracownika");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?NUMER", "P/00"));
  ASSERT_TRUE(fe().type(f, "?NIP", "123456"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"3"}));
  ASSERT_TRUE(fe().press(w, rt::key::F8));
  f = form("Filtr pracownika");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?CZYSC"));
  EXPECT_EQ(f->value("?NUMER"), "");
  EXPECT_EQ(f->value("?NIP"), "");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(w->control("?FILTR")->icon, "filtrno.ico");
}

TEST_P(EmployeeListTest, TheClassifierValuesOfTheFilterKeepEmployeesHoldingThem) {
  std::vector<svc::ClassifierDefinition> defs(svc::kClassifierCount);
  for (int i = 0; i < svc::kClassifierCount; ++i) defs[i].number = i + 1;
  defs[0] = {1, "Dział", false, false, {"Magazyn", "Księgowość"}};
  ASSERT_TRUE(svc::saveClassifierDefinitions("Pracownik", defs).isOk());
  exec("INSERT INTO KLASYFIKATOR_WARTOSC (RODZAJ, ID_REKORDU, NUMER, WARTOSC) VALUES "
       "('Pracownik', 2, 1, 'Księgowość'), ('Pracownik', 3, 1, 'Magazyn')");
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::F8));
  auto f = form("Filtr pracownika");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?POLA_DODATKOWE"), "0");
  ASSERT_TRUE(fe().click(f, "?POLA_DODATKOWE"));
  auto values = form("Pola dodatkowe - filtr");
  ASSERT_TRUE(values);
  ASSERT_TRUE(fe().type(values, "?KLAS1", "Magazyn"));
  ASSERT_TRUE(fe().press(values, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(values));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->value("?POLA_DODATKOWE"), "1");
  ASSERT_TRUE(fe().type(f, "?NUMER", "P/"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"3"}));
  EXPECT_EQ(w->control("?FILTR")->icon, "filtryes.ico");

  // Cleared in the window but cancelled: the lists still filter by the value.
  ASSERT_TRUE(fe().press(w, rt::key::F8));
  f = form("Filtr pracownika");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?POLA_DODATKOWE"), "1");
  ASSERT_TRUE(fe().click(f, "?CZYSC"));
  EXPECT_EQ(f->value("?POLA_DODATKOWE"), "0");
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(svc::classifierFilter("Pracownik")[0], "Magazyn");
  ASSERT_TRUE(fe().close(w));
  join();
  w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(ids(w), (std::vector<std::string>{"3"})) << "the classifier part is remembered too";

  // Clearing the employee filter clears its classifier values with it.
  ASSERT_TRUE(fe().press(w, kCtrlF8));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(svc::classifierFilter("Pracownik")[0], "");
}

TEST_P(EmployeeListTest, TablesAndEdocumentsOpenForTheSelectedEmployee) {
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->control("?TABELE")->hidden) << "no additional table is defined for employees";
  ASSERT_TRUE(fe().close(w));
  join();

  svc::AdditionalTable courses;
  courses.name = "Szkolenia";
  courses.columns[0] = "Kurs";
  ASSERT_TRUE(svc::saveAdditionalTables("Pracownik", {courses}).isOk());
  w = openList();
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->control("?TABELE")->hidden);
  // The tables window walks the list's own rows: after the archived O'Brien comes Nowak.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().click(w, "?TABELE"));
  auto tables = form("Tabele dodatkowe");
  ASSERT_TRUE(tables);
  EXPECT_EQ(tables->control("?REKORD")->text, "Pracownik: P/002");
  ASSERT_TRUE(fe().click(tables, "?NASTEPNY"));
  EXPECT_EQ(tables->control("?REKORD")->text, "Pracownik: P/003");
  EXPECT_FALSE(tables->control("?NASTEPNY")->enabled);
  ASSERT_TRUE(fe().click(tables, "?CLOSE"));
  ASSERT_TRUE(fe().waitForClose(tables));

  // The files are the selected employee's, from the button and from the menu.
  const std::string path = ::testing::TempDir() + "umowa_obrien.txt";
  { std::ofstream(path) << "umowa"; }
  std::string error;
  ASSERT_GT(svc::addEdocument(svc::kEdocumentEmployee, 2, path, &error), 0) << error;
  std::remove(path.c_str());
  ASSERT_TRUE(fe().settle(w));
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().press(w, rt::key::CtrlMod + rt::key::letter('E')));
  auto files = form("e-Dokumenty");
  ASSERT_TRUE(files);
  ASSERT_EQ(rows(files).size(), 1u);
  EXPECT_EQ(rows(files)[0][0], "umowa_obrien.txt");
  ASSERT_TRUE(fe().click(files, "?CLOSE"));
  ASSERT_TRUE(fe().waitForClose(files));
  ASSERT_TRUE(fe().settle(w));
  // "Zał." counts the files; the list was read again after the viewer.
  EXPECT_EQ(rows(w)[1][kAttachmentsAt], "1");
  EXPECT_EQ(rows(w)[2][kAttachmentsAt], "") << "no files: no \"0\" beside the icon";
  fe().expectPopup("e-Dokumenty");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 3));
  files = form("e-Dokumenty");
  ASSERT_TRUE(files);
  EXPECT_TRUE(rows(files).empty()) << "Nowak has no files";
  ASSERT_TRUE(fe().click(files, "?CLOSE"));
  ASSERT_TRUE(fe().waitForClose(files));
  ASSERT_TRUE(fe().close(w));
  join();
}

TEST_P(EmployeeListTest, SortAndDirectionAreKeptAsWindowParameters) {
  exec("UPDATE PRACOWNIK SET PESEL = '80010100000' WHERE ID_PRACOWNIKA = 1");
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "numer");
  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "nazwisko"));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "3", "2"}));  // Kowalski, Nowak, O'Brien
  ASSERT_TRUE(fe().click(w, "?PORZADEK"));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"2", "3", "1"}));
  EXPECT_EQ(w->control("?PORZADEK")->icon, "~malejaco.ico");
  ASSERT_TRUE(fe().close(w));
  join();

  w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "nazwisko");
  EXPECT_EQ(ids(w), (std::vector<std::string>{"2", "3", "1"}));
  ASSERT_TRUE(fe().press(w, rt::key::CtrlMod + rt::key::Up));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "3", "2"}));
  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "pesel"));
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "3", "2"}));
}

TEST_P(EmployeeListTest, CancellingTheFormOfADuplicateRemovesTheCopy) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 3));  // Nowak
  ASSERT_TRUE(fe().press(w, kShiftIns));
  auto f = form("Dodawanie pracownika");
  ASSERT_TRUE(f);
  EXPECT_EQ(employeeCount(), 4);
  EXPECT_EQ(f->value("?PRA:NR_EWIDENCYJNY"), "") << "the copy needs a number of its own";
  EXPECT_EQ(f->value("?PRA:NAZWISKO"), "Nowak");
  EXPECT_EQ(employee(4, "SEMAFOR"), sql::sqlId(kAdmin)) << "the copy is edited under its lock";
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employeeCount(), 3);
  EXPECT_EQ(ids(w), (std::vector<std::string>{"1", "2", "3"}));

  // Saved, the copy stays, free, with the new number; the original is untouched.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 3));
  ASSERT_TRUE(fe().press(w, kShiftIns));
  f = form("Dodawanie pracownika");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?PRA:NR_EWIDENCYJNY", "P/004"));
  ASSERT_TRUE(fe().type(f, "?PRA:IMIE_1", "Paweł"));
  // The original's tax number is now the copy's too: the user may keep it.
  fe().expectMessage(rt::button::Yes, "Numer NIP 1234563218 jest już wpisany u pracownika: Nowak Piotr.");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employeeCount(), 4);
  const std::string copy = scalar("SELECT ID_PRACOWNIKA FROM PRACOWNIK WHERE NR_EWIDENCYJNY = 'P/004'");
  ASSERT_FALSE(copy.empty());
  EXPECT_EQ(employee(std::stoi(copy), "IMIE_1"), "Paweł");
  EXPECT_EQ(employee(std::stoi(copy), "SEMAFOR"), "0");
  EXPECT_EQ(employee(3, "IMIE_1"), "Piotr");
  EXPECT_EQ(employee(3, "NR_EWIDENCYJNY"), "P/003");
}

TEST_P(EmployeeListTest, ArchivingTurnsAnEmployeeBackAndForthButNotOneOfThePayroll) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  fe().expectPopup("Przenieś do archiwum");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employee(1, "ARCHIWUM"), "2");
  fe().expectPopup("Przenieś do archiwum");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employee(1, "ARCHIWUM"), "1");

  fe().expectPopup("Przenieś do archiwum");
  fe().expectMessage(rt::button::Ok, "Operacja dozwolona tylko w systemie Plew.");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 3));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employee(3, "ARCHIWUM"), "1");

  // The menu offers what the list does, in its order.
  auto menus = fe().popupsShown();
  ASSERT_FALSE(menus.empty());
  ASSERT_GE(menus.back().size(), 10u);
  EXPECT_EQ(std::vector<std::string>(menus.back().end() - 10, menus.back().end()),
            (std::vector<std::string>{"Pokaż", "Powiel <Shift+Ins>", "Przenieś do archiwum", "Filtr pracownika <F8>",
                                      "Kasuj filtr/Kasuj wszystkie filtry <Ctrl+F10>",
                                      "Kasuj filtr/Kasuj filtr pracownika <Ctrl+F8>", "e-Dokumenty",
                                      "Eksport do Excela", "Drukuj", "Konfiguracja kolumn"}));
}

TEST_P(EmployeeListTest, AnEmployeeAnotherUserEditsIsRefused) {
  exec("UPDATE PRACOWNIK SET SEMAFOR = " + sql::sqlId(kJan) + " WHERE ID_PRACOWNIKA = 3");
  auto w = openList();
  ASSERT_TRUE(w);
  // Locked by another user: blue.
  EXPECT_EQ(rows(w)[2][valueAt(1) + 1], std::to_string(0xFF0000));
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 3));
  fe().expectMessage(rt::button::Ok, kLockedText);
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employee(3, "SEMAFOR"), sql::sqlId(kJan));

  fe().expectMessage(rt::button::Yes, "Czy usunąć bieżącego pracownika?");
  fe().expectMessage(rt::button::Ok, kLockedText);
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employeeCount(), 3);
  ASSERT_GE(fe().messages().size(), 2u);
  EXPECT_EQ(fe().messages()[1].title, "TRAMEL: Pytanie");
  EXPECT_EQ(fe().messages()[1].defaultButton, rt::button::No);

  // Free again: changed under the list's lock, which is released after the form.
  exec("UPDATE PRACOWNIK SET SEMAFOR = 0 WHERE ID_PRACOWNIKA = 3");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = form("Edycja pracownika");
  ASSERT_TRUE(f);
  EXPECT_EQ(employee(3, "SEMAFOR"), sql::sqlId(kAdmin));
  ASSERT_TRUE(fe().type(f, "?PRA:TELEFON", "204"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employee(3, "TELEFON"), "204");
  EXPECT_EQ(employee(3, "SEMAFOR"), "0");

  fe().expectMessage(rt::button::Yes, "Czy usunąć bieżącego pracownika?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employeeCount(), 2);
}

TEST_P(EmployeeListTest, RightsGuardTheListTheFormAndTheColumns) {
  asUser(sql::demo::kUserId);
  exec("DELETE FROM DOSTEP WHERE ID_GRUPY = 2 AND KOD IN ('Prac', 'OPrac')");
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do pracowników!");
  startList();
  join();
  EXPECT_EQ(fe().messages().size(), 1u);

  grant({"Prac"});
  auto w = openList();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie Pracowników!");
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie Pracowników!");
  ASSERT_TRUE(fe().press(w, kShiftIns));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na oglądanie Pracowników!");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na oglądanie Pracowników!");
  ASSERT_TRUE(fe().press(w, rt::key::ShiftMod + rt::key::F2));
  fe().expectPopup("Konfiguracja kolumn");
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na konfigurację kolumn!");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employeeCount(), 3);
  ASSERT_TRUE(fe().close(w));
  join();

  // May look but not change: the form shows the employee, addresses included, read-only.
  grant({"OPrac"});
  w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = form("Podgląd pracownika");
  ASSERT_TRUE(f);
  for (const char* control : {"?PRA:NAZWISKO", "?PRA:PESEL", "?UZYTKOWNIK", "?INSERT:ADRES", "?OK"})
    EXPECT_FALSE(f->control(control)->enabled) << control;
  EXPECT_TRUE(f->control("?RACHUNKI")->enabled);
  EXPECT_EQ(f->value("?UZYTKOWNIK"), "1");
  EXPECT_EQ(f->value("?UZY:NAZWA"), "Jan Kowalski");
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(employee(1, "SEMAFOR"), "0");
}

TEST_P(EmployeeListTest, ANestOpensTheListOnlyToChooseOnItsEmployee) {
  start([out = outcome_ = std::make_shared<Outcome>()] {
    data::glo().KONTEKST_GNIAZDO = 1;
    data::field("PRA:ID_PRACOWNIKA").set(3);
    PRACOWNIK_BRW();
    out->response = data::GLOBALRESPONSE();
    out->chosenId = data::field("PRA:ID_PRACOWNIKA").number();
  });
  auto w = fe().waitForWindow("Lista pracowników");
  ASSERT_TRUE(w);
  for (const char* c : {"?INSERT", "?CHANGE", "?DELETE"}) EXPECT_TRUE(w->control(c)->hidden) << c;
  EXPECT_FALSE(w->control("?SELECT")->hidden);
  auto list = w->control("?LIST");
  ASSERT_GT(list->selection, 0);
  EXPECT_EQ(list->rows[static_cast<std::size_t>(list->selection - 1)][kIdAt], "3");
  // Duplicating is not a nest's business.
  ASSERT_TRUE(fe().press(w, kShiftIns));
  EXPECT_EQ(employeeCount(), 3);
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(w));
  join();
  EXPECT_EQ(outcome_->response, data::kRequestCompleted);
  EXPECT_EQ(outcome_->chosenId, 3);
  EXPECT_EQ(data::glo().KONTEKST_GNIAZDO.get(), 0) << "the nest is for one opening";
}

TEST_P(EmployeeListTest, ColumnsAreStoredAtClosingAndTheListGoesToASpreadsheet) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().close(w));
  join();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KOLUMNA_BROWSERA WHERE OKNO = 'PRACOWNIK_BRW'"), "24");
  // The user hid the NIP column: the next opening shows it so.
  exec("UPDATE KOLUMNA_BROWSERA SET ROZMIAR = 0, FORMAT = '0L(2)|M*~NIP~@s20@' WHERE OKNO = 'PRACOWNIK_BRW' "
       "AND KOLUMNA = '4'");
  w = openList();
  ASSERT_TRUE(w);
  auto format = rt::ListFormat::parse(w->control("?LIST")->format);
  ASSERT_TRUE(format);
  EXPECT_EQ(format->columns[3].width, 0);
  EXPECT_EQ(format->columns[1].width, 146);

  const std::string file = testing::TempDir() + "pracownicy_" + std::to_string(getpid()) + ".xlsx";
  std::remove(file.c_str());
  fe().expectPopup("Eksport do Excela");
  fe().expectFile(file);
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(fe().openedLinks(), (std::vector<std::string>{"file://" + file})) << "the written file is opened";
  std::ifstream written(file, std::ios::binary);
  ASSERT_TRUE(written.good());
  char magic[2] = {};
  written.read(magic, 2);
  EXPECT_EQ(std::string(magic, 2), "PK") << "an .xlsx file is a zip package";
  std::remove(file.c_str());
}

}  // namespace

SLOWNIK_ON_ALL_BACKENDS(EmployeeListTest);

}  // namespace slownik::staff::test
