#include "engine/record_form.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "engine/window_fixture.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/services/messages.h"

namespace slownik::engine {
namespace {

struct Outcome {
  std::atomic<int> response{-1};
  std::atomic<int> pickerCalls{0};
  std::atomic<int> pickerRequest{0};
  std::atomic<int> pickAnswer{-1};
  std::atomic<int> saves{0};
};

// A country form with one check of its own and a picker behind button ?OK's neighbour:
// accepting the name "?" asks picker 7, which answers what the test chose.
class TestForm : public RecordForm {
 public:
  TestForm(std::shared_ptr<Outcome> out, std::string editRight, int pickerAnswer)
      : RecordForm(descriptor(std::move(editRight))), out_(std::move(out)) {
    addPicker(7, [this, pickerAnswer] {
      ++out_->pickerCalls;
      out_->pickerRequest = data::GLOBALREQUEST();
      data::GLOBALRESPONSE() = static_cast<std::uint8_t>(pickerAnswer);
    });
  }
  static FormDescriptor descriptor(std::string editRight) {
    FormDescriptor d;
    d.module = 42;
    d.procedure = "Kraj_Upd";
    d.table = "KRAJE";
    d.titles = {"Dodawanie kraju", "Edycja kraju", "Podgląd kraju"};
    d.history = {{"?KRA:SYM_KRAJU", 1}, {"?KRA:NAZWA", 2}};
    d.editRight = std::move(editRight);
    d.firstField = "?KRA:SYM_KRAJU";
    return d;
  }
  bool checkBeforeSave() override {
    if (trimmed(text("KRA:NAZWA")).empty()) {
      warn("Nazwa musi być wypełniona!");
      return false;
    }
    return true;
  }
  int afterAccepted(const rt::Event& e) override {
    if (e.control == "?KRA:NAZWA" && text("KRA:NAZWA") == "?") out_->pickAnswer = pick(7);
    return fw::kLevelBenign;
  }
  void afterSave() override { ++out_->saves; }

 private:
  std::shared_ptr<Outcome> out_;
};

class RecordFormTest : public test::WindowFixture {
 protected:
  //! Starts the form with `request` on the country `symbol` ("" = none loaded).
  std::shared_ptr<Outcome> startForm(int request, std::string symbol, std::string editRight = {},
                                     int pickerAnswer = data::kRequestCompleted) {
    auto out = std::make_shared<Outcome>();
    start([out, request, symbol, editRight, pickerAnswer] {
      if (!symbol.empty()) {
        data::field("KRA:SYM_KRAJU").set(symbol);
        data::fileManager("KRAJE")->fetch("KRA:PK_KRAJE");
      }
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      TestForm form(out, editRight, pickerAnswer);
      form.run();
      out->response = data::GLOBALRESPONSE();
    });
    return out;
  }
  std::string nameOf(const std::string& symbol) {
    return scalar("SELECT COALESCE(MAX(NAZWA), '-') FROM KRAJE WHERE SYM_KRAJU = '" + symbol + "'");
  }
};

TEST_P(RecordFormTest, TitleFollowsTheRequest) {
  struct Case {
    int request;
    const char* symbol;
    const char* title;
  };
  const Case cases[] = {{data::kInsertRecord, "", "Dodawanie kraju"},
                        {data::kChangeRecord, "PL", "Edycja kraju"},
                        {data::kViewRecord, "PL", "Podgląd kraju"},
                        {data::kDeleteRecord, "PL", "Aktualizacja rekordu"}};
  for (const auto& c : cases) {
    auto out = startForm(c.request, c.symbol);
    auto w = window(c.title);
    ASSERT_TRUE(w) << c.title;
    fe().press(w, rt::key::Esc);
    join();
    EXPECT_EQ(out->response, data::kRequestCancelled) << c.title;
  }
}

TEST_P(RecordFormTest, FailedCheckKeepsTheFormOpenWithTheFocusOnTheFirstField) {
  auto out = startForm(data::kInsertRecord, "");
  auto w = window("Dodawanie kraju");
  ASSERT_TRUE(w);
  fe().type(w, "?KRA:SYM_KRAJU", "XY");
  fe().expectMessage(rt::button::Ok, "Nazwa musi być wypełniona!");
  fe().click(w, "?OK");
  EXPECT_FALSE(w->isClosed());
  EXPECT_EQ(w->focus(), "?KRA:SYM_KRAJU");
  EXPECT_EQ(nameOf("XY"), "-");
  fe().type(w, "?KRA:NAZWA", "Côte d'Ivoire");
  fe().click(w, "?OK");
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);
  EXPECT_EQ(out->saves, 1);
  EXPECT_EQ(nameOf("XY"), "Côte d'Ivoire");
}

TEST_P(RecordFormTest, ChangedKeyIsSavedOverTheSameRow) {
  auto out = startForm(data::kChangeRecord, "PL");
  auto w = window("Edycja kraju");
  ASSERT_TRUE(w);
  fe().type(w, "?KRA:SYM_KRAJU", "POL");
  fe().click(w, "?OK");
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);
  EXPECT_EQ(nameOf("POL"), "Polska");
  EXPECT_EQ(nameOf("PL"), "-");
}

TEST_P(RecordFormTest, ViewAndMissingEditRightOnlyShow) {
  {  // view: fields locked, ?OK just closes, nothing written
    auto out = startForm(data::kViewRecord, "PL");
    auto w = window("Podgląd kraju");
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->control("?KRA:NAZWA")->enabled);
    EXPECT_TRUE(w->control("?OK")->enabled);
    fe().click(w, "?OK");
    join();
    EXPECT_EQ(out->response, data::kRequestCancelled);
    EXPECT_EQ(out->saves, 0);
  }
  {  // change without the edit right: everything but Cancel locked
    asUser(sql::demo::kUserId);
    auto out = startForm(data::kChangeRecord, "PL", "EWaluty");
    auto w = window("Edycja kraju");
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->control("?KRA:SYM_KRAJU")->enabled);
    EXPECT_FALSE(w->control("?OK")->enabled);
    EXPECT_TRUE(w->control("?CANCEL")->enabled);
    fe().click(w, "?CANCEL");
    join();
    EXPECT_EQ(out->response, data::kRequestCancelled);
  }
  {  // the administrator holds it
    asUser(sql::demo::kAdminUserId);
    auto out = startForm(data::kChangeRecord, "PL", "EWaluty");
    auto w = window("Edycja kraju");
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->control("?OK")->enabled);
    fe().press(w, rt::key::Esc);
    join();
  }
}

TEST_P(RecordFormTest, PickerIsCalledWithTheSelectRequest) {
  for (int answer : {data::kRequestCompleted, data::kRequestCancelled}) {
    auto out = startForm(data::kInsertRecord, "", {}, answer);
    auto w = window("Dodawanie kraju");
    ASSERT_TRUE(w);
    fe().type(w, "?KRA:NAZWA", "?");
    fe().press(w, rt::key::Esc);
    join();
    EXPECT_EQ(out->pickerCalls, 1);
    EXPECT_EQ(out->pickerRequest, data::kSelectRecord);
    EXPECT_EQ(out->pickAnswer, answer);
  }
}

TEST_P(RecordFormTest, HistoryKeyRecallsTheLastSavedRecord) {
  auto out = std::make_shared<Outcome>();
  start([out] {
    data::GLOBALREQUEST() = data::kInsertRecord;
    TestForm first(out, {}, 1);
    first.run();
    data::GLOBALREQUEST() = data::kInsertRecord;
    TestForm second(out, {}, 1);
    second.run();
    out->response = data::GLOBALRESPONSE();
  });
  auto w = window("Dodawanie kraju");
  ASSERT_TRUE(w);
  fe().type(w, "?KRA:SYM_KRAJU", "AA");
  fe().type(w, "?KRA:NAZWA", "Pierwszy");
  fe().click(w, "?OK");
  ASSERT_TRUE(fe().waitForClose(w));
  auto w2 = window("Dodawanie kraju");
  ASSERT_TRUE(w2);
  fe().click(w2, "?KRA:NAZWA");
  fe().press(w2, rt::key::History);
  EXPECT_EQ(w2->value("?KRA:NAZWA"), "Pierwszy");
  fe().press(w2, rt::key::Esc);
  join();
}

SLOWNIK_ON_ALL_BACKENDS(RecordFormTest);

}  // namespace
}  // namespace slownik::engine
