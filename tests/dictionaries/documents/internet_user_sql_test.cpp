// The internet users' statements and the procedure that creates a user, run on the
// database as the windows run them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionaries/documents/internet_user_statements.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/seed.h"
#include "support/backends.h"

namespace slownik::documents {
namespace {

constexpr const char* kRoutine = "TK_DodajHaslo_0001_002_HASLO_INTER";

class InternetUserSql : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(sql::seedDemo(db()).isOk());
  }
  sql::Status run(const std::string& statement, sql::Result* out = nullptr) { return db().run(statement, out); }
  std::string user(long long id) {
    return scalar("SELECT ID_KONTRAHENTA || '|' || HASLO || '|' || AKTYWNY || '|' || NAZWISKO || '|' || IMIE "
                  "FROM INT_UZYTKOWNIK WHERE ID_INT_UZYTKOWNIK = " +
                  std::to_string(id));
  }
};

TEST_P(InternetUserSql, TheProcedureCreatesAnActiveEmptyUserOfTheContractor) {
  exec("INSERT INTO INT_UZYTKOWNIK (ID_INT_UZYTKOWNIK, ID_KONTRAHENTA, HASLO, AKTYWNY, NAZWISKO, IMIE) "
       "VALUES (41, 1, 'x', 0, 'Stary', 'Jan')");
  sql::Result first, second;
  ASSERT_TRUE(run(addInternetUserSql(2), &first).isOk());
  ASSERT_TRUE(run(addInternetUserSql(2), &second).isOk());
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first.scalar(), "42") << "ids go on after the highest";
  EXPECT_EQ(second.scalar(), "43");
  EXPECT_EQ(user(42), "2||1||");
  EXPECT_EQ(user(41), "1|x|0|Stary|Jan") << "other users are left alone";
}

TEST_P(InternetUserSql, TheProcedureRefusesWhatIsNoContractor) {
  const struct {
    const char* call;
    const char* inError;
  } cases[] = {
      {"call TK_DodajHaslo_0001_002_HASLO_INTER(999)", "999"},
      {"call TK_DodajHaslo_0001_002_HASLO_INTER(0)", "0"},
      {"call TK_DodajHaslo_0001_002_HASLO_INTER('abc')", kRoutine},
      {"call TK_DodajHaslo_0001_002_HASLO_INTER()", kRoutine},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    sql::Status s = run(c.call);
    EXPECT_FALSE(s.isOk());
    EXPECT_NE(s.message().find(c.inError), std::string::npos) << s.message();
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM INT_UZYTKOWNIK"), "0") << "nothing is left behind";
}

TEST_P(InternetUserSql, SavedTextsAreStoredAsTypedAndCutToTheColumns) {
  const std::string fifty(50, 'n');
  const std::string thirty(30, 'h');
  const struct {
    const char* label;
    InternetUserValues values;
    std::string stored;
  } cases[] = {
      {"apostrophes", {"tajne'hasło''", true, "O'Neill", "D'Arcy"}, "1|tajne'hasło''|1|O'Neill|D'Arcy"},
      {"inactive, Polish letters", {"żółć", false, "Źdźbło", "Łucja"}, "1|żółć|0|Źdźbło|Łucja"},
      {"a quote cannot end the text", {"x'); delete from kontrahent--", true, "'", "''"},
       "1|x'); delete from kontrahent--|1|'|''"},
      {"too long", {thirty + "ą", true, fifty + "ę", fifty + "'"}, "1|" + thirty + "|1|" + fifty + "|" + fifty},
  };
  exec("INSERT INTO INT_UZYTKOWNIK (ID_INT_UZYTKOWNIK, ID_KONTRAHENTA, HASLO, AKTYWNY, NAZWISKO, IMIE) "
       "VALUES (7, 1, '', 1, '', ''), (8, 1, 'inny', 1, 'Inny', 'Ktoś')");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(run(saveInternetUserSql(7, c.values)).isOk());
    EXPECT_EQ(user(7), c.stored);
  }
  EXPECT_EQ(user(8), "1|inny|1|Inny|Ktoś");
}

SLOWNIK_ON_ALL_BACKENDS(InternetUserSql);

}  // namespace
}  // namespace slownik::documents
