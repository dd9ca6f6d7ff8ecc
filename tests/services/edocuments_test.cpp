// The e-documents viewer played through the headless front-end: files stored in the
// database, opened through a temporary file, saved under another name and deleted, with
// the attachment counts of the lists following; and a host's own viewer installed by name.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/window_fixture.h"
#include "framework/runtime/keys.h"
#include "framework/services/edocuments.h"
#include "framework/services/messages.h"
#include "framework/services/procedure_registry.h"

namespace slownik::svc {
namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The path of a "file://" address.
std::string pathOfUrl(const std::string& url) {
  std::string path;
  for (std::size_t i = 7; i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size()) {
      path += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      path += url[i];
    }
  }
  return path;
}

class Edocuments : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    dir_ = fs::path(testing::TempDir()) / ("edokumenty_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    removeEdocumentTemporaryFiles();
    clearInstalledProcedures();
    WindowFixture::TearDown();
  }
  std::string file(const std::string& name, const std::string& bytes) {
    std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string count(const std::string& table, const std::string& idColumn, int id) {
    return scalar("SELECT COALESCE(MAX(LICZBA_ZALACZNIKOW), 0) FROM " + table + " WHERE " + idColumn + " = " +
                  std::to_string(id) + " AND PRGKOD = 3");
  }

  fs::path dir_;
};

TEST_P(Edocuments, FilesAreStoredOpenedSavedAndDeletedWithTheCountsFollowing) {
  const std::string contract(std::string("%PDF umowa\0\x01\xff koniec", 19));
  const std::string contractPath = file("umowa O'Neill.pdf", contract);
  const std::string hashPath = file("faktura #12?.txt", "FV");
  const std::string notePath = file("notatka.txt", "Notatka");

  start([] { EDOKVIEW(kEdocumentEmployee, 1); });
  auto w = window("e-Dokumenty");
  ASSERT_TRUE(w);
  EXPECT_TRUE(rows(w).empty());
  EXPECT_FALSE(w->control("?OTWORZ")->enabled);
  ASSERT_TRUE(fe().press(w, rt::key::F1));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(fe().helpPages().size(), 1u);
  EXPECT_NE(fe().helpPages()[0].find("#edokumenty.htm"), std::string::npos) << fe().helpPages()[0];

  for (const std::string& path : {contractPath, notePath}) {
    fe().expectFile(path);
    ASSERT_TRUE(fe().press(w, rt::key::Ins));
    ASSERT_TRUE(fe().settle(w));
  }
  EXPECT_EQ(column(w, 0), (std::vector<std::string>{"notatka.txt", "umowa O'Neill.pdf"}));
  EXPECT_EQ(column(w, 1), (std::vector<std::string>{"7 B", "19 B"}));
  EXPECT_EQ(count("PRACOWNIK_ZALACZNIK", "ID_PRACOWNIKA", 1), "2");
  EXPECT_EQ(count("FIRMA_ZALACZNIK", "ID_FIRMY", 1), "0") << "only the employee's count";

  // A file that can't be read is refused and nothing is stored.
  fe().expectFile((dir_ / "brak.pdf").string());
  fe().expectMessage(rt::button::Ok, "Nie udało się dołączyć pliku!");
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rows(w).size(), 2u);

  // Opening writes the stored bytes to a temporary file and asks the desktop to open it.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().click(w, "?OTWORZ"));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(fe().openedLinks().size(), 1u);
  const std::string link = fe().openedLinks()[0];
  ASSERT_EQ(link.rfind("file://", 0), 0u) << link;
  EXPECT_NE(link.find("umowa%20O%27Neill.pdf"), std::string::npos) << link;
  const std::string opened = pathOfUrl(link);
  EXPECT_EQ(fs::path(opened).filename().string(), "umowa O'Neill.pdf");
  EXPECT_EQ(readFile(opened), contract);
  EXPECT_NE(opened, contractPath);

  const std::string copy = (dir_ / "kopia.pdf").string();
  fe().expectFile(copy);
  ASSERT_TRUE(fe().click(w, "?ZAPISZJAKO"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(readFile(copy), contract);

  // Deleting asks first; "no" keeps the file.
  fe().expectMessage(kNo, "Czy usunąć dokument umowa O'Neill.pdf?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rows(w).size(), 2u);
  fe().expectMessage(kYes, "Czy usunąć dokument umowa O'Neill.pdf?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, 0), (std::vector<std::string>{"notatka.txt"}));
  EXPECT_EQ(count("PRACOWNIK_ZALACZNIK", "ID_PRACOWNIKA", 1), "1");
  fe().press(w, rt::key::Esc);
  join();

  // Each record has its own files; a company's count is the company list's.
  start([] { EDOKVIEW(kEdocumentCompany, 1); });
  w = window("e-Dokumenty");
  ASSERT_TRUE(w);
  EXPECT_TRUE(rows(w).empty());
  fe().expectFile(hashPath);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(count("FIRMA_ZALACZNIK", "ID_FIRMY", 1), "1");
  // A '#' or '?' in the name must not cut the address the desktop opens.
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(fe().openedLinks().size(), 2u);
  EXPECT_EQ(fe().openedLinks()[1].find_first_of("#?"), std::string::npos) << fe().openedLinks()[1];
  EXPECT_EQ(readFile(pathOfUrl(fe().openedLinks()[1])), "FV");
  EXPECT_EQ(count("PRACOWNIK_ZALACZNIK", "ID_PRACOWNIKA", 1), "1");
  fe().press(w, rt::key::Esc);
}

TEST_P(Edocuments, AHostsViewerInstalledByNameIsCalledInstead) {
  std::vector<ProcedureArgs> calls;
  installProcedure(kEdocumentViewerProcedure, [&calls](const ProcedureArgs& args) { calls.push_back(args); });
  EDOKVIEW(kEdocumentCompany, 12);
  EXPECT_EQ(calls, (std::vector<ProcedureArgs>{{"Firma", "12"}}));
  installProcedure(kEdocumentViewerProcedure, {});
  start([] { EDOKVIEW(kEdocumentCompany, 12); });
  auto w = window("e-Dokumenty");
  ASSERT_TRUE(w);
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(calls.size(), 1u);
}

SLOWNIK_ON_ALL_BACKENDS(Edocuments);

}  // namespace
}  // namespace slownik::svc
