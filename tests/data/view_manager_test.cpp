#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "data/test_tables.h"
#include "framework/data/table_buffers.h"
#include "framework/data/view_manager.h"
#include "framework/sql/text.h"
#include "support/backends.h"

namespace slownik::data {
namespace {

using test::personTable;

struct Person {
  long long id;
  std::string nazwa;
  std::optional<std::string> kod;
  std::optional<long long> ilosc;
  int flaga;
};

std::vector<Person> samplePeople() {
  const char* names[] = {"Kowalski", "kowalska", "Nowak", "ZIELINSKI", "Adamczyk", "nowicki", "Kot"};
  std::vector<Person> people;
  for (long long i = 1; i <= 47; ++i) {
    Person p{i, names[i % 7], std::nullopt, std::nullopt, static_cast<int>(i % 2)};
    if (i % 4 == 1) p.kod = "";
    if (i % 4 >= 2) p.kod = "K" + std::to_string(i % 3);
    if (i % 5 != 0) p.ilosc = (i * 7) % 11;
    people.push_back(p);
  }
  return people;
}

class ViewManagerTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(test::createTestTables(db()));
    for (const Person& p : people_) {
      std::vector<sql::Param> params = {p.id, "N" + std::to_string(p.id), p.nazwa,
                                        p.kod ? sql::Param(*p.kod) : sql::Param(), p.ilosc ? sql::Param(*p.ilosc) : sql::Param(),
                                        static_cast<long long>(p.flaga)};
      sql::Status s = db().execute("INSERT INTO DT_OSOBA (ID, NUMER, NAZWA, KOD, ILOSC, FLAGA, KWOTA) VALUES (?, ?, ?, ?, ?, ?, 1)",
                                   params, nullptr);
      ASSERT_TRUE(s.isOk()) << s.message();
    }
  }

  static std::vector<long long> ids(const std::vector<ViewRow>& rows, const ViewManager& view) {
    std::vector<long long> out;
    for (const auto& r : rows) out.push_back(std::stoll(view.value(r, "DTO:ID").value_or("-1")));
    return out;
  }
  std::vector<long long> pageForwards(ViewManager& view, int size) {
    std::vector<long long> all;
    std::vector<ViewRow> page;
    EXPECT_EQ(view.firstPage(size, page), 0) << view.errorText();
    while (!page.empty()) {
      for (long long id : ids(page, view)) all.push_back(id);
      std::string last = page.back().position;
      EXPECT_EQ(view.pageAfter(last, size, page), 0) << view.errorText() << "\n" << view.lastSql();
      if (all.size() > people_.size()) break;  // runaway paging is a failure, not a hang
    }
    return all;
  }
  std::vector<long long> pageBackwards(ViewManager& view, int size) {
    std::vector<long long> all;
    std::vector<ViewRow> page;
    EXPECT_EQ(view.lastPage(size, page), 0) << view.errorText();
    while (!page.empty()) {
      std::vector<long long> chunk = ids(page, view);
      all.insert(all.begin(), chunk.begin(), chunk.end());
      std::string first = page.front().position;
      EXPECT_EQ(view.pageBefore(first, size, page), 0) << view.errorText() << "\n" << view.lastSql();
      if (all.size() > people_.size()) break;
    }
    return all;
  }
  std::vector<long long> expected(const std::function<bool(const Person&, const Person&)>& less,
                                  const std::function<bool(const Person&)>& keep = {}) const {
    std::vector<Person> sorted;
    for (const auto& p : people_)
      if (!keep || keep(p)) sorted.push_back(p);
    std::stable_sort(sorted.begin(), sorted.end(), less);
    std::vector<long long> out;
    for (const auto& p : sorted) out.push_back(p.id);
    return out;
  }

  std::vector<Person> people_ = samplePeople();
};

// Text compares the way the database does for ASCII. A NULL is a value of its own (not
// the empty text) and sorts where the backend's indexes keep it: above every value on
// PostgreSQL, below on SQLite.
template <typename T>
int cmpNullable(const std::optional<T>& a, const std::optional<T>& b, bool nullsHigh) {
  if (!a && !b) return 0;
  if (!a) return nullsHigh ? 1 : -1;
  if (!b) return nullsHigh ? -1 : 1;
  return *a < *b ? -1 : (*b < *a ? 1 : 0);
}
int cmpUpperName(const Person& a, const Person& b) { return sql::toUpperAscii(a.nazwa).compare(sql::toUpperAscii(b.nazwa)); }
int cmpId(const Person& a, const Person& b) { return a.id < b.id ? -1 : (a.id > b.id ? 1 : 0); }
bool cmpId_less(const Person& a, const Person& b) { return a.id < b.id; }

TEST_P(ViewManagerTest, PagesBothWaysWithoutSkippingOrRepeating) {
  using Cmp = std::function<int(const Person&, const Person&)>;
  bool high = isPostgres();
  Cmp cmpKod = [high](const Person& a, const Person& b) { return cmpNullable(a.kod, b.kod, high); };
  Cmp cmpIlosc = [high](const Person& a, const Person& b) { return cmpNullable(a.ilosc, b.ilosc, high); };
  struct Case {
    const char* order;  // an order text, or a key name when it starts with "DTO:"
    std::vector<std::pair<Cmp, bool>> parts;  // comparison, descending
  };
  const Case cases[] = {
      {"+KOD", {{cmpKod, false}, {cmpId, false}}},
      {"-KOD", {{cmpKod, true}, {cmpId, false}}},
      {"KOD,-ILOSC", {{cmpKod, false}, {cmpIlosc, true}, {cmpId, false}}},
      {"-ILOSC,+KOD,-ID", {{cmpIlosc, true}, {cmpKod, false}, {cmpId, true}}},
      {"-UPPER(NAZWA)", {{cmpUpperName, true}, {cmpId, false}}},
      {"DTO:PO_KODZIE", {{cmpKod, false}, {cmpIlosc, true}, {cmpId, false}}},
      {"DTO:PO_NAZWIE", {{cmpUpperName, false}, {cmpId, false}}},
      {"-DTO:ID", {{cmpId, true}}},
  };
  for (const auto& c : cases) {
    ViewManager view(personTable());
    std::string order = c.order;
    int rc = order.rfind("DTO:", 0) == 0 && order.find("PO_") != std::string::npos ? view.setOrderKey(order) : view.setOrder(order);
    ASSERT_EQ(rc, 0) << order << ": " << view.errorText();
    view.open();
    auto less = [&](const Person& a, const Person& b) {
      for (const auto& [cmp, descending] : c.parts) {
        int r = cmp(a, b);
        if (r != 0) return descending ? r > 0 : r < 0;
      }
      return false;
    };
    std::vector<long long> want = expected(less);
    for (int size : {1, 7, 100}) {
      EXPECT_EQ(pageForwards(view, size), want) << order << " forwards by " << size;
      EXPECT_EQ(pageBackwards(view, size), want) << order << " backwards by " << size;
    }
  }
}

TEST_P(ViewManagerTest, EveryFilterFormLimitsTheRows) {
  struct Case {
    const char* filter;
    std::function<bool(const Person&)> keep;
  };
  const Case cases[] = {
      {"(DTO:FLAGA=1 and DTO:ID>10)", [](const Person& p) { return p.flaga == 1 && p.id > 10; }},
      {"(DTO:FLAGA<>1 and DTO:ID>0)", [](const Person& p) { return p.flaga != 1; }},
      {"(DTO:NAZWA='Nowak' or DTO:NAZWA='Kot')", [](const Person& p) { return p.nazwa == "Nowak" || p.nazwa == "Kot"; }},
      {"(DTO:NAZWA<>'Nowak' and DTO:NAZWA<>'Kot')", [](const Person& p) { return p.nazwa != "Nowak" && p.nazwa != "Kot"; }},
      {"UPPER(NAZWA) = 'KOWALSKA'", [](const Person& p) { return p.nazwa == "kowalska"; }},
      {"not (ID <= 40)", [](const Person& p) { return p.id > 40; }},
      {"DTO:FLAGA", [](const Person& p) { return p.flaga != 0; }},
      {"ID * 2 >= 90 or ID = 1", [](const Person& p) { return p.id >= 45 || p.id == 1; }},
      {"SUB(NAZWA, 1, 2) = 'No'", [](const Person& p) { return p.nazwa.rfind("No", 0) == 0; }},
      {"(ILOSC=pr)", [](const Person& p) { return p.ilosc == 3; }},
  };
  for (const auto& c : cases) {
    ViewManager view(personTable());
    view.bindValue("pr", [] { return sql::Param(3LL); }, sql::ColumnType::Long);
    ASSERT_EQ(view.setFilter(c.filter), 0) << c.filter << ": " << view.errorText();
    view.open();
    EXPECT_EQ(pageForwards(view, 10), expected(cmpId_less, c.keep)) << c.filter;
  }
  // An expression that does not parse is an error text and keeps the filter in force.
  ViewManager view(personTable());
  ASSERT_EQ(view.setFilter("ID > 40"), 0);
  EXPECT_EQ(view.setFilter("(ID > "), kBadExpression);
  EXPECT_NE(view.errorText().find("Błąd"), std::string::npos);
  EXPECT_EQ(view.setFilter("NIEMA = 1"), kBadExpression);
  view.open();
  EXPECT_EQ(pageForwards(view, 50).size(), 7u);
}

TEST_P(ViewManagerTest, RangesAndSqlFiltersCombine) {
  ViewManager view(personTable());
  ASSERT_EQ(view.addRange("DTO:FLAGA", 1LL), 0);
  view.open();
  auto odd = [](const Person& p) { return p.flaga == 1; };
  EXPECT_EQ(pageForwards(view, 9), expected(cmpId_less, odd));

  ASSERT_EQ(view.setFilter("DTO:ID > 20"), 0);
  view.setSqlFilter("+A.ID < 30 AND DTO:NAZWA <> 'O''Brien'");  // joins the own filter
  EXPECT_EQ(pageForwards(view, 9), expected(cmpId_less, [](const Person& p) { return p.flaga == 1 && p.id > 20 && p.id < 30; }));
  view.setSqlFilter("A.ID < 6");  // takes the own filter's place; the range stays
  EXPECT_EQ(pageForwards(view, 9), expected(cmpId_less, [](const Person& p) { return p.flaga == 1 && p.id < 6; }));
  view.setSqlFilter("+");  // empty: nothing set, the own filter is back
  EXPECT_EQ(view.sqlFilter(), "");
  EXPECT_EQ(pageForwards(view, 9), expected(cmpId_less, [](const Person& p) { return p.flaga == 1 && p.id > 20; }));

  view.clearRanges();
  view.setFilter("");
  ASSERT_EQ(view.addRange("ID", 5LL, 8LL), 0);
  EXPECT_EQ(pageForwards(view, 2), (std::vector<long long>{5, 6, 7, 8}));
  EXPECT_EQ(view.addRange("NIEMA", 1LL), kBadExpression);

  // A broken SQL filter is the database's error text, not a crash.
  view.setSqlFilter("+A.ID <<>> 3");
  std::vector<ViewRow> rows;
  EXPECT_EQ(view.firstPage(5, rows), kDatabaseError);
  EXPECT_TRUE(rows.empty());
}

TEST_P(ViewManagerTest, SeekFindsTheFirstRowAtLeastTheTypedText) {
  ViewManager view(personTable());
  ASSERT_EQ(view.setOrderKey("PO_NAZWIE"), 0);
  view.open();
  struct Case {
    const char* typed;
    const char* firstName;
  };
  const Case cases[] = {{"ko", "Kot"}, {"KOW", "kowalska"}, {"n", "Nowak"}, {"nowi", "nowicki"}, {"b", "Kot"}, {"", "Adamczyk"}};
  for (const auto& c : cases) {
    std::vector<ViewRow> rows;
    ASSERT_EQ(view.seek(c.typed, 3, rows), 0) << view.errorText();
    ASSERT_FALSE(rows.empty()) << c.typed;
    if (std::string(c.typed) == "b") {
      // Nothing starts with "B": the locator lands on the next name.
      EXPECT_EQ(sql::toUpperAscii(*view.value(rows[0], "NAZWA")).substr(0, 1), "K");
      continue;
    }
    EXPECT_EQ(*view.value(rows[0], "DTO:NAZWA"), c.firstName) << c.typed;
  }
  std::vector<ViewRow> rows;
  ASSERT_EQ(view.seek("zz", 3, rows), 0);
  EXPECT_TRUE(rows.empty());

  ViewManager byId(personTable());
  ASSERT_EQ(byId.setOrder("-ID"), 0);
  byId.open();
  ASSERT_EQ(byId.seek("10", 2, rows), 0);
  EXPECT_EQ(ids(rows, byId), (std::vector<long long>{10, 9}));

  // An order that starts with a column a range fixes (a key that starts with the company)
  // seeks the typed text in the part after it.
  ViewManager oneFlag(personTable());
  ASSERT_EQ(oneFlag.setOrder("+FLAGA,+UPPER(NAZWA)"), 0);
  ASSERT_EQ(oneFlag.addRange("DTO:FLAGA", 1LL), 0);
  oneFlag.open();
  ASSERT_EQ(oneFlag.seek("now", 2, rows), 0) << oneFlag.errorText();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(*oneFlag.value(rows[0], "DTO:NAZWA"), "Nowak");
  EXPECT_EQ(*oneFlag.value(rows[0], "DTO:FLAGA"), "1");
}

// The filter locator: a range on the order's index where the field leads the order, a
// LIKE elsewhere; the typed text is a value, never SQL, whatever it holds.
TEST_P(ViewManagerTest, LocatorFilterMatchesPrefixesAsRangesOrPatterns) {
  ViewManager byName(personTable());
  ASSERT_EQ(byName.setOrderKey("DTO:PO_NAZWIE"), 0);
  byName.open();
  auto startsWithUpper = [](const std::string& prefix) {
    return [prefix](const Person& p) { return sql::toUpperAscii(p.nazwa).rfind(prefix, 0) == 0; };
  };
  auto byUpperName = [](const Person& a, const Person& b) {
    int c = cmpUpperName(a, b);
    return c != 0 ? c < 0 : a.id < b.id;
  };
  for (const char* typed : {"kow", "KOW", "Kot", "n", "zielinski", "ZIELINSKIX", "b"}) {
    ASSERT_EQ(byName.setLocatorFilter("DTO:NAZWA", typed, false), 0) << byName.errorText();
    EXPECT_TRUE(byName.isLocatorRange()) << typed;
    EXPECT_EQ(pageForwards(byName, 4), expected(byUpperName, startsWithUpper(sql::toUpperAscii(typed)))) << typed;
    EXPECT_EQ(pageBackwards(byName, 4), expected(byUpperName, startsWithUpper(sql::toUpperAscii(typed)))) << typed;
  }
  ASSERT_EQ(byName.setLocatorFilter("DTO:NAZWA", "", false), 0);
  EXPECT_EQ(pageForwards(byName, 10).size(), people_.size());

  // A text order that keeps letter case takes the range as well: the collation puts every
  // case of a prefix together.
  ViewManager byNumber(personTable());
  ASSERT_EQ(byNumber.setOrderKey("DTO:AK_NUMER"), 0);
  byNumber.open();
  auto numberStarts = [](const std::string& prefix) {
    return [prefix](const Person& p) { return ("N" + std::to_string(p.id)).rfind(prefix, 0) == 0; };
  };
  auto byNumberText = [](const Person& a, const Person& b) { return "N" + std::to_string(a.id) < "N" + std::to_string(b.id); };
  ASSERT_EQ(byNumber.setLocatorFilter("DTO:NUMER", "N1", false), 0);
  EXPECT_TRUE(byNumber.isLocatorRange());
  EXPECT_EQ(pageForwards(byNumber, 3), expected(byNumberText, numberStarts("N1")));
  ASSERT_EQ(byNumber.setLocatorFilter("DTO:NUMER", "n4", false), 0);
  EXPECT_EQ(pageForwards(byNumber, 3), expected(byNumberText, numberStarts("N4")));
  // Anywhere in the text is a pattern as well.
  ASSERT_EQ(byNumber.setLocatorFilter("DTO:NUMER", "7", true), 0);
  EXPECT_FALSE(byNumber.isLocatorRange());
  EXPECT_EQ(pageForwards(byNumber, 3), expected(byNumberText, [](const Person& p) {
              return std::to_string(p.id).find('7') != std::string::npos;
            }));

  // Characters with a meaning in SQL or in a pattern match only themselves.
  for (const char* hostile : {"K%", "_ow", "Ko'; DELETE FROM DT_OSOBA; --", "Kow' OR '1'='1", "!"}) {
    for (bool anywhere : {false, true}) {
      ASSERT_EQ(byName.setLocatorFilter("DTO:NAZWA", hostile, anywhere), 0) << byName.errorText();
      std::vector<ViewRow> rows;
      ASSERT_EQ(byName.firstPage(5, rows), 0) << hostile << ": " << byName.errorText();
      EXPECT_TRUE(rows.empty()) << hostile;
    }
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DT_OSOBA"), std::to_string(people_.size()));

  // An unknown field is refused and leaves no limit behind.
  EXPECT_NE(byName.setLocatorFilter("DTO:NIE_MA", "x", false), 0);
  ASSERT_EQ(byName.setLocatorFilter("DTO:NAZWA", "", false), 0);
  EXPECT_EQ(pageForwards(byName, 10).size(), people_.size());
}

// The step locator's limit: any of the prefixes, in both letter cases as the locator
// passes them (the backends' LIKE differ in letter case), as bound values.
TEST_P(ViewManagerTest, StartsWithAnyMatchesPrefixesAsWrittenAndBindsThem) {
  ViewManager byName(personTable());
  ASSERT_EQ(byName.setOrderKey("DTO:PO_NAZWIE"), 0);
  byName.open();
  auto byUpperName = [](const Person& a, const Person& b) {
    int c = cmpUpperName(a, b);
    return c != 0 ? c < 0 : a.id < b.id;
  };
  auto startingWith = [](std::vector<std::string> prefixes) {
    return [prefixes](const Person& p) {
      for (const auto& prefix : prefixes)
        if (sql::toUpperAscii(p.nazwa).rfind(sql::toUpperAscii(prefix), 0) == 0) return true;
      return false;
    };
  };
  for (const std::vector<std::string>& prefixes :
       std::vector<std::vector<std::string>>{{"k", "K"}, {"kow", "KOW", "Kow"}, {"n", "N"}, {"Z", "z", "A", "a"}}) {
    ASSERT_EQ(byName.setStartsWithAny("DTO:NAZWA", prefixes), 0) << byName.errorText();
    EXPECT_EQ(pageForwards(byName, 3), expected(byUpperName, startingWith(prefixes))) << prefixes.front();
    // The typed text reaches the server as a value: the statement stays the same for any key.
    EXPECT_EQ(byName.lastSql().find(prefixes.front() + "%"), std::string::npos) << byName.lastSql();
  }
  for (const char* hostile : {"K%", "_ow", "Ko'; DELETE FROM DT_OSOBA; --", "!"}) {
    ASSERT_EQ(byName.setStartsWithAny("DTO:NAZWA", {hostile}), 0) << byName.errorText();
    std::vector<ViewRow> rows;
    ASSERT_EQ(byName.firstPage(5, rows), 0) << hostile << ": " << byName.errorText();
    EXPECT_TRUE(rows.empty()) << hostile;
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DT_OSOBA"), std::to_string(people_.size()));
  // A number is matched by its digits.
  ASSERT_EQ(byName.setStartsWithAny("DTO:ID", {"1"}), 0) << byName.errorText();
  EXPECT_EQ(pageForwards(byName, 4), expected(byUpperName, [](const Person& p) {
              return std::to_string(p.id).front() == '1';
            }));
  EXPECT_NE(byName.setStartsWithAny("DTO:NIE_MA", {"x"}), 0);
  ASSERT_EQ(byName.setStartsWithAny("DTO:NAZWA", {}), 0);
  EXPECT_EQ(pageForwards(byName, 10).size(), people_.size());
}

// The rows around a position in one read: what the page before it and the page from it on
// hold, in every kind of order, NULLs included, and after the row itself is gone.
TEST_P(ViewManagerTest, PageAroundIsThePagesBeforeAndFromThePosition) {
  for (const char* order : {"DTO:PO_NAZWIE", "DTO:PO_KODZIE"}) {
    ViewManager view(personTable());
    ASSERT_EQ(view.setOrderKey(order), 0);
    ASSERT_EQ(view.setFilter("DTO:ID <> 13"), 0);
    view.open();
    std::vector<ViewRow> all;
    ASSERT_EQ(view.firstPage(100, all), 0) << view.errorText();
    ASSERT_EQ(all.size(), people_.size() - 1);
    std::vector<long long> allIds = ids(all, view);
    for (std::size_t i = 0; i < all.size(); ++i) {
      std::vector<ViewRow> earlier, later;
      ASSERT_EQ(view.pageAround(all[i].position, 3, 4, earlier, later), 0) << view.errorText() << "\n" << view.lastSql();
      std::size_t from = i >= 3 ? i - 3 : 0;
      EXPECT_EQ(ids(earlier, view), std::vector<long long>(allIds.begin() + static_cast<std::ptrdiff_t>(from),
                                                           allIds.begin() + static_cast<std::ptrdiff_t>(i)))
          << order << " at " << i;
      std::size_t to = std::min(all.size(), i + 4);
      EXPECT_EQ(ids(later, view), std::vector<long long>(allIds.begin() + static_cast<std::ptrdiff_t>(i),
                                                         allIds.begin() + static_cast<std::ptrdiff_t>(to)))
          << order << " at " << i;
      // The positions read agree with the page reads.
      if (!later.empty()) {
        EXPECT_EQ(later.front().position, all[i].position);
      }
    }
    // A row deleted under the list: the rows from its place on start with the next one.
    const std::size_t gone = all.size() / 2;
    exec("DELETE FROM DT_OSOBA WHERE ID = " + std::to_string(allIds[gone]));
    std::vector<ViewRow> earlier, later;
    ASSERT_EQ(view.pageAround(all[gone].position, 2, 2, earlier, later), 0);
    EXPECT_EQ(ids(earlier, view), (std::vector<long long>{allIds[gone - 2], allIds[gone - 1]}));
    EXPECT_EQ(ids(later, view), (std::vector<long long>{allIds[gone + 1], allIds[gone + 2]}));
    people_.erase(std::find_if(people_.begin(), people_.end(), [&](const Person& p) { return p.id == allIds[gone]; }));
  }
}

TEST_P(ViewManagerTest, RowsReachTheRecordBufferAndJoinsAndNamesWork) {
  exec("INSERT INTO DT_RODZIC (ID_RODZICA, NAZWA) VALUES (3, 'Trzeci')");
  ViewManager view(personTable());
  ASSERT_EQ(view.addJoin(test::parentTable(), "DTR:ID_RODZICA = DTO:ILOSC"), 0) << view.errorText();
  EXPECT_EQ(view.addJoin(test::childTable(), "DTD:NIEMA = 1"), kBadExpression);
  view.bindExpression("rodzaj", "CASE WHEN DTO:FLAGA = 1 THEN 'nieparzysty' ELSE 'parzysty' END");
  ASSERT_EQ(view.setFilter("rodzaj = 'nieparzysty' and DTR:NAZWA = 'Trzeci'"), 0) << view.errorText();
  ASSERT_EQ(view.setOrder("-rodzaj,+DTR:NAZWA,-ID"), 0) << view.errorText();
  EXPECT_EQ(view.orderText(), "-rodzaj,+DTR:NAZWA,-ID");
  EXPECT_TRUE(view.hasField("DTO:KOD"));
  EXPECT_TRUE(view.hasField("rodzaj"));
  EXPECT_FALSE(view.hasField("DTO:NIEMA"));
  view.open();
  std::vector<ViewRow> rows;
  ASSERT_EQ(view.firstPage(50, rows), 0) << view.errorText() << "\n" << view.lastSql();
  auto want = expected([](const Person& a, const Person& b) { return a.id > b.id; },
                       [](const Person& p) { return p.flaga == 1 && p.ilosc == 3; });
  ASSERT_EQ(ids(rows, view), want);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(view.value(rows[0], "rodzaj"), "nieparzysty");

  // Reading a row by its position fills both tables' buffers.
  buffer(personTable()).clear();
  buffer(test::parentTable()).clear();
  ASSERT_EQ(view.fetch(rows.back().position), 0) << view.errorText();
  EXPECT_EQ(field("DTO:ID").integer(), want.back());
  EXPECT_EQ(field("DTR:NAZWA").text(), "Trzeci");
  EXPECT_EQ(field("DTO:KWOTA").text(), "1.00");
  EXPECT_EQ(view.fetch("garbage"), kRecordNotFound);

  // next() walks the whole view one row at a time.
  view.reset();
  std::vector<long long> walked;
  while (view.next() == 0) walked.push_back(field("DTO:ID").integer());
  EXPECT_EQ(walked, want);
  EXPECT_EQ(view.errorCode(), kEndOfView);
}

// A list pages a large table only while the database reads it in index order: an order
// over a nullable column must not make it sort the whole table for every page.
TEST_P(ViewManagerTest, NullableOrdersAreReadInIndexOrder) {
  for (const char* key : {"PO_NAZWIE", "PO_KODZIE"}) {
    ViewManager view(personTable());
    ASSERT_EQ(view.setOrderKey(key), 0) << view.errorText();
    view.open();
    std::vector<ViewRow> rows;
    ASSERT_EQ(view.firstPage(5, rows), 0) << view.errorText();
    sql::Result plan;
    if (isPostgres()) {
      exec("SET enable_seqscan = off");  // the table is tiny: make the planner show what it could use
      ASSERT_TRUE(db().execute("EXPLAIN " + view.lastSql(), &plan).isOk());
      exec("RESET enable_seqscan");
    } else {
      ASSERT_TRUE(db().execute("EXPLAIN QUERY PLAN " + view.lastSql(), &plan).isOk());
    }
    std::string text;
    for (std::size_t r = 0; r < plan.size(); ++r)
      for (std::size_t c = 0; c < plan.columns.size(); ++c) text += plan.text(r, c) + "\n";
    text = sql::toUpperAscii(text);
    EXPECT_NE(text.find(std::string("DTO_") + key), std::string::npos) << key << "\n" << text;
    // A sort of the tied rows within an index order is fine; a sort of everything is not.
    EXPECT_EQ(text.find("->  SORT"), std::string::npos) << key << "\n" << text;
    EXPECT_EQ(text.find("TEMP B-TREE FOR ORDER BY"), std::string::npos) << key << "\n" << text;
  }
}

// NULL in the order key: rows with it page like any other, and a locator typed past the
// last value goes on into them where they follow the values.
TEST_P(ViewManagerTest, NullOrderValuesPageAndSeek) {
  exec("UPDATE DT_OSOBA SET NAZWA = NULL WHERE ID IN (3, 17, 30)");
  for (auto& p : people_)
    if (p.id == 3 || p.id == 17 || p.id == 30) p.nazwa.clear();
  ViewManager view(personTable());
  ASSERT_EQ(view.setOrder("+NAZWA,-ID"), 0);
  view.open();
  std::vector<long long> forwards = pageForwards(view, 4);
  EXPECT_EQ(forwards.size(), people_.size());
  EXPECT_EQ(pageBackwards(view, 4), forwards);
  std::vector<long long> nulls = {30, 17, 3};
  auto at = std::search(forwards.begin(), forwards.end(), nulls.begin(), nulls.end());
  ASSERT_NE(at, forwards.end()) << "NULL names are not together in descending id order";
  EXPECT_EQ(at == forwards.begin(), !isPostgres());
  EXPECT_EQ(at + 3 == forwards.end(), isPostgres());

  std::vector<ViewRow> rows;
  ASSERT_EQ(view.seek("zz", 5, rows), 0) << view.errorText();
  EXPECT_EQ(ids(rows, view), isPostgres() ? nulls : std::vector<long long>{});
  // A page the names leave short goes on into the NULLs that follow them.
  ASSERT_EQ(view.seek("ZIELINSKI", 10, rows), 0) << view.errorText();
  const std::size_t last = isPostgres() ? 8 : 5;  // five Zielińskis, then the three NULLs
  ASSERT_EQ(rows.size(), last) << view.lastSql();
  const std::vector<long long> found = ids(rows, view);
  EXPECT_TRUE(std::equal(found.begin(), found.end(), forwards.end() - static_cast<std::ptrdiff_t>(last)));
  // From a locator's page on, paging reads the rest of the list in order, NULLs included.
  ASSERT_EQ(view.seek("Nowak", 5, rows), 0) << view.errorText();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(view.value(rows[0], "NAZWA"), "Nowak");
  std::vector<long long> tail = ids(rows, view);
  std::vector<ViewRow> more;
  ASSERT_EQ(view.pageAfter(rows.back().position, 50, more), 0) << view.errorText() << "\n" << view.lastSql();
  for (long long id : ids(more, view)) tail.push_back(id);
  ASSERT_LE(tail.size(), forwards.size());
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), forwards.end() - static_cast<std::ptrdiff_t>(tail.size())));
  // A NULL position reads back its own row.
  ASSERT_EQ(view.lastPage(1, rows), 0);
  ASSERT_EQ(rows.size(), 1u);
  buffer(personTable()).clear();
  ASSERT_EQ(view.fetch(rows[0].position), 0) << view.errorText();
  EXPECT_EQ(field("DTO:ID").integer(), forwards.back());
  ASSERT_EQ(view.firstPage(1, rows), 0);
  ASSERT_EQ(view.fetch(rows[0].position), 0) << view.errorText();
  EXPECT_EQ(field("DTO:ID").integer(), forwards.front());
}

// Reads are prepared once per connection; a change of the table under them, inside a
// transaction or outside, must not make them fail or return the old shape.
TEST_P(ViewManagerTest, ReadsFollowAChangeOfTheTable) {
  auto columnsOfParents = [&] {
    sql::Result r;
    std::vector<sql::Param> params = {0LL};
    sql::Status s = db().execute("SELECT * FROM DT_RODZIC WHERE ID_RODZICA > ?", params, &r);
    EXPECT_TRUE(s.isOk()) << s.message();
    return r.columns.size();
  };
  std::size_t before = columnsOfParents();
  exec("ALTER TABLE DT_RODZIC ADD COLUMN DODATEK INTEGER");
  EXPECT_EQ(columnsOfParents(), before + 1);
  {
    sql::Transaction tx(db());
    exec("ALTER TABLE DT_RODZIC ADD COLUMN DRUGI INTEGER");
    EXPECT_EQ(columnsOfParents(), before + 2);
    EXPECT_TRUE(tx.commit().isOk());
  }
  // A read that fails leaves the next ones working.
  sql::Result r;
  EXPECT_FALSE(db().execute("SELECT NIEMA FROM DT_RODZIC", &r).isOk());
  EXPECT_EQ(columnsOfParents(), before + 2);

  ViewManager view(personTable());
  view.open();
  std::vector<long long> all = pageForwards(view, 10);
  exec("ALTER TABLE DT_OSOBA ADD COLUMN NOWA INTEGER");
  EXPECT_EQ(pageForwards(view, 10), all);
}

TEST_P(ViewManagerTest, PrimeAndValidateFollowTheRanges) {
  ViewManager view(personTable());
  ASSERT_EQ(view.addRange("DTO:FLAGA", 1LL), 0);
  ASSERT_EQ(view.addRange("DTO:KOD", std::string("K0"), std::string("K2")), 0);
  ASSERT_EQ(view.primeRecord(), 0) << view.errorText();
  EXPECT_EQ(field("DTO:FLAGA").integer(), 1);
  EXPECT_EQ(field("DTO:ID").integer(), 48);
  field("DTO:KOD").set("K1");
  EXPECT_EQ(view.validateRecord(), 0);
  field("DTO:KOD").set("K3");
  EXPECT_EQ(view.validateRecord(), kOutOfRange);
  field("DTO:KOD").set("K1");
  field("DTO:FLAGA").set(0);
  EXPECT_EQ(view.validateRecord(), kOutOfRange);
  std::vector<ViewRow> rows;
  ViewManager closed(personTable());
  EXPECT_NE(closed.firstPage(3, rows), 0);  // a view reads only while open
}

SLOWNIK_ON_ALL_BACKENDS(ViewManagerTest);

}  // namespace
}  // namespace slownik::data
