#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "dictionaries/banking/kir_branch_file_writer.h"
#include "dictionaries/banking/kir_import.h"
#include "dictionaries/banking/kir_import_entry.h"
#include "dictionaries/banking/kir_progress_window.h"
#include "fixtures/kir/kir_files.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/runtime/headless_front_end.h"
#include "framework/runtime/window.h"
#include "framework/services/program_parameters.h"
#include "support/backends.h"

namespace slownik::banking {
namespace {

namespace fs = std::filesystem;
namespace kir = test::kir;

const std::string kUpToDate = "Posiadasz aktualną bazę banków.|Nie dokonano żadnej aktualizacji.";

// Stops the import when asked before record `stopBefore` (1-based); records what it was told.
class ScriptedProgress final : public KirProgress {
 public:
  explicit ScriptedProgress(long stopBefore = 0) : stopBefore_(stopBefore) {}
  void begin(long total) override { total_ = total; }
  void step(long counter, long, std::string_view name) override {
    last_ = counter;
    lastName_ = name;
  }
  bool isCancelled() override { return stopBefore_ > 0 && last_ + 1 >= stopBefore_; }
  void end() override { ended_ = true; }

  long stopBefore_;
  long total_ = -1;
  long last_ = 0;
  std::string lastName_;
  bool ended_ = false;
};

std::vector<KirBranch> numberedBranches(int count) {
  std::vector<KirBranch> branches;
  for (int i = 1; i <= count; ++i) {
    branches.push_back({std::to_string(30000000 + i), "Bank Spółdzielczy nr " + std::to_string(i), "ul. Łąkowa " + std::to_string(i),
                        "00-950", "Gdańsk"});
  }
  return branches;
}

class KirImportTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    data::glo().ID_FIRMY = 1;
    dir_ = fs::temp_directory_path() / ("kir_import_" + std::to_string(::getpid()) + "_" + GetParam().name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    setDirectory(dir_.string());
  }

  void TearDown() override {
    if (fe_) {
      fe_->closeAll();
      for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
    }
    fs::remove_all(dir_);
    DatabaseTest::TearDown();
  }

  void setDirectory(const std::string& directory) {
    ASSERT_EQ(svc::USTAWPARAMKONF("s", "KIR_Katalog", directory), 0);
  }
  void writeFile(const std::string& bytes, const std::string& name = "ODDZIALY.DBF") {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string path() const { return (dir_ / "ODDZIALY.DBF").string(); }

  // Runs the import with a scripted progress; every message it shows must be one of
  // `expected`, in that order.
  void runExpecting(const std::vector<std::string>& expected, long stopBefore = 0) {
    for (const auto& text : expected) fe_->expectMessage(rt::button::Ok, text);
    const size_t before = fe_->messages().size();
    runKirImport([&] { return std::make_unique<ScriptedProgress>(stopBefore); });
    auto shown = fe_->messages();
    ASSERT_EQ(shown.size() - before, expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(shown[before + i].text, expected[i]);
  }

  std::string bankColumns(const std::string& number) {
    return scalar("SELECT COALESCE(NAZWA, '') || '|' || COALESCE(ULICA_LOKAL, '') || '|' || "
                  "COALESCE(KOD_POCZTOWY, '') || '|' || COALESCE(MIEJSCOWOSC, '') FROM BANKI "
                  "WHERE NUMER_BANKU = '" + number + "'");
  }
  long bankCount() { return std::stol(scalar("SELECT COUNT(*) FROM BANKI")); }

  rt::HeadlessFrontEnd* fe_ = nullptr;
  fs::path dir_;
};

TEST_P(KirImportTest, PolishLettersArriveIntactFromEitherPage) {
  const KirBranch branch{"12401037", "Bank Spółdzielczy w Żółkiewce", "ul. Źródlana 5", "22-335", "Żółkiewka"};
  for (CodePage page : {CodePage::Cp852, CodePage::Cp1250}) {
    SCOPED_TRACE(static_cast<int>(page));
    exec("DELETE FROM BANKI");
    writeFile(writeKirBranchFile({branch}, page));
    runExpecting({"Dodano 1 nowych banków."});
    EXPECT_EQ(bankColumns("12401037"), "Bank Spółdzielczy w Żółkiewce|ul. Źródlana 5|22-335|Żółkiewka");
    EXPECT_EQ(scalar("SELECT ID_BANKU FROM BANKI"), "1");  // an empty table starts at 1
  }
}

TEST_P(KirImportTest, PerRecordRule) {
  exec("INSERT INTO BANKI (ID_BANKU, NUMER_BANKU, NAZWA) VALUES (100, '10200003', 'Stara nazwa')");
  KirBranch deleted{"99999999", "Skreślony", "", "", ""};
  deleted.deleted = true;
  writeFile(writeKirBranchFile(
      {
          {"10100000", "Bank O'Briena", "ul. D'Annunzia 1", "00-001", "Kock'n"},  // apostrophes: added
          {"10200003", "Nowa nazwa", "", "", ""},                                 // number known: only reported
          {"", "Bez numeru", "", "", ""},                                         // blank number: counted only
          {"10500099", "ING", "", "", ""},                                        // added
          {"10100000", "Powtórka w pliku", "", "", ""},                           // repeated number: skipped
          deleted,                                                                // deleted: skipped
      },
      CodePage::Cp852));
  runExpecting({"Dodano 2 nowych banków.",
                "Banki, których dane w pliku KIR różnią się od zapisanych w bazie: 1.|Nie zostały zmienione; zmiany "
                "można przejrzeć i zastosować w raporcie importu."});

  EXPECT_EQ(bankCount(), 3);
  EXPECT_EQ(bankColumns("10100000"), "Bank O'Briena|ul. D'Annunzia 1|00-001|Kock'n");
  EXPECT_EQ(bankColumns("10200003"), "Stara nazwa|||");  // never updated
  EXPECT_EQ(scalar("SELECT ID_BANKU FROM BANKI WHERE NUMER_BANKU = '10100000'"), "101");
  EXPECT_EQ(scalar("SELECT ID_BANKU FROM BANKI WHERE NUMER_BANKU = '10500099'"), "102");
  EXPECT_EQ(data::GLOBALRESPONSE(), data::kRequestCompleted);
  EXPECT_EQ(data::glo().OWNERNAMEDOS.get(), path());
}

TEST_P(KirImportTest, SecondRunAddsNothing) {
  writeFile(kir::validFile());
  runExpecting({"Dodano 3 nowych banków."});
  runExpecting({kUpToDate});
  EXPECT_EQ(bankCount(), 3);
}

TEST_P(KirImportTest, FailedInsertsAreCountedAndUseTheirIds) {
  // A rule of this database refuses a second bank of the same name: the row fails, the
  // rest of its batch is still added.
  exec("CREATE UNIQUE INDEX KIR_TEST_NAZWA ON BANKI (NAZWA)");
  writeFile(writeKirBranchFile({{"10100000", "Bank A", "", "", ""},
                                {"10100001", "Bank A", "", "", ""},
                                {"10100002", "Bank B", "", "", ""}},
                               CodePage::Cp1250));
  runExpecting({"Dodano 2 nowych banków.", "Dodanie 1 banków zakończyło się niepowodzeniem."});
  EXPECT_EQ(scalar("SELECT ID_BANKU FROM BANKI WHERE NUMER_BANKU = '10100002'"), "3");
  EXPECT_EQ(bankCount(), 2);
}

TEST_P(KirImportTest, CancelKeepsCommittedBatchesAndARerunCompletes) {
  writeFile(writeKirBranchFile(numberedBranches(1200), CodePage::Cp852));
  // Stopped before record 701: the first batch (500) and the 200 taken of the second stay.
  runExpecting({"Dodano 700 nowych banków."}, 701);
  EXPECT_EQ(data::GLOBALRESPONSE(), data::kRequestCancelled);
  EXPECT_EQ(bankCount(), 700);
  EXPECT_EQ(scalar("SELECT MAX(ID_BANKU) FROM BANKI"), "700");

  runExpecting({"Dodano 500 nowych banków."});
  EXPECT_EQ(data::GLOBALRESPONSE(), data::kRequestCompleted);
  EXPECT_EQ(bankCount(), 1200);
  EXPECT_EQ(scalar("SELECT COUNT(DISTINCT ID_BANKU) FROM BANKI"), "1200");
  EXPECT_EQ(scalar("SELECT COUNT(DISTINCT NUMER_BANKU) FROM BANKI"), "1200");

  // Cancelled before the first record: nothing changes, and it does not claim the
  // table is up to date.
  exec("DELETE FROM BANKI");
  runExpecting({"Import banków został przerwany.|Nie dokonano żadnej aktualizacji."}, 1);
  EXPECT_EQ(bankCount(), 0);
}

TEST_P(KirImportTest, PhasesReportProgress) {
  auto file = KirBranchFile::parse(writeKirBranchFile(numberedBranches(7), CodePage::Cp852));
  ASSERT_NE(file, nullptr);
  ScriptedProgress progress;
  KirImport import(db(), *file, &progress, 3);
  ASSERT_TRUE(import.prepare().isOk());
  EXPECT_EQ(progress.total_, 7);
  int batches = 1;
  while (import.importBatch()) ++batches;
  EXPECT_EQ(batches, 3);
  const KirImportState& state = import.finish();
  EXPECT_EQ(state.added, 7);
  EXPECT_EQ(state.position, 7);
  EXPECT_EQ(progress.last_, 7);
  EXPECT_EQ(progress.lastName_, "Bank Spółdzielczy nr 7");
  EXPECT_TRUE(progress.ended_);
  EXPECT_FALSE(import.importBatch());
}

TEST_P(KirImportTest, BrokenFilesImportNothing) {
  for (const auto& broken : kir::brokenFiles()) {
    SCOPED_TRACE(broken.label);
    writeFile(broken.bytes);
    runExpecting({"Nieprawidłowa struktura pliku " + path()});
    EXPECT_EQ(bankCount(), 0);
  }
}

TEST_P(KirImportTest, DirectoryAndFileChecks) {
  writeFile(kir::validFile(), "oddzialy.dbf");  // letter case of the name does not matter
  {  // no folder set: the person is asked for it; cancelling does nothing and stores nothing
    setDirectory("   ");
    fe_->expectFile(std::nullopt);
    runExpecting({});
    EXPECT_EQ(svc::POBIERZPARAMKONF("s", "KIR_Katalog"), "   ");
  }
  {  // a folder chosen that has no file: it is kept, and the import looks there
    fs::create_directories(dir_ / "wybrany");
    setDirectory("");
    fe_->expectFile((dir_ / "wybrany").string());
    runExpecting({"Nie znaleziono pliku " + (dir_ / "wybrany").string() + "/ODDZIALY.DBF"});
    EXPECT_EQ(svc::POBIERZPARAMKONF("s", "KIR_Katalog"), (dir_ / "wybrany").string());
  }
  {
    const std::string missing = (dir_ / "brak").string();
    setDirectory(missing);
    runExpecting({"Nie znaleziono katalogu " + missing + " lub katalog nie jest dostępny."});
  }
  {
    fs::create_directories(dir_ / "pusty");
    setDirectory((dir_ / "pusty").string() + "/");
    runExpecting({"Nie znaleziono pliku " + (dir_ / "pusty").string() + "/ODDZIALY.DBF"});
  }
  EXPECT_EQ(bankCount(), 0);
  {
    // With or without the closing separator the file is found.
    setDirectory(dir_.string());
    runExpecting({"Dodano 3 nowych banków."});
    setDirectory(dir_.string() + "/");
    runExpecting({kUpToDate});
  }
}

TEST_P(KirImportTest, UnreadableFileAndDirectory) {
  if (::geteuid() == 0) GTEST_SKIP() << "root czyta każdy plik: uprawnień nie da się tu sprawdzić";
  writeFile(kir::validFile());
  fs::permissions(dir_ / "ODDZIALY.DBF", fs::perms::none);
  runExpecting({"Wystąpił nieokreślony błąd przy otwarciu pliku " + path()});
  fs::permissions(dir_, fs::perms::none);
  runExpecting({"Nie znaleziono katalogu " + dir_.string() + " lub katalog nie jest dostępny."});
  fs::permissions(dir_, fs::perms::owner_all);
}

TEST(KirProgressWindow, ShowsProgressAndCancels) {
  rt::HeadlessFrontEnd::install().reset();
  KirProgressWindow progress;
  const auto& window = progress.window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->title(), "Import banków...");
  progress.begin(4);
  progress.step(2, 4, "Bank Śląski");
  EXPECT_EQ(window->value("?PROGRESS:THERMOMETER"), "50");
  EXPECT_EQ(window->text("?NAZWA"), "Bank Śląski");
  EXPECT_EQ(window->text("?LICZNIK"), "2/4");
  EXPECT_FALSE(progress.isCancelled());
  EXPECT_EQ(window->click("?PROGRESS:CANCEL"), "");
  EXPECT_TRUE(progress.isCancelled());
  progress.end();
  EXPECT_TRUE(window->isClosed());
}

SLOWNIK_ON_ALL_BACKENDS(KirImportTest);

}  // namespace
}  // namespace slownik::banking
