#pragma once
// A small list and form over KRAJE, written as a dictionary writes its procedures, for the
// tests of the window manager, the list manager and the toolbars.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "framework/classes/browse_class.h"
#include "framework/classes/locators.h"
#include "framework/classes/toolbar_class.h"
#include "framework/classes/toolbar_update_class.h"
#include "framework/classes/window_manager.h"
#include "framework/data/relation_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/data/view_manager.h"
#include "framework/runtime/headless_front_end.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window_resource.h"
#include "framework/services/messages.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/seed.h"
#include "support/backends.h"

namespace slownik::test {

inline const sql::TableDef& kraje() { return *sql::Catalogue::instance().find("KRAJE"); }

//! The country form: titles by request, a save check on the symbol, history of the name.
class CountryForm : public fw::WindowManager {
 public:
  int init() override {
    if (int rc = WindowManager::init()) return rc;
    data::GLOBALREQUEST() = 0;
    data::GLOBALRESPONSE() = 0;
    toolbar_.addTarget(vcr_);
    vcr_.init(*this);
    addItem(toolbar_);
    addHistoryFile(data::buffer(kraje()), fw::historyCopy(kraje()));
    addHistoryField("?KRA:NAZWA", 2);
    addHistoryField("?KRA:SYM_KRAJU", 1);
    relation_ = &data::relationManager(kraje());
    relation_->open();
    addUpdateFile(data::fileManager(kraje()), relation_);
    addItem("?CANCEL", data::kRequestCancelled);
    setSaveButton("?OK");
    if (request() != data::kViewRecord && primeRecord() != 0) return data::kRequestCancelled;
    if (open("test$wmkraje", "P1$FORMWINDOW") != 0) return data::kRequestCancelled;
    setAlerts();
    return 0;
  }
  void ask() override {
    const char* titles[] = {"Aktualizacja rekordu", "Dodawanie kraju", "Edycja kraju", "Usuwanie kraju", "", "", "View Record"};
    if (window() && request() >= 0 && request() <= 6) window()->setTitle(titles[request()]);
    WindowManager::ask();
  }
  int takeAccepted(const rt::Event& e) override {
    if (e.control == "?OK" && (request() == data::kInsertRecord || request() == data::kChangeRecord)) {
      update();
      if (data::field("KRA:SYM_KRAJU").text().find_first_not_of(' ') == std::string::npos) {
        svc::warningBox("Symbol kraju musi być wypełniony!");
        window()->select("?KRA:SYM_KRAJU");
        return fw::kLevelNotify;
      }
    }
    return WindowManager::takeAccepted(e);
  }
  int kill() override {
    if (WindowManager::kill()) return 1;
    if (relation_) relation_->close();
    return 0;
  }

 private:
  fw::ToolbarClass toolbar_;
  fw::ToolbarUpdateClass vcr_;
  data::RelationManager* relation_ = nullptr;
};

enum class LocatorKind { Step, Incremental, Entry, Filter, FilterContains };

//! The country list: sorted by symbol with a step locator, or by name with a locator in
//! ?LOKATOR; calls CountryForm for insert, change and delete.
class CountryList : public fw::WindowManager {
 public:
  explicit CountryList(LocatorKind kind = LocatorKind::Step, int pageSize = 8) : kind_(kind), pageSize_(pageSize) {}

  int init() override {
    if (int rc = WindowManager::init()) return rc;
    addItem(toolbar_);
    data::GLOBALREQUEST() = 0;
    data::GLOBALRESPONSE() = 0;
    addItem("?CLOSE", request() == data::kSelectRecord ? data::kRequestCancelled : data::kRequestCompleted);
    relation_ = &data::relationManager(kraje());
    relation_->open();
    browse_.selectControl = "?SELECT";
    if (request() != data::kViewRecord) {
      browse_.insertControl = "?INSERT";
      browse_.changeControl = "?CHANGE";
      browse_.deleteControl = "?DELETE";
    }
    browse_.init("?LIST", view_, queue_, relation_, *this);
    if (open("test$wmkraje", "P1$BROWSEWINDOW") != 0) return data::kRequestCancelled;
    browse_.setPageSize(pageSize_);
    switch (kind_) {
      case LocatorKind::Step:
        step_.init("", "KRA:SYM_KRAJU", browse_);
        browse_.addSortOrder("KRA:PK_KRAJE", &step_);
        break;
      case LocatorKind::Incremental:
        incremental_.init("?LOKATOR", "KRA:NAZWA", browse_);
        browse_.addSortOrder("KRA:AK_KRAJE_NAZWA_KRAJE", &incremental_);
        break;
      case LocatorKind::Entry:
        entry_.init("?LOKATOR", "KRA:NAZWA", browse_);
        browse_.addSortOrder("KRA:AK_KRAJE_NAZWA_KRAJE", &entry_);
        break;
      case LocatorKind::Filter:
      case LocatorKind::FilterContains:
        filter_.init("?LOKATOR", "KRA:NAZWA", browse_);
        filter_.setContains(kind_ == LocatorKind::FilterContains);
        browse_.addSortOrder("KRA:AK_KRAJE_NAZWA_KRAJE", &filter_);
        break;
    }
    browse_.addField("KRA:SYM_KRAJU");
    browse_.addField("KRA:NAZWA");
    browse_.addToolbarTarget(toolbar_);
    setAlerts();
    return 0;
  }
  using fw::WindowManager::run;
  int run(int, int request) override {
    ++formCalls;
    data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
    CountryForm form;
    return form.run();
  }
  int kill() override {
    if (WindowManager::kill()) return 1;
    if (relation_) relation_->close();
    return 0;
  }

  std::atomic<int> formCalls{0};
  fw::BrowseClass& browse() { return browse_; }

 private:
  LocatorKind kind_;
  int pageSize_;
  data::ViewManager view_{kraje()};
  fw::ListQueue queue_;
  fw::BrowseClass browse_;
  fw::StepLocator step_;
  fw::IncrementalLocator incremental_;
  fw::EntryLocator entry_;
  fw::FilterLocator filter_;
  fw::ToolbarClass toolbar_;
  data::RelationManager* relation_ = nullptr;
};

//! What a procedure thread left behind for the test to check.
struct Outcome {
  std::atomic<int> response{-1};
  std::atomic<int> formCalls{0};
  std::string chosenSymbol;  // KRA:SYM_KRAJU of the thread's record buffer at the end
};

//! Database test that plays the user: a seeded database and the headless front-end.
class CountryWindowTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(sql::seedDemo(db()).isOk());
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    rt::setResourceRoot(sourceDir() + "/tests/fixtures");
  }
  void TearDown() override {
    if (fe_) {
      fe_->closeAll();
      for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
    }
    threads_.clear();
    DatabaseTest::TearDown();
  }

  //! Starts the list on a procedure thread with `request` in GLOBALREQUEST.
  std::shared_ptr<Outcome> startList(int request, LocatorKind kind = LocatorKind::Step, int pageSize = 8) {
    auto out = std::make_shared<Outcome>();
    threads_.push_back(rt::startProcedure([out, request, kind, pageSize] {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      CountryList list(kind, pageSize);
      out->response = list.run();
      out->formCalls = list.formCalls.load();
      out->chosenSymbol = data::field("KRA:SYM_KRAJU").text();
    }));
    return out;
  }
  //! Starts the form alone with `request`, after loading the country `symbol` (if any).
  std::shared_ptr<Outcome> startForm(int request, std::string symbol) {
    auto out = std::make_shared<Outcome>();
    threads_.push_back(rt::startProcedure([out, request, symbol] {
      if (!symbol.empty()) {
        data::field("KRA:SYM_KRAJU").set(symbol);
        data::fileManager(kraje()).fetch("KRA:PK_KRAJE");
      }
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      CountryForm form;
      out->response = form.run();
    }));
    return out;
  }
  void join() {
    for (auto& t : threads_) t.join();
  }

  std::vector<std::string> column(const std::string& sql) {
    sql::Result r;
    EXPECT_TRUE(db().execute(sql, {}, &r).isOk());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < r.rows.size(); ++i) out.push_back(r.text(i, 0));
    return out;
  }
  static std::vector<std::vector<std::string>> rows(const std::shared_ptr<rt::Window>& w) {
    return w->control("?LIST")->rows;
  }
  //! The symbol of the selected row ("" when none).
  static std::string selectedSymbol(const std::shared_ptr<rt::Window>& w) {
    auto c = w->control("?LIST");
    if (!c || c->selection < 1 || c->selection > static_cast<int>(c->rows.size())) return {};
    return c->rows[static_cast<std::size_t>(c->selection - 1)][0];
  }

  rt::HeadlessFrontEnd& fe() { return *fe_; }

 private:
  rt::HeadlessFrontEnd* fe_ = nullptr;
  std::vector<rt::ProcedureThread> threads_;
};

}  // namespace slownik::test
