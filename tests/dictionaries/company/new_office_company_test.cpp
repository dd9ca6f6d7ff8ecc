// A new office's database holds only its administrator: no company, no demo data. He logs
// in without a company and adds the office's own in the company list, which sets it up
// and makes it the one the program works in.
#include <atomic>
#include <memory>

#include "dictionaries/company/company_list.h"
#include "engine/window_fixture.h"
#include "framework/runtime/keys.h"
#include "framework/sql/office_database.h"

namespace slownik::company::test {
namespace {

class NewOfficeTest : public slownik::test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    sql::Status ready = sql::prepareOfficeDatabase(db(), "!");
    ASSERT_TRUE(ready.isOk()) << ready.message();
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    rt::setResourceRoot(slownik::test::sourceDir() + "/resources");
    data::glo().ID_FIRMY = 0.0;
    data::glo().ID_MAGAZYNU = 0.0;
    data::glo().ID_KASY = 0.0;
    data::glo().ID_UZYTKOWNIKA = static_cast<double>(sql::demo::kAdminUserId);
  }
  void TearDown() override {
    if (fe_) {
      fe_->closeAll();
      for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
    }
    if (thread_.joinable()) thread_.join();
    DatabaseTest::TearDown();
  }
  rt::HeadlessFrontEnd* fe_ = nullptr;
  rt::ProcedureThread thread_;
};

TEST_P(NewOfficeTest, TheAdministratorAddsTheFirstCompany) {
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FIRMA WHERE ID_FIRMY > 0"), "0");
  thread_ = rt::startProcedure([] { FIRMA_BRW(); });
  auto w = fe_->waitForWindow("Lista firm");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe_->click(w, "?INSERT"));
  auto f = fe_->waitForWindow("Dodawanie firmy");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe_->type(f, "?FIR:NAZWA", "Biuro O'Neill"));
  ASSERT_TRUE(fe_->click(f, "?INSERT:ADRES"));
  auto a = fe_->waitForWindow("Dodawanie adresu");
  ASSERT_TRUE(a);
  ASSERT_TRUE(fe_->type(a, "?ADRFIR:MIEJSCOWOSC", "Gdańsk"));
  ASSERT_TRUE(fe_->click(a, "?OK"));
  ASSERT_TRUE(fe_->waitForClose(a));
  ASSERT_TRUE(fe_->click(f, "?OK"));
  ASSERT_TRUE(fe_->waitForClose(f));
  ASSERT_TRUE(fe_->settle(w));
  ASSERT_TRUE(fe_->press(w, rt::key::Esc));
  ASSERT_TRUE(fe_->waitForClose(w));
  thread_.join();

  const std::string id = scalar("SELECT ID_FIRMY FROM FIRMA WHERE NAZWA = 'Biuro O''Neill'");
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(sql::sqlId(data::glo().ID_FIRMY.get()), id);
  EXPECT_EQ(scalar("SELECT NAZWA FROM GRUPAUZYTKOWNIKOW WHERE ID_FIRMY = " + id), "Administratorzy");
  EXPECT_EQ(sql::sqlId(data::glo().ID_MAGAZYNU.get()), scalar("SELECT ID_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = " + id));
}

SLOWNIK_ON_ALL_BACKENDS(NewOfficeTest);

}  // namespace
}  // namespace slownik::company::test
