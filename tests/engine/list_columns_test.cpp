// Splitting a list format into its columns and the stored layout laid over them.
#include "engine/list_columns.h"

#include <gtest/gtest.h>

#include "framework/data/globals.h"
#include "framework/services/browser_columns.h"
#include "framework/sql/seed.h"
#include "support/backends.h"

namespace slownik::engine {
namespace {

TEST(ColumnPieces, EachColumnKeepsItsFlagsHeaderPictureAndStyle) {
  const std::string format =
      "14L(2)|J~A~L(2)@n14@40L(2)|M*~Nr 1 (stary)~@s10@Z(1)100R(12)|M~Kwota~@n-12.2~zł~@#7#62L(2)|M~~@d17@";
  auto pieces = columnPieces(format);
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_EQ(pieces[0], "14L(2)|J~A~L(2)@n14@");
  EXPECT_EQ(pieces[1], "40L(2)|M*~Nr 1 (stary)~@s10@Z(1)");
  EXPECT_EQ(pieces[2], "100R(12)|M~Kwota~@n-12.2~zł~@#7#");
  EXPECT_EQ(pieces[3], "62L(2)|M~~@d17@");
  std::string again;
  for (const auto& p : pieces) again += p;
  EXPECT_EQ(again, format);
  EXPECT_EQ(pieceWidth(pieces[2]), 100);
  EXPECT_EQ(withPieceWidth(pieces[2], 0), "0R(12)|M~Kwota~@n-12.2~zł~@#7#");
}

TEST(ColumnPieces, GroupedOrUnreadableFormatsAreLeftAlone) {
  EXPECT_TRUE(columnPieces("[40L~A~@s5@40L~B~@s5@]~Grupa~").empty());
  EXPECT_TRUE(columnPieces("40X~A~").empty());
  EXPECT_TRUE(columnPieces("").empty());
}

class ConfiguredPiecesTest : public slownik::test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(sql::seedDemo(db()).isOk());
    data::glo().ID_UZYTKOWNIKA = static_cast<double>(sql::demo::kAdminUserId);
  }
};

TEST_P(ConfiguredPiecesTest, AStoredPieceIsTakenOnlyWhereItKeepsTheListsFields) {
  const std::vector<std::string> defaults = {"40L(2)|M*~Symbol~@s10@", "100L(2)|M~Nazwa~@s50@", "30L(2)|M~Kod~@s5@"};
  EXPECT_EQ(configuredPieces("Proba_Brw", defaults), defaults) << "nothing stored yet";
  ASSERT_EQ(storePieces("Proba_Brw", defaults), 0);
  // Hidden, narrowed, and one that lost its colours (it would shift every later field).
  ASSERT_EQ(svc::USTAWKOLUMNE("Proba_Brw", 1, "55L(2)|M~Symbol~@s10@", 55), 0);
  ASSERT_EQ(svc::USTAWKOLUMNE("Proba_Brw", 2, "100L(2)|M~Nazwa firmy~@s50@", 0), 0);
  auto configured = configuredPieces("proba_brw", defaults);
  EXPECT_EQ(configured[0], "55L(2)|M*~Symbol~@s10@");
  EXPECT_EQ(configured[1], "0L(2)|M~Nazwa firmy~@s50@");
  EXPECT_EQ(configured[2], defaults[2]);
}

}  // namespace

SLOWNIK_ON_ALL_BACKENDS(ConfiguredPiecesTest);

}  // namespace slownik::engine
