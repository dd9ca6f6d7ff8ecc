// A child list inside an owner's window: only the owner's rows, the owner's id primed
// into new rows, its own buttons and keys calling the child's form, the hooks around
// the form, and a list that only shows.
#include "engine/child_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/window_fixture.h"
#include "framework/classes/window_manager.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/window_resource.h"

namespace slownik::engine {
namespace {

constexpr const char* kOwnerWindow = R"({"windows": [{"type": "P1$WINDOW", "caption": "Właściciel", "controls": [
  {"kind": "list", "name": "?LISTA", "format": "50L(2)|M~Od~@n_10@50R(2)|M~Stopa~@n-12_`4@"},
  {"kind": "row", "children": [
    {"kind": "button", "name": "?DODAJ", "caption": "&Dodaj"},
    {"kind": "button", "name": "?POPRAW", "caption": "&Popraw"},
    {"kind": "button", "name": "?USUN", "caption": "&Usuń"},
    {"kind": "button", "name": "?INNY", "caption": "&Inny właściciel"},
    {"kind": "button", "name": "?CLOSE", "caption": "&Zamknij"}]}]}]})";

// What the child's form saw and did, written on the procedure thread.
struct Journal {
  std::mutex m;
  std::vector<std::string> entries;
  void add(std::string e) {
    std::lock_guard lock(m);
    entries.push_back(std::move(e));
  }
  std::vector<std::string> take() {
    std::lock_guard lock(m);
    return std::exchange(entries, {});
  }
};

// Plays the child form: an insert writes a row starting the day after the last one, a
// change doubles the rate, a delete removes the row; each notes what it found.
void periodForm(Journal& journal) {
  const int request = data::GLOBALREQUEST();
  data::FileManager& file = *data::fileManager("ODSETKI");
  data::Field owner = data::field("ODS:ID_TABELI_ODSETEK");
  data::Field start = data::field("ODS:OD_DNIA");
  journal.add("form " + std::to_string(request) + " owner " + owner.text() + " start " + start.text());
  int rc = 0;
  if (request == data::kInsertRecord) {
    start.set(900);
    data::field("ODS:STOPA").set("1");
    rc = file.insert();
  } else if (request == data::kChangeRecord) {
    data::field("ODS:STOPA").set(data::field("ODS:STOPA").number() * 2);
    rc = file.update();
  } else if (request == data::kDeleteRecord) {
    rc = file.remove();
  }
  data::GLOBALRESPONSE() = rc == 0 ? data::kRequestCompleted : data::kRequestCancelled;
}

class OwnerWindow : public fw::WindowManager {
 public:
  OwnerWindow(Journal& journal, bool editable, bool allowed) : journal_(journal), editable_(editable), allowed_(allowed) {}

  int init() override {
    if (int rc = WindowManager::init()) return rc;
    std::string error;
    auto defs = rt::parseWindowResource(kOwnerWindow, "owner", &error);
    if (!defs || open(rt::Window::open(defs->front())) != 0) return data::kRequestCancelled;
    addItem("?CLOSE", data::kRequestCompleted);
    ChildListDescriptor d;
    d.list = "?LISTA";
    d.table = "ODSETKI";
    d.ownerField = "ODS:ID_TABELI_ODSETEK";
    d.sortOrder = {"ODS:PK_ODSETKI", LocatorKind::Step, "ODS:OD_DNIA", ""};
    d.columns = {"ODS:OD_DNIA", "ODS:STOPA"};
    d.insertControl = "?DODAJ";
    d.changeControl = "?POPRAW";
    d.deleteControl = "?USUN";
    d.formNumber = 5;
    d.form = [this] { periodForm(journal_); };
    d.beforeForm = [this](int request) {
      journal_.add("before " + std::to_string(request));
      return allowed_;
    };
    d.afterForm = [this](int request, int response, const data::RecordBuffer& before) {
      data::RecordBuffer was = before;
      journal_.add("after " + std::to_string(request) + " " + std::to_string(response) + " was " +
                   was.field("OD_DNIA").text());
    };
    child_ = std::make_unique<ChildList>(std::move(d));
    child_->start(*this, 1, editable_);
    return 0;
  }
  using WindowManager::run;
  int run(int number, int request) override {
    if (child_ && child_->handles(number)) return child_->callForm(request);
    journal_.add("owner run " + std::to_string(number));
    return data::kRequestCancelled;
  }
  int takeAccepted(const rt::Event& e) override {
    if (e.control == "?INNY") {
      child_->setOwner(2);
      return fw::kLevelNotify;
    }
    return WindowManager::takeAccepted(e);
  }

 private:
  Journal& journal_;
  bool editable_;
  bool allowed_;
  std::unique_ptr<ChildList> child_;
};

class ChildListTest : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Rows of its own, not the demo's interest table.
    exec("DELETE FROM ODSETKI");
    exec("INSERT INTO ODSETKI (ID_TABELI_ODSETEK, OD_DNIA, DO_DNIA, STOPA, ZA_OKRES) VALUES "
         "(1, 500, 0, 2, 365), (1, 400, 0, 3, 365), (2, 450, 0, 4, 365)");
  }
  std::shared_ptr<rt::Window> openOwner(bool editable, bool allowed = true) {
    start([this, editable, allowed] {
      OwnerWindow owner(journal_, editable, allowed);
      owner.run();
    });
    return window("Właściciel");
  }
  static std::vector<std::string> starts(const std::shared_ptr<rt::Window>& w) {
    std::vector<std::string> out;
    const auto rows = w->control("?LISTA")->rows;
    for (const auto& r : rows) out.push_back(r.empty() ? "" : r[0]);
    return out;
  }
  Journal journal_;
};

TEST_P(ChildListTest, ShowsTheOwnersRowsAndCallsItsFormForEachButtonAndKey) {
  auto w = openOwner(true);
  ASSERT_TRUE(w);
  EXPECT_EQ(starts(w), (std::vector<std::string>{"400", "500"}));

  ASSERT_TRUE(fe().click(w, "?DODAJ"));  // the owner's id is primed into the new row
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(journal_.take(), (std::vector<std::string>{"before 1", "form 1 owner 1 start 0", "after 1 1 was 0"}));
  EXPECT_EQ(starts(w), (std::vector<std::string>{"400", "500", "900"}));
  EXPECT_EQ(scalar("SELECT ID_TABELI_ODSETEK FROM ODSETKI WHERE OD_DNIA = 900"), "1");

  ASSERT_TRUE(fe().clickRow(w, "?LISTA", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(journal_.take(), (std::vector<std::string>{"before 2", "form 2 owner 1 start 400", "after 2 1 was 400"}));
  EXPECT_EQ(scalar("SELECT STOPA FROM ODSETKI WHERE OD_DNIA = 400"), isPostgres() ? "6.0000" : "6");

  ASSERT_TRUE(fe().clickRow(w, "?LISTA", 2));
  ASSERT_TRUE(fe().click(w, "?USUN"));  // the form's own delete: the hook still sees the row
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(journal_.take(), (std::vector<std::string>{"before 3", "form 3 owner 1 start 500", "after 3 1 was 500"}));
  EXPECT_EQ(starts(w), (std::vector<std::string>{"400", "900"}));

  ASSERT_TRUE(fe().click(w, "?INNY"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(starts(w), (std::vector<std::string>{"450"}));
  ASSERT_TRUE(fe().clickRow(w, "?LISTA", 1));
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_TRUE(starts(w).empty());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ODSETKI WHERE ID_TABELI_ODSETEK = 1"), "2") << "the first owner's rows stay";
  EXPECT_FALSE(w->control("?POPRAW")->enabled) << "nothing left to change";
  journal_.take();
  ASSERT_TRUE(fe().click(w, "?CLOSE"));
}

TEST_P(ChildListTest, ARefusedCallNeverReachesTheForm) {
  auto w = openOwner(true, false);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().click(w, "?DODAJ"));
  ASSERT_TRUE(fe().clickRow(w, "?LISTA", 1));
  ASSERT_TRUE(fe().click(w, "?USUN"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(journal_.take(), (std::vector<std::string>{"before 1", "before 3"}));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ODSETKI"), "3");
  ASSERT_TRUE(fe().click(w, "?CLOSE"));
}

TEST_P(ChildListTest, AListThatOnlyShowsHasNoWayToTheForm) {
  auto w = openOwner(false);
  ASSERT_TRUE(w);
  EXPECT_EQ(starts(w), (std::vector<std::string>{"400", "500"}));
  for (const char* c : {"?LISTA", "?DODAJ", "?POPRAW", "?USUN"}) EXPECT_FALSE(w->control(c)->enabled) << c;
  EXPECT_TRUE(journal_.take().empty());
  ASSERT_TRUE(fe().click(w, "?CLOSE"));
}

TEST_P(ChildListTest, ItsRowsGoToTheClipboardAndThePrintLikeAnyListsRows) {
  auto w = openOwner(true);
  ASSERT_TRUE(w);
  // One row, then both with Shift: the copy follows the selection, in list order.
  ASSERT_TRUE(fe().clickRow(w, "?LISTA", 2));
  ASSERT_TRUE(fe().press(w, rt::key::withCtrl('C')));
  EXPECT_EQ(fe().clipboardText(), "Od\tStopa\n500\t2,0000");
  ASSERT_TRUE(fe().press(w, rt::key::withShift(rt::key::Up)));
  EXPECT_EQ(w->control("?LISTA")->selection, 1) << "the current row follows the arrow";
  ASSERT_TRUE(fe().press(w, rt::key::withCtrl('C')));
  EXPECT_EQ(fe().clipboardText(), "Od\tStopa\n400\t3,0000\n500\t2,0000");

  // Ctrl+P prints the owner's rows only, under the window's name.
  ASSERT_TRUE(fe().press(w, rt::key::withCtrl('P')));
  ASSERT_EQ(fe().printed().size(), 1u);
  EXPECT_EQ(fe().printed()[0].title, "Właściciel");
  const std::string html = fe().printed()[0].html;
  EXPECT_NE(html.find(">400</td>"), std::string::npos);
  EXPECT_EQ(html.find(">450</td>"), std::string::npos) << "another owner's row";

  // The popup offers the list's buttons and both ways out; print goes through it too.
  fe().expectPopup("Drukuj");
  ASSERT_TRUE(fe().rightClickRow(w, "?LISTA", 1));
  ASSERT_EQ(fe().popupsShown().size(), 1u);
  const auto offered = fe().popupsShown()[0];
  for (const char* item : {"Dodaj", "Popraw", "Usuń", "Eksport do Excela", "Drukuj"})
    EXPECT_NE(std::find(offered.begin(), offered.end(), item), offered.end()) << item;
  EXPECT_EQ(fe().printed().size(), 2u);
  EXPECT_EQ(starts(w), (std::vector<std::string>{"400", "500"})) << "the list reads its page again";
  EXPECT_TRUE(journal_.take().empty()) << "no form was called";
  ASSERT_TRUE(fe().click(w, "?CLOSE"));
}

SLOWNIK_ON_ALL_BACKENDS(ChildListTest);

}  // namespace
}  // namespace slownik::engine
