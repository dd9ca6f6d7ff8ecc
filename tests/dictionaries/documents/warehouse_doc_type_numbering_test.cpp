// The numbering definition a new document type gets, and the formats read back from it.
#include <gtest/gtest.h>

#include <string>

#include "framework/data/globals.h"
#include "framework/services/numbering_formats.h"
#include "support/backends.h"

namespace slownik {
namespace {

class NumberingDefinitions : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
  }
  sql::Status call(const std::string& args) { return db().run("call RM_DodajDefinicjeNumeracji(" + args + ")"); }
  std::string definitions(const std::string& where = "1=1") {
    return scalar("SELECT COUNT(*) FROM NUMERACJA WHERE " + where);
  }
};

TEST_P(NumberingDefinitions, ANewTypeGetsOneDefinitionAndAnExistingOneKeepsItsCounter) {
  ASSERT_TRUE(call("1,40,'PZD',1,1").isOk());
  EXPECT_EQ(definitions(), "1");
  EXPECT_EQ(scalar("SELECT SYGNATURA || '|' || FORMAT || '|' || NUMER || '|' || PRZYCHOD || '|' || ID_MAGAZYNU || '|' "
                   "|| ROK FROM NUMERACJA WHERE TYP_DOKUMENTU = 40"),
            "PZD|{SYGNATURA}/{NUMER}/{ROK}|0|1|0|0");

  exec("UPDATE NUMERACJA SET NUMER = 17 WHERE TYP_DOKUMENTU = 40");
  ASSERT_TRUE(call("1,40,'PZD',1,1").isOk());
  EXPECT_EQ(definitions(), "1");
  EXPECT_EQ(scalar("SELECT NUMER FROM NUMERACJA WHERE TYP_DOKUMENTU = 40"), "17") << "counters never start again";

  // The same id in another family or company is another type.
  ASSERT_TRUE(call("1,40,'FVX',4,0").isOk());
  ASSERT_TRUE(call("2,40,'PZD',1,0").isOk());
  EXPECT_EQ(definitions(), "3");
  EXPECT_EQ(scalar("SELECT PRZYCHOD FROM NUMERACJA WHERE ID_FIRMY = 2"), "0");
}

TEST_P(NumberingDefinitions, SignaturesAreStoredWithoutTrailingBlanksApostrophesIncluded) {
  ASSERT_TRUE(call("1,41,'O''K',1,0").isOk());
  ASSERT_TRUE(call("1,42,'PZ ',1,1").isOk());
  EXPECT_EQ(scalar("SELECT SYGNATURA FROM NUMERACJA WHERE TYP_DOKUMENTU = 41"), "O'K");
  EXPECT_EQ(scalar("SELECT SYGNATURA FROM NUMERACJA WHERE TYP_DOKUMENTU = 42"), "PZ");
}

TEST_P(NumberingDefinitions, MalformedCallsFailAndWriteNothing) {
  const struct {
    const char* args;
    const char* because;
  } rows[] = {
      {"1,40,'PZD',1", "too few arguments"},   {"1,40,'',1,1", "no signature"},
      {"1,40,'   ',1,1", "a blank signature"}, {"1,40,'ABCDEF',1,1", "longer than the column"},
      {"0,40,'PZD',1,1", "no company"},        {"1,0,'PZD',1,1", "no type"},
      {"1,40,'PZD',0,1", "no family"},         {"1,'x','PZD',1,1", "a type that is no number"},
  };
  for (const auto& row : rows) {
    sql::Status s = call(row.args);
    EXPECT_FALSE(s.isOk()) << row.because;
    EXPECT_NE(s.message().find("RM_DodajDefinicjeNumeracji"), std::string::npos) << s.message();
  }
  EXPECT_EQ(definitions(), "0");
}

TEST_P(NumberingDefinitions, FormatsAreReloadedForTheCurrentCompanyOnly) {
  ASSERT_TRUE(call("1,40,'PZD',1,1").isOk());
  ASSERT_TRUE(call("2,41,'WZD',1,0").isOk());
  // Running numbers of one warehouse or one year are not definitions.
  exec("INSERT INTO NUMERACJA (ID_FIRMY, ID_MAGAZYNU, DOKUMENT, TYP_DOKUMENTU, ROK, SYGNATURA, FORMAT, NUMER, PRZYCHOD) "
       "VALUES (1, 3, 1, 43, 0, 'MAG', 'x', 5, 0), (1, 0, 1, 44, 2024, 'ROK', 'y', 5, 0)");

  data::glo().ID_FIRMY = 1;
  svc::LADUJFORMATYNUMERACJI();
  auto f = svc::numberingFormat(1, 40);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->signature, "PZD");
  EXPECT_EQ(f->format, "{SYGNATURA}/{NUMER}/{ROK}");
  EXPECT_TRUE(f->receipt);
  EXPECT_FALSE(svc::numberingFormat(4, 40)) << "another family";
  EXPECT_FALSE(svc::numberingFormat(1, 41)) << "another company's type";
  EXPECT_FALSE(svc::numberingFormat(1, 43));
  EXPECT_FALSE(svc::numberingFormat(1, 44));

  // A change of company makes the loaded formats stale until they are loaded again.
  data::glo().ID_FIRMY = 2;
  EXPECT_FALSE(svc::numberingFormat(1, 41));
  svc::LADUJFORMATYNUMERACJI();
  ASSERT_TRUE(svc::numberingFormat(1, 41));
  EXPECT_FALSE(svc::numberingFormat(1, 41)->receipt);
  EXPECT_FALSE(svc::numberingFormat(1, 40));

  // A definition added later is seen only after the next reload.
  ASSERT_TRUE(call("2,45,'KOR',1,0").isOk());
  EXPECT_FALSE(svc::numberingFormat(1, 45));
  svc::LADUJFORMATYNUMERACJI();
  EXPECT_TRUE(svc::numberingFormat(1, 45));
  data::glo().ID_FIRMY = 0;
}

SLOWNIK_ON_ALL_BACKENDS(NumberingDefinitions);

TEST(DocumentNumber, PlaceholdersAreReplacedAndOtherTextKept) {
  const struct {
    const char* format;
    const char* expected;
  } rows[] = {
      {"{SYGNATURA}/{NUMER}/{ROK}", "PZ/12/2024"},
      {"{ROK}-{SYGNATURA}-{NUMER}", "2024-PZ-12"},
      {"{NUMER}", "12"},
      {"{X}/{NUMER}", "{X}/12"},
      {"{SYGNATURA", "{SYGNATURA"},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(svc::documentNumber(row.format, "PZ", 12, 2024), row.expected) << row.format;
}

}  // namespace
}  // namespace slownik
