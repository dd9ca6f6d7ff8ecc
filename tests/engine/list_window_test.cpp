#include "engine/list_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/module_objects.h"
#include "engine/window_fixture.h"
#include "framework/classes/error_class.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/services/open_windows.h"

namespace slownik::engine {
namespace {

// What a list procedure left for the test thread.
struct Outcome {
  std::atomic<int> response{-1};
  std::atomic<int> formCalls{0};
  std::atomic<int> lastFormRequest{0};
  std::atomic<int> f10Seen{0};
  std::string procedureWhileOpen;  // written on the procedure thread before the test reads it
  std::string procedureAfter;
  std::string chosenSymbol;
};

ListDescriptor countryList(std::shared_ptr<Outcome> out) {
  ListDescriptor d;
  d.module = 3;
  d.procedure = "Kraj_Brw";
  d.table = "KRAJE";
  d.windowKey = "KrajeTest";
  d.sortOrders = {{"KRA:AK_KRAJE_NAZWA_KRAJE", LocatorKind::Incremental, "KRA:NAZWA", "?LOKATOR"}};
  d.columns = {"KRA:SYM_KRAJU", "KRA:NAZWA"};
  d.form = [out] {
    ++out->formCalls;
    out->lastFormRequest = data::GLOBALREQUEST();
    data::GLOBALRESPONSE() = data::kRequestCancelled;
  };
  return d;
}

// The list with a probe: F10 reserved so the test can see whether Alt pressed it.
class ProbedList : public ListWindow {
 public:
  ProbedList(ListDescriptor d, std::shared_ptr<Outcome> out) : ListWindow(std::move(d)), out_(std::move(out)) {}
  int opened() override {
    out_->procedureWhileOpen = moduleErrors().procedureName();
    return 0;
  }
  void setAlerts() override {
    ListWindow::setAlerts();
    if (window()) window()->alert(rt::key::F10);
  }
  int takeEvent(const rt::Event& e) override {
    if (e.code == rt::event::AlertKey && e.keyCode == rt::key::F10) ++out_->f10Seen;
    return ListWindow::takeEvent(e);
  }

 private:
  std::shared_ptr<Outcome> out_;
};

class ListWindowTest : public test::WindowFixture {
 protected:
  std::shared_ptr<Outcome> startList(int request, std::function<void(ListDescriptor&)> adjust = {}) {
    auto out = std::make_shared<Outcome>();
    start([out, request, adjust] {
      ListDescriptor d = countryList(out);
      if (adjust) adjust(d);
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      ProbedList list(std::move(d), out);
      list.run();
      out->response = data::GLOBALRESPONSE();
      out->procedureAfter = moduleErrors().procedureName();
      out->chosenSymbol = data::field("KRA:SYM_KRAJU").text();
    });
    return out;
  }
};

TEST_P(ListWindowTest, WindowRightDecidesWhetherTheWindowOpensAndItsPositionIsStored) {
  auto gate = [](ListDescriptor& d) {
    d.right = "StawkiVAT";
    d.rightMessage = "Brak uprawnień na dostęp do stawek vat!";
  };
  {  // without the right: a warning, no window, nothing stored
    asUser(sql::demo::kUserId);
    fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do stawek vat!");
    auto out = startList(data::kNoRequest, gate);
    join();
    EXPECT_EQ(out->response, data::kRequestCancelled);
    EXPECT_EQ(out->procedureAfter, "");
    EXPECT_EQ(settings("Kraj_Brw", "X"), "");
    ASSERT_EQ(fe().messages().size(), 1u);
    EXPECT_EQ(fe().messages()[0].title, "TRAMEL: Ostrzeżenie");
  }
  {  // with it: the window opens, and the place the user gave it is kept
    asUser(sql::demo::kAdminUserId);
    svc::openWindowList().add("KrajeTest");
    auto out = startList(data::kNoRequest, gate);
    auto w = window("Kraje");
    ASSERT_TRUE(w);
    fw::windowLayouts().setPlacement(*w, fw::Placement{40, 50, 600, 400, false});
    fe().click(w, "?CLOSE");
    join();
    EXPECT_EQ(out->response, data::kRequestCompleted);
    EXPECT_EQ(out->procedureWhileOpen, "Kraj_Brw");
    EXPECT_EQ(out->procedureAfter, "");
    EXPECT_EQ(settings("Kraj_Brw", "X"), "40");
    EXPECT_EQ(settings("Kraj_Brw", "Width"), "600");
    EXPECT_FALSE(svc::openWindowList().contains("KrajeTest"));
  }
  {  // opened again, it comes back where it was
    auto out = startList(data::kNoRequest);
    auto w = window("Kraje");
    ASSERT_TRUE(w);
    auto placement = fw::windowLayouts().get(w->id()).placement;
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->x, 40);
    EXPECT_EQ(placement->height, 400);
    fe().press(w, rt::key::Esc);
    join();
  }
}

TEST_P(ListWindowTest, PickerChoosesWithEnterAndAnswersCancelledOnEsc) {
  {
    auto out = startList(data::kSelectRecord);
    auto w = window("Kraje");
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->control("?SELECT")->hidden);
    int row = rowOf(w, 0, "AT");
    ASSERT_GT(row, 0);
    fe().clickRow(w, "?LIST", row);
    fe().press(w, rt::key::Enter);
    join();
    EXPECT_EQ(out->response, data::kRequestCompleted);
    EXPECT_EQ(out->chosenSymbol, "AT");
  }
  {
    auto out = startList(data::kSelectRecord);
    auto w = window("Kraje");
    ASSERT_TRUE(w);
    fe().press(w, rt::key::Esc);
    join();
    EXPECT_EQ(out->response, data::kRequestCancelled);
  }
  {  // a plain list hides ?SELECT and its close answers completed
    auto out = startList(data::kNoRequest);
    auto w = window("Kraje");
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->control("?SELECT")->hidden);
    fe().press(w, rt::key::Esc);
    join();
    EXPECT_EQ(out->response, data::kRequestCompleted);
  }
}

TEST_P(ListWindowTest, ViewOnlyListNeverCallsTheForm) {
  auto out = startList(data::kViewRecord);
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  fe().clickRow(w, "?LIST", 1);
  for (int key : {rt::key::Ins, rt::key::F2, rt::key::Del}) fe().press(w, key);
  fe().doubleClickRow(w, "?LIST", 1);
  fe().close(w);
  join();
  EXPECT_EQ(out->formCalls, 0);
}

TEST_P(ListWindowTest, ViewAndDeleteRightsGuardTheForm) {
  auto rights = [](ListDescriptor& d) {
    d.viewRight = "OWaluty";
    d.viewRightMessage = "Brak uprawnień na oglądanie walut!";
    d.deleteRight = "UWaluty";
    d.deleteRightMessage = "Brak uprawnień na usuwanie walut!";
  };
  struct Case {
    long long user;
    int key;
    int expectedCalls;
    const char* message;  // nullptr: no refusal
  };
  const Case cases[] = {
      {sql::demo::kUserId, rt::key::F2, 0, "Brak uprawnień na oglądanie walut!"},
      {sql::demo::kUserId, rt::key::Del, 0, "Brak uprawnień na usuwanie walut!"},
      {sql::demo::kUserId, rt::key::Ins, 1, nullptr},  // adding needs neither
      {sql::demo::kAdminUserId, rt::key::F2, 1, nullptr},
      {sql::demo::kAdminUserId, rt::key::Del, 1, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.user) + " key " + std::to_string(c.key));
    asUser(c.user);
    if (c.message) fe().expectMessage(rt::button::Ok, c.message);
    auto out = startList(data::kNoRequest, rights);
    auto w = window("Kraje");
    ASSERT_TRUE(w);
    fe().clickRow(w, "?LIST", 1);
    fe().press(w, c.key);
    fe().press(w, rt::key::Esc);
    join();
    EXPECT_EQ(out->formCalls, c.expectedCalls);
    if (c.expectedCalls) {
      EXPECT_EQ(out->lastFormRequest, c.key == rt::key::Ins ? 1 : c.key == rt::key::F2 ? 2 : 3);
    }
  }
}

TEST_P(ListWindowTest, AltOnAThreadOtherThanTheFirstPressesNothing) {
  auto out = startList(data::kNoRequest);
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->isAlerted(rt::key::AltAlone));
  EXPECT_TRUE(w->isAlerted(rt::key::ShiftF10));
  fe().press(w, rt::key::AltAlone);
  EXPECT_EQ(out->f10Seen, 0);
  fe().press(w, rt::key::F10);  // the probe does see F10 when it is pressed
  EXPECT_EQ(out->f10Seen, 1);
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(ListWindowTest, PopupOffersTheConnectedButtons) {
  auto out = startList(data::kNoRequest);
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  fe().expectPopup("Dodaj");
  fe().rightClickRow(w, "?LIST", 1);
  ASSERT_EQ(fe().popupsShown().size(), 1u);
  const auto shown = fe().popupsShown()[0];
  for (const char* item : {"Dodaj", "Popraw", "Usuń"})
    EXPECT_NE(std::find(shown.begin(), shown.end(), item), shown.end()) << item;
  EXPECT_EQ(std::find(shown.begin(), shown.end(), "Wybierz"), shown.end());  // hidden outside a picker
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(out->formCalls, 1);
  EXPECT_EQ(out->lastFormRequest, data::kInsertRecord);
}

// A list that marks its rows through the list manager and notes every order applied.
class MarkedList : public ListWindow {
 public:
  struct Marks {
    int iconColumn = 0;    // 0 = no icon set
    int colourColumn = 0;  // 0 = no colours set
  };
  MarkedList(ListDescriptor d, Marks marks, std::vector<std::string>* orders)
      : ListWindow(std::move(d)), marks_(marks), orders_(orders) {}
  void setQueueRecord(fw::ListRow& row, const data::ViewRow&) override {
    if (marks_.iconColumn) setIcon(row, marks_.iconColumn, 7);
    if (marks_.colourColumn) setColours(row, marks_.colourColumn, 11, 12, 13, 14);
  }
  void orderApplied() override {
    // The header sorter's order is still in force only while the headers sort.
    bool headers = headerSorter() && !headerSorter()->orderText().empty();
    orders_->push_back((headers ? "headers " : "") + view().orderText());
  }

 private:
  Marks marks_;
  std::vector<std::string>* orders_;
};

TEST_P(ListWindowTest, IconsAndColoursGoToTheFieldsTheFormatGivesThem) {
  struct Case {
    int module;
    const char* title;
    MarkedList::Marks marks;
    std::vector<std::pair<int, std::string>> cells;  // list-buffer field → the first row's value
  };
  // The VAT window's first column has an icon (field 2); the bank window's columns carry
  // cell colours (the first column's in fields 2-5, the second's in 7-10).
  const Case cases[] = {
      {2, "Stawki VAT", {1, 0}, {{1, "AT"}, {2, "7"}}},
      {2, "Stawki VAT", {2, 1}, {{1, "AT"}, {2, ""}}},  // no icon in column 2, no colours anywhere
      {2, "Stawki VAT", {9, 0}, {{2, ""}}},             // no such column
      {15, "Lista banków", {0, 2}, {{1, "AT"}, {2, ""}, {6, "Austria"}, {7, "11"}, {8, "12"}, {9, "13"}, {10, "14"}}},
      {15, "Lista banków", {1, 1}, {{2, "11"}, {3, "12"}, {4, "13"}, {5, "14"}, {6, "Austria"}, {7, ""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.title) + " icon " + std::to_string(c.marks.iconColumn) + " colours " +
                 std::to_string(c.marks.colourColumn));
    std::vector<std::string> orders;
    start([&c, &orders] {
      ListDescriptor d = countryList(std::make_shared<Outcome>());
      d.module = c.module;
      d.sortOrders = {{"KRA:PK_KRAJE", LocatorKind::None, "", ""}};
      MarkedList list(std::move(d), c.marks, &orders);
      list.run();
    });
    auto w = window(c.title);
    ASSERT_TRUE(w);
    auto shown = rows(w);
    ASSERT_FALSE(shown.empty());
    for (const auto& [field, value] : c.cells) {
      const auto& row = shown.front();
      EXPECT_EQ(static_cast<std::size_t>(field) <= row.size() ? row[static_cast<std::size_t>(field - 1)] : "", value)
          << "field " << field;
    }
    fe().press(w, rt::key::Esc);
    join();
  }
}

TEST_P(ListWindowTest, EveryOrderAppliedIsToldToTheDictionary) {
  std::vector<std::string> orders;
  start([&orders] {
    ListDescriptor d = countryList(std::make_shared<Outcome>());
    d.headerSorter = true;
    MarkedList list(std::move(d), {}, &orders);
    list.run();
  });
  auto w = window("Kraje");
  ASSERT_TRUE(w);
  ASSERT_EQ(orders.size(), 1u);  // the list's own order, at opening
  const std::string own = orders.front();
  EXPECT_EQ(own.rfind("headers", 0), std::string::npos);

  fe().clickHeader(w, "?LIST", 1);  // by symbol, from the headers
  ASSERT_EQ(orders.size(), 2u);
  EXPECT_EQ(orders[1].rfind("headers ", 0), 0u) << orders[1];
  EXPECT_NE(orders[1], "headers " + own);

  fe().clickHeader(w, "?LIST", 1, rt::key::ShiftMouseLeft);  // the list's own order again
  ASSERT_EQ(orders.size(), 3u);
  EXPECT_EQ(orders[2], own);
  EXPECT_EQ(column(w, 1).front(), "Australia");
  fe().press(w, rt::key::Esc);
  join();
}

TEST(WindowResource, NamesCarryThreeDigits) {
  EXPECT_EQ(windowResource(2), "slownik$slown002");
  EXPECT_EQ(windowResource(51), "slownik$slown051");
  EXPECT_EQ(windowResource(123), "slownik$slown123");
}

SLOWNIK_ON_ALL_BACKENDS(ListWindowTest);

}  // namespace
}  // namespace slownik::engine
