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
#include "framework/sql/thread_database.h"

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
    if (text("KRA:NAZWA") == "Wyścig") return checkRacedByAnotherUser();
    return true;
  }
  // The name "Wyścig" plays two users saving one symbol at the same moment: the other
  // user's row is written right after this form's check found none.
  bool checkRacedByAnotherUser() {
    sql::Result found;
    const sql::Param symbol[] = {text("KRA:SYM_KRAJU")};
    auto other = sql::openDatabase(sql::databaseUrl(), nullptr);
    if (!other || !other->execute("SELECT 1 FROM KRAJE WHERE SYM_KRAJU = ?", symbol, &found)) return false;
    if (!found.empty()) {
      warn("Kraj o symbolu " + text("KRA:SYM_KRAJU") + " już istnieje!");
      return false;
    }
    return other->execute("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES (?, 'Drugi użytkownik')", symbol, nullptr).isOk();
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
    auto w = window("Podgląd kraju");  // what cannot be changed reads as a view
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

TEST_P(RecordFormTest, DeleteShowsTheRowItOpenedAndDeletesOnlyThatRowAsItWasRead) {
  auto out = startForm(data::kDeleteRecord, "IS");
  auto w = window("Aktualizacja rekordu");
  ASSERT_TRUE(w);
  for (const char* field : {"?KRA:SYM_KRAJU", "?KRA:NAZWA"}) EXPECT_TRUE(w->control(field)->readOnly) << field;

  // Another user renames it meanwhile: nothing is deleted until the user has seen that.
  exec("UPDATE KRAJE SET NAZWA = 'Islandia (Ísland)' WHERE SYM_KRAJU = 'IS'");
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  fe().expectMessage(rt::button::Yes, "Rekord został zmieniony przez innego użytkownika.|Czy wczytać aktualne dane?");
  fe().click(w, "?OK");
  EXPECT_FALSE(w->isClosed());
  EXPECT_EQ(nameOf("IS"), "Islandia (Ísland)");
  EXPECT_EQ(w->control("?KRA:NAZWA")->value, "Islandia (Ísland)");  // read again

  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  fe().click(w, "?OK");
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);
  EXPECT_EQ(nameOf("IS"), "-");
  EXPECT_EQ(nameOf("LI"), "Liechtenstein");
}

TEST_P(RecordFormTest, ChangeOfARowAnotherUserChangedOrDeletedWritesNothing) {
  auto out = startForm(data::kChangeRecord, "PL");
  auto w = window("Edycja kraju");
  ASSERT_TRUE(w);
  fe().type(w, "?KRA:NAZWA", "Polska (moja)");
  exec("UPDATE KRAJE SET NAZWA = 'Polska (jego)' WHERE SYM_KRAJU = 'PL'");
  fe().expectMessage(rt::button::No, "Rekord został zmieniony przez innego użytkownika.|Czy wczytać aktualne dane?");
  fe().click(w, "?OK");
  EXPECT_FALSE(w->isClosed());
  EXPECT_EQ(nameOf("PL"), "Polska (jego)");
  EXPECT_EQ(w->control("?KRA:NAZWA")->value, "Polska (moja)");  // No keeps what was typed

  exec("DELETE FROM KRAJE WHERE SYM_KRAJU = 'PL'");
  fe().expectMessage(rt::button::Ok, "Rekord został usunięty przez innego użytkownika.");
  fe().click(w, "?OK");
  EXPECT_FALSE(w->isClosed());
  EXPECT_EQ(nameOf("PL"), "-");
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
  EXPECT_EQ(out->saves, 0);
}

TEST_P(RecordFormTest, DuplicateRefusedByTheDatabaseIsToldInTheFormsOwnWords) {
  auto out = startForm(data::kInsertRecord, "");
  auto w = window("Dodawanie kraju");
  ASSERT_TRUE(w);
  fe().type(w, "?KRA:SYM_KRAJU", "QQ");
  fe().type(w, "?KRA:NAZWA", "Wyścig");
  fe().expectMessage(rt::button::Ok, "Kraj o symbolu QQ już istnieje!");
  fe().click(w, "?OK");
  EXPECT_FALSE(w->isClosed());
  EXPECT_EQ(w->focus(), "?KRA:SYM_KRAJU");
  EXPECT_EQ(nameOf("QQ"), "Drugi użytkownik");
  for (const auto& m : fe().messages()) EXPECT_EQ(m.text.find("tabela"), std::string::npos) << m.text;
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
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
