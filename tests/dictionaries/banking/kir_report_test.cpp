// The report of a branch import: what it added and failed to add, the banks whose data
// the file gives otherwise (left alone by the import), and applying chosen changes.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "bank_windows.h"
#include "dictionaries/banking/kir_branch_file_writer.h"
#include "dictionaries/banking/kir_import.h"
#include "dictionaries/banking/kir_import_entry.h"
#include "dictionaries/banking/kir_report.h"
#include "dictionaries/banking/kir_report_window.h"
#include "framework/runtime/keys.h"
#include "framework/services/program_parameters.h"
#include "support/zip_entries.h"

namespace slownik::banking::test {
namespace {

namespace fs = std::filesystem;

const std::string kReportTitle = "Raport importu banków z KIR";
const std::string kChangedMessage =
    "Banki, których dane w pliku KIR różnią się od zapisanych w bazie: 2.|Nie zostały zmienione; zmiany można "
    "przejrzeć i zastosować w raporcie importu.";

// Against the demo's banks 1 (19900003), 2 (19900016) and 3 (89990003).
std::vector<KirBranch> branchFile() {
  return {
      // The same bank in capitals and with a doubled blank: not a change.
      {"19900003", "BANK DEMONSTRACYJNY S.A. CENTRALA", "UL. BANKOWA  1", "00-950", "WARSZAWA"},
      // The file cuts the name at 35 characters, where it still agrees: only the street changed.
      {"19900016", "Bank Demonstracyjny S.A. Oddział w Krakowie", "ul. Floriańska 12", "31-019", "Kraków"},
      {"89990003", "Bank Spółdzielczy w Żółkiewce O'Neill", "ul. Rynek 5", "22-335", "Żółkiewka"},
      {"10100000", "Bank Nowy", "ul. Nowa 1", "00-001", "Łódź"},
      // Its name is taken: the test's unique index refuses the insert.
      {"10200003", "Bank Demonstracyjny S.A. Centrala", "", "", ""},
      // A number met again: its first record decides.
      {"19900016", "Powtórka", "", "", ""},
  };
}

class KirReportTest : public BankWindowTest {
 protected:
  void SetUp() override {
    BankWindowTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    dir_ = fs::temp_directory_path() / ("kir_report_" + std::to_string(::getpid()) + "_" + GetParam().name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ASSERT_EQ(svc::USTAWPARAMKONF("s", "KIR_Katalog", dir_.string()), 0);
    exec("CREATE UNIQUE INDEX KIR_TEST_NAZWA ON BANKI (NAZWA)");
    writeFile(branchFile());
  }
  void TearDown() override {
    BankWindowTest::TearDown();
    fs::remove_all(dir_);
  }

  void writeFile(const std::vector<KirBranch>& branches) {
    std::ofstream(dir_ / "ODDZIALY.DBF", std::ios::binary) << writeKirBranchFile(branches, CodePage::Cp852);
  }
  //! The import without windows, as `user`; its report's id.
  long long importAs(double user) {
    auto opened = KirBranchFile::open(dir_ / "ODDZIALY.DBF");
    EXPECT_TRUE(opened.file);
    if (!opened.file) return 0;
    KirImport import(db(), *opened.file, nullptr);
    import.keepReport(static_cast<long long>(user), (dir_ / "ODDZIALY.DBF").string());
    EXPECT_TRUE(import.prepare().isOk());
    while (import.importBatch()) {
    }
    const KirImportState& state = import.finish();
    EXPECT_TRUE(state.error.isOk()) << state.error.message();
    return state.reportId;
  }
  //! The report's lines, "number:kind:bank:number in file:name in file:name in BANKI", by number.
  std::string lines(long long report) {
    sql::Result r;
    EXPECT_TRUE(db().execute("SELECT NR_POZYCJI, RODZAJ, ID_BANKU, NUMER_BANKU, NAZWA, NAZWA_W_BAZIE FROM KIR_RAPORT "
                             "WHERE ID_IMPORTU = " + std::to_string(report) + " ORDER BY NR_POZYCJI",
                             &r)
                    .isOk());
    std::string out;
    for (std::size_t row = 0; row < r.size(); ++row) {
      if (row > 0) out += ",";
      for (std::size_t column = 0; column < 6; ++column) out += (column > 0 ? ":" : "") + r.text(row, column);
    }
    return out;
  }
  std::string kinds(long long report) {
    std::string out;
    for (const std::string& line : split(lines(report))) out += line.substr(line.find(':') + 1, 1);
    return out;
  }
  static std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(',', from)) != std::string::npos; from = at + 1)
      parts.push_back(text.substr(from, at - from));
    if (from < text.size()) parts.push_back(text.substr(from));
    return parts;
  }

  fs::path dir_;
};

TEST(KirReportText, LetterCaseAndBlanksAreNoChangeButAnyOtherCharacterIs) {
  EXPECT_TRUE(sameKirText("ŁÓDŹ  ŚRÓDMIEŚCIE ", "Łódź Śródmieście"));
  EXPECT_TRUE(sameKirText("", ""));
  EXPECT_FALSE(sameKirText("Łódź", "Lodz"));
  EXPECT_FALSE(sameKirText("ul. Floriańska 10", "ul. Floriańska 12"));
  EXPECT_FALSE(sameKirText("", "x"));
  KirBranch file{"1", "BANK", "UL. A 1", "00-001", "KRAKÓW"};
  StoredBank stored{7, "1", "Bank", "ul. a 1", "00-001", "Kraków"};
  EXPECT_FALSE(differsFromStored(file, stored));
  stored.postalCode = "00-002";
  EXPECT_TRUE(differsFromStored(file, stored)) << "the postal code is part of the address";

  // The file holds 35 characters of a name: a longer name stored is the same while its
  // beginning is, not when it differs within them.
  const std::string longName = "Bank Spółdzielczy Rzemiosła w Krakowie Oddział w Wieliczce";
  EXPECT_TRUE(sameKirText("BANK SPÓŁDZIELCZY RZEMIOSŁA W KRAKO", longName, 35));
  EXPECT_FALSE(sameKirText("BANK SPÓŁDZIELCZY RZEMIOSŁA W TARNO", longName, 35));
  EXPECT_FALSE(sameKirText("BANK SPÓŁDZIELCZY RZEMIOSŁA W KRAKO", longName)) << "without the width, all of it counts";
}

TEST_P(KirReportTest, TheImportReportsWhatItAddedFailedAndFoundChangedWithoutChangingIt) {
  const long long report = importAs(kAdmin);
  ASSERT_GT(report, 0);
  EXPECT_EQ(lines(report),
            "1:Z:2:19900016:Bank Demonstracyjny S.A. Oddział w:Bank Demonstracyjny S.A. Oddział w Krakowie,"
            "2:Z:3:89990003:Bank Spółdzielczy w Żółkiewce O'Nei:Bank Spółdzielczy w Żółkiewce,"
            "3:D:4:10100000:Bank Nowy:,"
            "4:N:5:10200003:Bank Demonstracyjny S.A. Centrala:");
  EXPECT_EQ(scalar("SELECT ULICA_LOKAL || '|' || ULICA_W_BAZIE FROM KIR_RAPORT WHERE ID_IMPORTU = " +
                   std::to_string(report) + " AND NR_POZYCJI = 1"),
            "ul. Floriańska 12|ul. Floriańska 10");
  EXPECT_EQ(bank(2, "ULICA_LOKAL"), "ul. Floriańska 10") << "the import never changes a bank";
  EXPECT_EQ(bank(3, "NAZWA"), "Bank Spółdzielczy w Żółkiewce");

  // A user keeps the latest report only; another user's stays. Lines whose run is gone
  // (another workstation's import of the same user removed it) go too.
  exec("INSERT INTO KIR_RAPORT (ID_IMPORTU, NR_POZYCJI, RODZAJ) VALUES (" + std::to_string(report + 1000) + ", 1, 'D')");
  const long long janReport = importAs(kJan);
  const long long again = importAs(kAdmin);
  EXPECT_GT(again, report);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KIR_RAPORT WHERE ID_IMPORTU IN (" + std::to_string(report) + ", " +
                   std::to_string(report + 1000) + ")"),
            "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KIR_IMPORT WHERE ID_UZYTKOWNIKA = " + std::to_string(static_cast<long long>(kAdmin))), "1");
  EXPECT_EQ(latestKirImport(db(), static_cast<long long>(kAdmin)), again);
  EXPECT_EQ(latestKirImport(db(), static_cast<long long>(kJan)), janReport);
  // The bank added by the first run is known now; the failing one fails again.
  EXPECT_EQ(kinds(again), "ZZN");
}

TEST_P(KirReportTest, ApplyingWritesOnlyBanksThatAreFreeAndAsTheImportSawThem) {
  exec("INSERT INTO BANKI (ID_BANKU, NUMER_BANKU, NAZWA) VALUES (50, '12400001', 'Bank do usunięcia')");
  auto branches = branchFile();
  branches.push_back({"12400001", "Bank usunięty", "", "", ""});
  writeFile(branches);
  const long long report = importAs(kAdmin);
  ASSERT_EQ(scalar("SELECT COUNT(*) FROM KIR_RAPORT WHERE RODZAJ = 'Z' AND ID_IMPORTU = " + std::to_string(report)), "3");

  exec("UPDATE BANKI SET SEMAFOR = 6100004 WHERE ID_BANKU = 2");  // Jan edits bank 2
  exec("DELETE FROM BANKI WHERE ID_BANKU = 50");
  std::vector<long> pending;
  ASSERT_TRUE(pendingKirChanges(db(), report, &pending).isOk());
  ASSERT_EQ(pending, (std::vector<long>{1, 2, 5}));  // lines in the file's order
  KirApplyOutcome first = applyKirChanges(db(), report, pending);
  ASSERT_TRUE(first.error.isOk()) << first.error.message();
  EXPECT_EQ(first.applied, 1);
  EXPECT_EQ(first.locked, 1);
  EXPECT_EQ(first.changedSince, 1) << "the deleted bank";
  EXPECT_EQ(bank(3, "NAZWA"), "Bank Spółdzielczy w Żółkiewce O'Nei") << "an apostrophe is only a character";
  EXPECT_EQ(bank(2, "ULICA_LOKAL"), "ul. Floriańska 10");
  EXPECT_EQ(bank(3, "SEMAFOR"), "0") << "the lock taken for the write is given back";
  EXPECT_EQ(kirApplyMessage(first),
            "Zastosowano zmiany z pliku KIR w bankach: 1.|Pominięto banki edytowane przez innych użytkowników: 1."
            "|Edytuje: Jan Kowalski|Pominięto banki zmienione lub usunięte po imporcie: 1.");

  // Jan saved his own street meanwhile: the file's data no longer applies to what the
  // import saw.
  exec("UPDATE BANKI SET SEMAFOR = 0 WHERE ID_BANKU = 2");
  exec("UPDATE BANKI SET ULICA_LOKAL = 'ul. Inna 3' WHERE ID_BANKU = 2");
  pending.clear();
  ASSERT_TRUE(pendingKirChanges(db(), report, &pending).isOk());
  EXPECT_EQ(pending, (std::vector<long>{1, 5}));
  KirApplyOutcome second = applyKirChanges(db(), report, {1, 2});
  EXPECT_EQ(second.applied, 0);
  EXPECT_EQ(second.changedSince, 1);
  EXPECT_EQ(second.alreadyApplied, 1);
  EXPECT_EQ(bank(2, "ULICA_LOKAL"), "ul. Inna 3");
  EXPECT_EQ(kirApplyMessage(second),
            "Zastosowano zmiany z pliku KIR w bankach: 0.|Pominięto banki zmienione lub usunięte po imporcie: 1."
            "|Zastosowane już wcześniej: 1.");

  // A stop asked for before the first bank applies nothing.
  exec("UPDATE BANKI SET ULICA_LOKAL = 'ul. Floriańska 10' WHERE ID_BANKU = 2");
  KirApplyOutcome stopped = applyKirChanges(db(), report, {1}, [](long, long) { return true; });
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_EQ(bank(2, "ULICA_LOKAL"), "ul. Floriańska 10");
}

TEST_P(KirReportTest, AfterTheImportTheReportWindowAppliesTheSelectedChangesAfterAQuestion) {
  fe().expectMessage(rt::button::Ok, "Dodano 1 nowych banków.");
  fe().expectMessage(rt::button::Ok, "Dodanie 1 banków zakończyło się niepowodzeniem.");
  fe().expectMessage(rt::button::Ok, kChangedMessage);
  auto response = std::make_shared<std::atomic<int>>(-1);
  start([response] {
    IMPORTKIR();
    *response = data::GLOBALRESPONSE();
  });
  auto w = window(kReportTitle);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_NE(w->text("?OPIS").find("ODDZIALY.DBF"), std::string::npos) << w->text("?OPIS");
  EXPECT_EQ(w->text("?GRUPA:ZMIENIONE"), "Zmienione w pliku KIR (2)");
  EXPECT_EQ(w->text("?GRUPA:DODANE"), "Dodane z pliku KIR (1, nie dodane: 1)");

  // The changed banks by number; the file's values beside the database's, those that
  // differ in red.
  auto changed = rows(w);
  ASSERT_EQ(changed.size(), 2u);
  EXPECT_EQ(changed[0][0], "19900016");
  EXPECT_EQ(changed[0][static_cast<std::size_t>(valueField(4) - 1)], "ul. Floriańska 10");
  EXPECT_EQ(changed[0][static_cast<std::size_t>(valueField(5) - 1)], "ul. Floriańska 12");
  EXPECT_EQ(changed[0][static_cast<std::size_t>(textColourField(5) - 1)], "255");
  EXPECT_EQ(changed[0][static_cast<std::size_t>(textColourField(3) - 1)], "-1");
  EXPECT_EQ(changed[1][0], "89990003");
  EXPECT_EQ(changed[1][static_cast<std::size_t>(textColourField(3) - 1)], "255");

  // The added list in the file's order, each with its outcome.
  auto added = w->control("?LIST1")->rows;
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(added[0][0], "10100000");
  EXPECT_EQ(added[0][5], "dodany");
  EXPECT_EQ(added[1][0], "10200003");
  EXPECT_EQ(added[1][5], "nie dodany");

  // Both rows selected; "Nie" to the question changes nothing.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().extendRow(w, "?LIST", 2, true));
  fe().expectMessage(rt::button::No, "Czy zastosować dane z pliku KIR w zaznaczonych bankach (2)?");
  ASSERT_TRUE(fe().click(w, "?ZASTOSUJ"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(bank(2, "ULICA_LOKAL"), "ul. Floriańska 10");

  fe().expectMessage(rt::button::Yes, "Czy zastosować dane z pliku KIR w zaznaczonych bankach (2)?");
  fe().expectMessage(rt::button::Ok, "Zastosowano zmiany z pliku KIR w bankach: 2.");
  ASSERT_TRUE(fe().press(w, rt::key::F10));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(bank(2, "ULICA_LOKAL"), "ul. Floriańska 12");
  EXPECT_EQ(bank(2, "NAZWA"), "Bank Demonstracyjny S.A. Oddział w Krakowie") << "the name the file cuts short stays";
  EXPECT_EQ(bank(3, "NAZWA"), "Bank Spółdzielczy w Żółkiewce O'Nei");
  changed = rows(w);
  ASSERT_EQ(changed.size(), 2u);
  EXPECT_EQ(changed[0][static_cast<std::size_t>(valueField(10) - 1)], "Tak");
  EXPECT_EQ(changed[1][static_cast<std::size_t>(valueField(10) - 1)], "Tak");
  EXPECT_FALSE(w->control("?ZASTOSUJ")->enabled) << "nothing is left to apply";
  EXPECT_FALSE(w->control("?ZASTOSUJ:WSZYSTKIE")->enabled);

  // The added list exports as every list does.
  const fs::path file = dir_ / "raport.xlsx";
  fe().expectPopup("Eksport do Excela");
  fe().expectFile(file.string());
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST1", 1));
  ASSERT_TRUE(fe().settle(w));
  slownik::test::ZipEntries zip(file.string());
  ASSERT_TRUE(zip.valid());
  const std::string words = zip.text("xl/worksheets/sheet1.xml") + zip.text("xl/sharedStrings.xml");
  for (const char* word : {"Nr banku", "Bank Nowy", "nie dodany", "Łódź"})
    EXPECT_NE(words.find(word), std::string::npos) << word;

  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(w));
  join();
  EXPECT_EQ(*response, data::kRequestCompleted);
}

TEST_P(KirReportTest, ApplyAllTakesTheBanksNotYetAppliedAndNeedsTheRight) {
  const long long report = importAs(kAdmin);
  ASSERT_GT(report, 0);
  ASSERT_TRUE(applyKirChanges(db(), report, {2}).error.isOk());
  start([report] { showKirReport(report); });
  auto w = window(kReportTitle);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().settle(w));
  fe().expectMessage(rt::button::Yes, "Czy zastosować dane z pliku KIR we wszystkich bankach tej listy (1)?");
  fe().expectMessage(rt::button::Ok, "Zastosowano zmiany z pliku KIR w bankach: 1.");
  ASSERT_TRUE(fe().click(w, "?ZASTOSUJ:WSZYSTKIE"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(bank(2, "ULICA_LOKAL"), "ul. Floriańska 12");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(w));
  join();

  // Jan may look at banks but not change them: the report refuses before asking.
  exec("UPDATE KIR_RAPORT SET ZASTOSOWANO = 0");
  exec("UPDATE BANKI SET ULICA_LOKAL = 'ul. Floriańska 10' WHERE ID_BANKU = 2");
  asUser(static_cast<long long>(kJan));  // may look at banks, may not edit them
  start([report] { showKirReport(report); });
  w = window(kReportTitle);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().settle(w));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na poprawianie banków!");
  ASSERT_TRUE(fe().click(w, "?ZASTOSUJ:WSZYSTKIE"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(bank(2, "ULICA_LOKAL"), "ul. Floriańska 10");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(w));
  join();
}

TEST_P(KirReportTest, TheBankListReopensTheLatestReport) {
  auto list = openList();
  ASSERT_TRUE(list);
  fe().expectPopup("Raport ostatniego importu z KIR");
  fe().expectMessage(rt::button::Ok, "Nie ma raportu importu banków z KIR.");
  ASSERT_TRUE(fe().rightClickRow(list, "?LIST", 1));
  ASSERT_TRUE(fe().settle(list));

  importAs(kAdmin);
  fe().expectPopup("Raport ostatniego importu z KIR");
  ASSERT_TRUE(fe().rightClickRow(list, "?LIST", 1));
  auto w = window(kReportTitle);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rows(w).size(), 2u);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(w));
  ASSERT_TRUE(fe().press(list, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(list));
  join();
}

SLOWNIK_ON_ALL_BACKENDS(KirReportTest);

}  // namespace
}  // namespace slownik::banking::test
