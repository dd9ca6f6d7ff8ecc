// TK_UsunMagazyn and RM_StartSynchro against the bare catalogue, on every backend.
#include <gtest/gtest.h>

#include <string>

#include "framework/sql/database.h"
#include "support/backends.h"

namespace slownik {
namespace {

class WarehouseRoutines : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Company 1: "A" is shared by warehouses 1 and 2, warehouse 3 has "B"; company 2's
    // warehouse 9 has "A" as well but belongs elsewhere.
    for (const char* row : {"(1, 1, 'W1', 'Praca', 'A')", "(1, 2, 'W2', 'Praca', 'A')", "(1, 3, 'W3', 'Praca', 'B')",
                            "(1, 4, 'W4', 'Praca', NULL)", "(2, 9, 'W9', 'Praca', 'A')"})
      exec(std::string("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, SYMBOL, STAN_MAGAZYNU, WYROZNIK_SYNCHRONIZACJI) "
                       "VALUES ") + row);
  }
  void article(long long id, long long warehouse, const std::string& index) {
    exec("INSERT INTO ARTYKUL (ID_ARTYKULU, ID_MAGAZYNU, INDEKS_KATALOGOWY, NAZWA) VALUES (" + std::to_string(id) +
         ", " + std::to_string(warehouse) + ", '" + index + "', 'Artykuł " + index + "')");
  }
  sql::Status call(const std::string& text) { return db().run(text, nullptr); }
};

TEST_P(WarehouseRoutines, SynchronisationFillsOnlyTheGivenWarehouseFromItsPartners) {
  article(1, 1, "X1");
  article(2, 1, "X2");
  article(3, 2, "X2 ");  // the same index, padded: not copied again
  article(4, 3, "B1");
  article(5, 9, "OBCY");
  ASSERT_TRUE(call("call RM_StartSynchro(1,1,2)").isOk());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ARTYKUL WHERE ID_MAGAZYNU = 2"), "2");
  EXPECT_EQ(scalar("SELECT NAZWA FROM ARTYKUL WHERE ID_MAGAZYNU = 2 AND INDEKS_KATALOGOWY = 'X1'"), "Artykuł X1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ARTYKUL WHERE ID_MAGAZYNU = 1"), "2") << "the partner is left alone";
  ASSERT_TRUE(call("call RM_StartSynchro(1,1,2)").isOk());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ARTYKUL WHERE ID_MAGAZYNU = 2"), "2") << "a second run adds nothing";
  ASSERT_TRUE(call("call RM_StartSynchro(1,1,4)").isOk());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ARTYKUL WHERE ID_MAGAZYNU = 4"), "0") << "no mark, no partners";
  ASSERT_TRUE(call("call RM_StartSynchro(1,1,9)").isOk());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ARTYKUL WHERE ID_MAGAZYNU = 9"), "1") << "another company's warehouse";

  const struct {
    const char* statement;
    const char* refusal;
  } refused[] = {
      {"call RM_StartSynchro(1,2,2)", "nieznany rodzaj"},
      {"call RM_StartSynchro(1,1)", ""},
  };
  for (const auto& r : refused) {
    sql::Status s = call(r.statement);
    EXPECT_FALSE(s.isOk()) << r.statement;
    EXPECT_NE(s.message().find(r.refusal), std::string::npos) << s.message();
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ARTYKUL"), "6") << "five given, X1 copied once";
}

TEST_P(WarehouseRoutines, DeleteTakesTheWarehouseWithItsLinksButNeverItsArticles) {
  exec("INSERT INTO VEX_A4B_SYSTEMY (ID_SYSTEMU, ID_MAGAZYNU, IDENTYFIKATORA) VALUES (1, 4, 'sklep')");
  exec("INSERT INTO NUMERACJA (ID_FIRMY, ID_MAGAZYNU, DOKUMENT, TYP_DOKUMENTU, ROK, NUMER) VALUES (1, 4, 15, 0, 0, 7)");
  exec("INSERT INTO NUMERACJA (ID_FIRMY, ID_MAGAZYNU, DOKUMENT, TYP_DOKUMENTU, ROK, NUMER) VALUES (1, 1, 15, 0, 0, 3)");
  ASSERT_TRUE(call("call TK_UsunMagazyn(4,6100003)").isOk());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM MAGAZYN WHERE ID_MAGAZYNU = 4"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM VEX_A4B_SYSTEMY"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM NUMERACJA"), "1");

  article(1, 1, "X1");
  sql::Status s = call("call TK_UsunMagazyn(1,6100003)");
  EXPECT_FALSE(s.isOk());
  EXPECT_NE(s.message().find("Magazyn zawiera artykuły (1)"), std::string::npos) << s.message();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM MAGAZYN WHERE ID_MAGAZYNU = 1"), "1");
  EXPECT_TRUE(call("call TK_UsunMagazyn(4,6100003)").isOk()) << "gone already: nothing left to do";
  EXPECT_FALSE(call("call TK_UsunMagazyn('x',6100003)").isOk());
}

SLOWNIK_ON_ALL_BACKENDS(WarehouseRoutines);

}  // namespace
}  // namespace slownik
