#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <mutex>

#include "engine/header_sorter.h"
#include "framework/data/view_manager.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/sql/catalogue/table_builder.h"
#include "framework/sql/schema.h"
#include "runtime/headless_test.h"

namespace slownik::engine {
namespace {

namespace key = rt::key;
using testing::ElementsAre;
using testing::ElementsAreArray;

const sql::TableDef& itemTable() {
  static const sql::TableDef def = sql::table("ENG_POZYCJA", "ENGP")
                                       .id("ID")
                                       .text("NAZWA", 20)
                                       .text("KOD", 5)
                                       .longint("ILOSC")
                                       .key("ENGP:PK", {"ID"}, sql::TableBuilder::Primary);
  return def;
}

struct Item {
  const char* id;
  const char* nazwa;
  const char* kod;
  const char* ilosc;
};
// Names differ in letter case and start with Polish letters; quantities sort differently
// as numbers and as text.
const Item kItems[] = {
    {"1", "beta", "B2", "10"},  {"2", "Alfa", "A1", "9"},   {"3", "gamma", "A1", "100"}, {"4", "Beta", "B1", "9"},
    {"5", "alfa", "C3", "10"},  {"6", "łopata", "Ł1", "1"}, {"7", "Łuk", "Ł2", "20"},
};

// The list buffer of the test browse: NAZWA, KOD, ILOSC, a computed description, ID.
class RowsBuffer : public HeaderSorter::ListBuffer {
 public:
  explicit RowsBuffer(rt::Window& window) : window_(window) {}
  std::string fieldName(int field) const override {
    static const char* names[] = {"NAZWA", "KOD", "ILOSC", "OPIS", "ID"};
    return field >= 1 && field <= 5 ? names[field - 1] : "";
  }
  int fieldCount() const override { return 5; }
  int rowCount() const override { return static_cast<int>(rows_.size()); }
  std::string value(int row, int field) const override { return rows_[row - 1][field - 1]; }
  void reorder(const std::vector<int>& order) override {
    std::vector<std::vector<std::string>> sorted;
    for (int r : order) sorted.push_back(rows_[r - 1]);
    fill(std::move(sorted));
  }
  void fill(std::vector<std::vector<std::string>> rows) {
    rows_ = std::move(rows);
    window_.setRows("?LIST", rows_);
  }
  static std::vector<std::string> row(std::string nazwa, std::string kod, std::string ilosc, std::string id) {
    return {nazwa, kod, ilosc, "pozycja " + nazwa, id};
  }

 private:
  rt::Window& window_;
  std::vector<std::vector<std::string>> rows_;
};

// What the browse procedure saw, for the test thread to read.
struct Probe {
  mutable std::mutex mutex;
  std::vector<std::string> sorts;  // every text the sort callback received
  int newSelections = 0;
  std::string error;

  std::vector<std::string> takeSorts() {
    std::lock_guard lock(mutex);
    return std::exchange(sorts, {});
  }
  int selections() const {
    std::lock_guard lock(mutex);
    return newSelections;
  }
};

enum class Source { BufferOnly, UnopenedView, DatabaseView };

std::vector<std::vector<std::string>> allItemRows() {
  std::vector<std::vector<std::string>> rows;
  for (const Item& i : kItems) rows.push_back(RowsBuffer::row(i.nazwa, i.kod, i.ilosc, i.id));
  return rows;
}

// The browse as the list window will run it: the sorter sees every event first; F6
// stands for the browse changing its own sort order.
void browseProcedure(Source source, bool upperCase, Probe& probe) {
  auto window = rt::Window::open("slownik$eng001", "P1$BROWSEWINDOW");
  if (!window) return;
  window->alert(key::CtrlShiftF10);
  window->alert(key::F6);
  RowsBuffer buffer(*window);
  data::ViewManager view(itemTable());
  auto reload = [&] {
    if (source != Source::DatabaseView) {
      buffer.fill(allItemRows());
      return;
    }
    std::vector<data::ViewRow> page;
    if (view.firstPage(100, page) != 0) {
      std::lock_guard lock(probe.mutex);
      probe.error = view.errorText();
      return;
    }
    std::vector<std::vector<std::string>> rows;
    for (const auto& r : page) {
      auto v = [&](const char* name) { return view.value(r, name).value_or(""); };
      rows.push_back(RowsBuffer::row(v("ENGP:NAZWA"), v("ENGP:KOD"), v("ENGP:ILOSC"), v("ENGP:ID")));
    }
    buffer.fill(std::move(rows));
  };
  if (source == Source::DatabaseView) {
    view.setOrderKey("ENGP:PK");
    view.open();
  }
  reload();

  HeaderSorter sorter;
  sorter.setUpperCase(upperCase);
  sorter.start(window, buffer, "?LIST", itemTable().primaryKey(), source == Source::BufferOnly ? nullptr : &view);
  sorter.setAlerts();
  sorter.setSortCallback([&](const std::string& text) {
    {
      std::lock_guard lock(probe.mutex);
      probe.sorts.push_back(text);
    }
    if (source == Source::DatabaseView) {
      if (text.empty()) {
        view.setOrderKey("ENGP:PK");
      } else {
        view.setOrder(text);
      }
      sorter.reset();  // a browse that resets on every sort change must not lose the marks
    }
    reload();
  });
  for (;;) {
    rt::Event e = window->nextEvent();
    if (window->isClosed() || e.code == rt::event::CloseWindow) break;
    if (sorter.takeEvent(e)) continue;
    if (e.code == rt::event::NewSelection && e.control == "?LIST") {
      std::lock_guard lock(probe.mutex);
      ++probe.newSelections;
    }
    if (e.code == rt::event::AlertKey && e.keyCode == key::F6) sorter.reset();
    if (e.code == rt::event::Accepted && e.control == "?CLOSE") break;
  }
  sorter.stop();
  window->close();
}

class HeaderSorterBase {
 protected:
  void startBrowse(rt::HeadlessFrontEnd& fe, Source source, bool upperCase = true) {
    thread_ = rt::startProcedure([this, source, upperCase] { browseProcedure(source, upperCase, probe_); });
    browse_ = fe.waitForWindow("Lista próbna do sortowania");
    ASSERT_NE(browse_, nullptr);
  }
  std::vector<std::string> headers() const {
    auto list = browse_->control("?LIST");
    std::vector<std::string> out;
    const char* own[] = {"Nazwa", "Kod", "Ilość", "Opis"};
    for (int c = 1; c <= 4; ++c) {
      auto it = list->columnHeaders.find(c);
      out.push_back(it == list->columnHeaders.end() ? own[c - 1] : it->second);
    }
    return out;
  }
  std::vector<std::string> shownIds() const {
    std::vector<std::string> ids;
    auto list = browse_->control("?LIST");
    for (const auto& row : list->rows) ids.push_back(row.at(4));
    return ids;
  }

  Probe probe_;
  rt::ProcedureThread thread_;
  std::shared_ptr<rt::Window> browse_;
};

class HeaderSorterTest : public test::HeadlessTest, protected HeaderSorterBase {
 protected:
  void TearDown() override {
    fe().closeAll();
    thread_.join();
    HeadlessTest::TearDown();
  }
  bool click(int column, int mouseKey = key::MouseLeft) { return fe().clickHeader(browse_, "?LIST", column, mouseKey); }
};

TEST_F(HeaderSorterTest, AComputedColumnCannotBeSorted) {
  startBrowse(fe(), Source::UnopenedView);
  ASSERT_TRUE(click(4));
  EXPECT_TRUE(probe_.takeSorts().empty());
  EXPECT_THAT(headers(), ElementsAre("Nazwa", "Kod", "Ilość", "Opis"));
  EXPECT_EQ(probe_.selections(), 0);
}

TEST_F(HeaderSorterTest, ClicksBuildTheOrderAndMarkTheHeaders) {
  struct Step {
    int column;
    int mouseKey;
    const char* order;  // "" = the browse's own order was asked back; "U(X)" is X through UPPER()
    std::vector<std::string> headers;
  };
  const Step steps[] = {
      {1, key::MouseLeft, "+U(NAZWA),+ID", {"Nazwa[+]", "Kod", "Ilość", "Opis"}},
      {1, key::MouseLeft, "-U(NAZWA),+ID", {"Nazwa[-]", "Kod", "Ilość", "Opis"}},
      {1, key::MouseLeft, "+U(NAZWA),+ID", {"Nazwa[+]", "Kod", "Ilość", "Opis"}},
      {2, key::CtrlMouseLeft, "+U(NAZWA),+U(KOD),+ID", {"Nazwa[+1]", "Kod[+2]", "Ilość", "Opis"}},
      {1, key::CtrlMouseLeft, "-U(NAZWA),+U(KOD),+ID", {"Nazwa[-1]", "Kod[+2]", "Ilość", "Opis"}},
      {3, key::CtrlMouseLeft, "-U(NAZWA),+U(KOD),+ILOSC,+ID", {"Nazwa[-1]", "Kod[+2]", "Ilość[+3]", "Opis"}},
      {3, key::ShiftMouseLeft, "", {"Nazwa", "Kod", "Ilość", "Opis"}},
      {2, key::MouseLeft, "+U(KOD),+ID", {"Nazwa", "Kod[+]", "Ilość", "Opis"}},
      {3, key::MouseLeft, "+ILOSC,+ID", {"Nazwa", "Kod", "Ilość[+]", "Opis"}},
      {2, key::CtrlMouseLeft, "+ILOSC,+U(KOD),+ID", {"Nazwa", "Kod[+2]", "Ilość[+1]", "Opis"}},
  };
  for (bool upper : {true, false}) {
    SCOPED_TRACE(upper ? "UPPER() on" : "UPPER() off");
    startBrowse(fe(), Source::UnopenedView, upper);
    int selections = probe_.selections();
    for (const auto& step : steps) {
      std::string expected = step.order;
      for (std::size_t at; (at = expected.find("U(")) != std::string::npos;) {
        std::size_t end = expected.find(')', at);
        std::string name = expected.substr(at + 2, end - at - 2);
        expected.replace(at, end - at + 1, upper ? "UPPER(" + name + ")" : name);
      }
      SCOPED_TRACE(std::to_string(step.column) + " " + std::to_string(step.mouseKey) + " " + expected);
      ASSERT_TRUE(click(step.column, step.mouseKey));
      EXPECT_THAT(probe_.takeSorts(), ElementsAre(expected));
      EXPECT_EQ(headers(), step.headers);
      // Every click ends with the focus in the list and a new selection for it.
      EXPECT_EQ(browse_->focus(), "?LIST");
      EXPECT_EQ(probe_.selections(), ++selections);
    }
    fe().closeAll();
    thread_.join();
  }
}

TEST_F(HeaderSorterTest, TheBrowsesOwnOrderClearsTheMarks) {
  startBrowse(fe(), Source::UnopenedView, false);
  ASSERT_TRUE(click(1));
  ASSERT_TRUE(click(2, key::CtrlMouseLeft));
  ASSERT_THAT(headers(), ElementsAre("Nazwa[+1]", "Kod[+2]", "Ilość", "Opis"));
  ASSERT_TRUE(fe().press(browse_, key::F6));
  EXPECT_THAT(headers(), ElementsAre("Nazwa", "Kod", "Ilość", "Opis"));
  probe_.takeSorts();
  // The sort is forgotten too: the next click on the same column starts ascending.
  ASSERT_TRUE(click(1));
  EXPECT_THAT(probe_.takeSorts(), ElementsAre("+NAZWA,+ID"));
  ASSERT_TRUE(fe().press(browse_, key::F6));
  ASSERT_TRUE(click(2, key::CtrlMouseLeft));
  EXPECT_THAT(probe_.takeSorts(), ElementsAre("+KOD,+ID"));
  EXPECT_THAT(headers(), ElementsAre("Nazwa", "Kod[+]", "Ilość", "Opis"));
}

TEST_F(HeaderSorterTest, ThePressMarkerAndTheReservedClicks) {
  startBrowse(fe(), Source::UnopenedView);
  const std::string marker = HeaderSorter::markerName("?LIST");
  ASSERT_TRUE(browse_->has(marker));
  EXPECT_TRUE(browse_->control(marker)->hidden);
  // The window keeps its own reserved keys beside both clicks.
  for (int k : {key::CtrlShiftF10, key::F6, key::ShiftMouseLeft, key::CtrlMouseLeft}) {
    EXPECT_TRUE(browse_->isAlerted(k)) << rt::keyName(k);
  }
  EXPECT_THAT(browse_->control("?LIST")->alerts, ElementsAre(key::MouseLeft));

  // Held down over "Kod": the marker covers it, pressed.
  browse_->post(rt::Event{rt::event::MouseDown, "?LIST", key::MouseLeft, 2, true});
  ASSERT_TRUE(fe().settle(browse_));
  EXPECT_FALSE(browse_->control(marker)->hidden);
  EXPECT_EQ(browse_->text(marker), "Kod");
  EXPECT_EQ(browse_->value(marker), "1");
  // Released over another header: the click is taken back.
  browse_->post(rt::Event{rt::event::MouseUp, "?LIST", key::MouseLeft, 3, true});
  ASSERT_TRUE(fe().settle(browse_));
  EXPECT_TRUE(browse_->control(marker)->hidden);
  EXPECT_TRUE(probe_.takeSorts().empty());
  EXPECT_THAT(headers(), ElementsAre("Nazwa", "Kod", "Ilość", "Opis"));
  // A right click on a header is not the sorter's.
  ASSERT_TRUE(click(2, key::MouseRight));
  EXPECT_TRUE(probe_.takeSorts().empty());

  ASSERT_TRUE(fe().close(browse_));
  ASSERT_TRUE(fe().waitForClose(browse_));
  EXPECT_FALSE(browse_->has(marker));
  EXPECT_FALSE(browse_->isAlerted(key::CtrlMouseLeft));
  EXPECT_TRUE(browse_->isAlerted(key::CtrlShiftF10));
}

TEST_F(HeaderSorterTest, WithoutAViewTheListBufferIsSorted) {
  startBrowse(fe(), Source::BufferOnly);
  struct Step {
    int column;
    int mouseKey;
    std::vector<std::string> ids;
  };
  const Step steps[] = {
      // Letter case does not part "Alfa" from "alfa"; Polish capitals fold too.
      {1, key::MouseLeft, {"2", "5", "1", "4", "3", "6", "7"}},
      {1, key::MouseLeft, {"7", "6", "3", "1", "4", "2", "5"}},
      {1, key::MouseLeft, {"2", "5", "1", "4", "3", "6", "7"}},
      {3, key::CtrlMouseLeft, {"2", "5", "4", "1", "3", "6", "7"}},
      // Quantities as numbers: 9 before 10 before 100.
      {3, key::MouseLeft, {"6", "2", "4", "1", "5", "7", "3"}},
      {3, key::MouseLeft, {"3", "7", "1", "5", "2", "4", "6"}},
      {2, key::MouseLeft, {"2", "3", "4", "1", "5", "6", "7"}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::to_string(step.column) + " " + std::to_string(step.mouseKey));
    ASSERT_TRUE(click(step.column, step.mouseKey));
    EXPECT_EQ(shownIds(), step.ids);
  }
  EXPECT_TRUE(probe_.takeSorts().empty());  // sorted in place: nothing for the browse to do
  // Shift+click asks the browse for its own order back.
  ASSERT_TRUE(click(1, key::ShiftMouseLeft));
  EXPECT_THAT(probe_.takeSorts(), ElementsAre(""));
  EXPECT_THAT(shownIds(), ElementsAre("1", "2", "3", "4", "5", "6", "7"));
}

// The same browse over a real view: the sorted rows come back from the database.
class HeaderSorterDatabaseTest : public test::DatabaseTest, protected HeaderSorterBase {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    rt::setResourceRoot(test::sourceDir() + "/tests/fixtures");
    for (const auto& statement : sql::createTableStatements(db().dialect(), itemTable())) exec(statement);
    for (const Item& i : kItems) {
      std::vector<sql::Param> params = {static_cast<long long>(std::stoll(i.id)), std::string(i.nazwa),
                                        std::string(i.kod), static_cast<long long>(std::stoll(i.ilosc))};
      sql::Status s = db().execute("INSERT INTO ENG_POZYCJA (ID, NAZWA, KOD, ILOSC) VALUES (?, ?, ?, ?)", params, nullptr);
      ASSERT_TRUE(s.isOk()) << s.message();
    }
  }
  void TearDown() override {
    if (fe_) {
      fe_->closeAll();
      if (thread_.joinable()) thread_.join();
      for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
    }
    DatabaseTest::TearDown();
  }
  rt::HeadlessFrontEnd* fe_ = nullptr;
};

TEST_P(HeaderSorterDatabaseTest, SortedRowsComeBackInOrder) {
  startBrowse(*fe_, Source::DatabaseView);
  EXPECT_THAT(shownIds(), ElementsAre("1", "2", "3", "4", "5", "6", "7"));
  struct Step {
    int column;
    int mouseKey;
    std::vector<std::string> ids;
    std::vector<std::string> headers;
  };
  const Step steps[] = {
      {1, key::MouseLeft, {"2", "5", "1", "4", "3", "6", "7"}, {"Nazwa[+]", "Kod", "Ilość", "Opis"}},
      {1, key::MouseLeft, {"7", "6", "3", "1", "4", "2", "5"}, {"Nazwa[-]", "Kod", "Ilość", "Opis"}},
      {3, key::CtrlMouseLeft, {"7", "6", "3", "4", "1", "2", "5"}, {"Nazwa[-1]", "Kod", "Ilość[+2]", "Opis"}},
      {3, key::MouseLeft, {"6", "2", "4", "1", "5", "7", "3"}, {"Nazwa", "Kod", "Ilość[+]", "Opis"}},
      {1, key::ShiftMouseLeft, {"1", "2", "3", "4", "5", "6", "7"}, {"Nazwa", "Kod", "Ilość", "Opis"}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::to_string(step.column) + " " + std::to_string(step.mouseKey));
    ASSERT_TRUE(fe_->clickHeader(browse_, "?LIST", step.column, step.mouseKey));
    EXPECT_EQ(shownIds(), step.ids);
    EXPECT_EQ(headers(), step.headers);
  }
  std::lock_guard lock(probe_.mutex);
  EXPECT_EQ(probe_.error, "");
}

SLOWNIK_ON_ALL_BACKENDS(HeaderSorterDatabaseTest);

}  // namespace
}  // namespace slownik::engine
