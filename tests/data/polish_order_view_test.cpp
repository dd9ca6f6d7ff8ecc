// A dictionary list (the countries) in Polish order: by its key, by a header sort, and
// found by its locators, all agreeing, on both backends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/data/view_manager.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"
#include "support/backends.h"

namespace slownik::data {
namespace {

const std::vector<std::string> kNames = {"Austria", "Czechy", "Litwa", "Łotwa", "łotwa Mała", "Malta",
                                         "Słowacja", "SZWECJA", "Szwecja Dolna", "Węgry", "Żółta Wyspa"};

class PolishOrderView : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Inserted out of order, so that no order comes from the insertion.
    for (std::size_t i = kNames.size(); i-- > 0;) {
      std::vector<sql::Param> p = {"K" + std::to_string(i), kNames[i]};
      sql::Status s = db().execute("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES (?, ?)", p, nullptr);
      ASSERT_TRUE(s.isOk()) << s.message();
    }
  }
  const sql::TableDef& countries() { return *sql::Catalogue::instance().find("KRAJE"); }

  static std::vector<std::string> names(ViewManager& view, int page = 4) {
    std::vector<std::string> out;
    std::vector<ViewRow> rows;
    EXPECT_EQ(view.firstPage(page, rows), 0) << view.errorText();
    while (!rows.empty() && out.size() <= kNames.size()) {
      for (const auto& r : rows) out.push_back(view.value(r, "KRA:NAZWA").value_or("?"));
      std::string last = rows.back().position;
      EXPECT_EQ(view.pageAfter(last, page, rows), 0) << view.errorText();
    }
    return out;
  }
  static std::vector<std::string> located(ViewManager& view, const std::string& typed) {
    EXPECT_EQ(view.setLocatorFilter("KRA:NAZWA", typed, false), 0) << view.errorText();
    EXPECT_TRUE(view.isLocatorRange()) << typed;
    std::vector<std::string> out = names(view, 2);
    view.setLocatorFilter("KRA:NAZWA", "", false);
    return out;
  }
  static std::string seek(ViewManager& view, const std::string& typed) {
    std::vector<ViewRow> rows;
    EXPECT_EQ(view.seek(typed, 1, rows), 0) << view.errorText();
    return rows.empty() ? "" : view.value(rows[0], "KRA:NAZWA").value_or("?");
  }
};

TEST_P(PolishOrderView, KeyOrderHeaderSortAndLocatorsAgree) {
  ViewManager byKey(countries());
  ASSERT_EQ(byKey.setOrderKey("KRA:AK_KRAJE_NAZWA_KRAJE"), 0);
  byKey.open();
  EXPECT_EQ(names(byKey), kNames);

  // A header sort on the name, either way, and one that folds case itself.
  ViewManager byHeader(countries());
  ASSERT_EQ(byHeader.setOrder("+NAZWA"), 0);
  byHeader.open();
  std::vector<std::string> plain = names(byHeader);
  EXPECT_EQ(plain, kNames);  // no two names here differ by letter case alone
  ASSERT_EQ(byHeader.setOrder("-UPPER(KRA:NAZWA)"), 0);
  EXPECT_EQ(names(byHeader), std::vector<std::string>(kNames.rbegin(), kNames.rend()));
  // Paging back from the end reads the same rows.
  std::vector<ViewRow> rows;
  ASSERT_EQ(byKey.lastPage(3, rows), 0);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(byKey.value(rows[0], "KRA:NAZWA"), "Szwecja Dolna");
  EXPECT_EQ(byKey.value(rows[2], "KRA:NAZWA"), "Żółta Wyspa");

  for (ViewManager* view : {&byKey, &byHeader}) {
    ASSERT_EQ(view == &byKey ? 0 : view->setOrder("+NAZWA"), 0);
    const std::string which = view == &byKey ? "klucz" : "nagłówek";
    EXPECT_EQ(located(*view, "Ł"), (std::vector<std::string>{"Łotwa", "łotwa Mała"})) << which;
    EXPECT_EQ(located(*view, "ł"), (std::vector<std::string>{"Łotwa", "łotwa Mała"})) << which;
    EXPECT_EQ(located(*view, "l"), (std::vector<std::string>{"Litwa"})) << which;
    EXPECT_EQ(located(*view, "s"), (std::vector<std::string>{"Słowacja", "SZWECJA", "Szwecja Dolna"})) << which;
    EXPECT_EQ(located(*view, "sz"), (std::vector<std::string>{"SZWECJA", "Szwecja Dolna"})) << which;
    EXPECT_EQ(located(*view, "ż"), (std::vector<std::string>{"Żółta Wyspa"})) << which;
    EXPECT_EQ(located(*view, "z"), std::vector<std::string>{}) << which;
    EXPECT_EQ(located(*view, "ŁOTWA"), (std::vector<std::string>{"Łotwa", "łotwa Mała"})) << which;
    EXPECT_EQ(located(*view, "łotwa "), (std::vector<std::string>{"łotwa Mała"})) << which;
    // The step to the typed text lands where the list shows it.
    EXPECT_EQ(seek(*view, "Ł"), "Łotwa") << which;
    EXPECT_EQ(seek(*view, "lz"), "Łotwa") << which;
    EXPECT_EQ(seek(*view, "sz"), "SZWECJA") << which;
    EXPECT_EQ(seek(*view, "T"), "Węgry") << which;
    EXPECT_EQ(seek(*view, "żz"), "") << which;
  }

  // Read backwards, the step lands on the last row that starts with the text.
  ASSERT_EQ(byHeader.setOrder("-NAZWA"), 0);
  EXPECT_EQ(seek(byHeader, "s"), "Szwecja Dolna");
  EXPECT_EQ(located(byHeader, "S"), (std::vector<std::string>{"Szwecja Dolna", "SZWECJA", "Słowacja"}));
}

// On a large table the locator is read from the key's index, not by a scan.
TEST_P(PolishOrderView, LocatorRangeIsAnsweredFromTheIndex) {
  ViewManager view(countries());
  ASSERT_EQ(view.setOrderKey("KRA:AK_KRAJE_NAZWA_KRAJE"), 0);
  view.open();
  ASSERT_EQ(view.setLocatorFilter("KRA:NAZWA", "Ł", false), 0);
  std::vector<ViewRow> rows;
  ASSERT_EQ(view.firstPage(5, rows), 0);
  ASSERT_TRUE(view.isLocatorRange());
  std::vector<sql::Param> params = {std::string("Ł"), std::string("Ł\xEF\xBF\xBF")};
  sql::Result plan;
  if (isPostgres()) {
    // A table this small is read whole or sorted afterwards by choice: forbid both, so
    // that the plan shows whether the index can serve the range and the order at all.
    for (const char* setting : {"enable_seqscan", "enable_bitmapscan", "enable_sort"}) exec(std::string("SET ") + setting + " = off");
    ASSERT_TRUE(db().execute("EXPLAIN " + view.lastSql(), params, &plan)) << view.lastSql();
    exec("RESET ALL");
  } else {
    ASSERT_TRUE(db().execute("EXPLAIN QUERY PLAN " + view.lastSql(), params, &plan)) << view.lastSql();
  }
  std::string text;
  for (std::size_t i = 0; i < plan.size(); ++i) text += sql::toUpperAscii(plan.text(i, plan.columns.size() - 1)) + "\n";
  EXPECT_NE(text.find("KRAJE_KRA_AK_KRAJE_NAZWA_KRAJE"), std::string::npos) << text;
  EXPECT_EQ(text.find("SORT"), std::string::npos) << text;  // nor sorted afterwards (PostgreSQL)
  EXPECT_EQ(text.find("TEMP B-TREE"), std::string::npos) << text;  // (SQLite)
}

SLOWNIK_ON_ALL_BACKENDS(PolishOrderView);

}  // namespace
}  // namespace slownik::data
