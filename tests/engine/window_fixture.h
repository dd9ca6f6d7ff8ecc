#pragma once
// A seeded database, the module's window resources and the headless front-end: the
// ground on which tests play the user in dictionary windows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/classes/window_layouts.h"
#include "framework/data/globals.h"
#include "framework/runtime/headless_front_end.h"
#include "framework/runtime/ini_file.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window_resource.h"
#include "framework/sql/seed.h"
#include "framework/sql/text.h"
#include "support/backends.h"

namespace slownik::test {

class WindowFixture : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(sql::seedDemo(db()).isOk());
    fe_ = &rt::HeadlessFrontEnd::install();
    fe_->reset();
    rt::setResourceRoot(sourceDir() + "/resources");
    data::glo().ID_FIRMY = static_cast<double>(sql::demo::kCompanyId);
    data::glo().ID_UZYTKOWNIKA = static_cast<double>(sql::demo::kAdminUserId);
    data::glo().TOOLTIPTYPE = 0;
    // One file per test process: test programs run side by side and must not remove
    // each other's settings.
    ini_ = testing::TempDir() + "slownik_window_fixture_" + std::to_string(getpid()) + ".ini";
    std::remove(ini_.c_str());
    data::glo().PATH_INI.set(ini_);
  }
  void TearDown() override {
    if (fe_) {
      fe_->closeAll();
      for (const auto& p : fe_->takeProblems()) ADD_FAILURE() << p;
    }
    join();
    data::glo().PATH_INI.set("");
    std::remove(ini_.c_str());
    DatabaseTest::TearDown();
  }

  //! Runs `body` on a procedure thread of its own, as the host starts an entry point.
  void start(std::function<void()> body) { threads_.push_back(rt::startProcedure(std::move(body))); }
  void join() {
    for (auto& t : threads_) t.join();
    threads_.clear();
  }
  void asUser(long long id) { data::glo().ID_UZYTKOWNIKA = static_cast<double>(id); }
  //! Gives the demo's ordinary user's group a right in the demo company, for every object
  //! (0) or for one (a cash desk, a warehouse).
  void grant(const std::string& right, long long object = 0) {
    exec("INSERT INTO DOSTEP (ID_GRUPY, ID_FIRMY, KOD, ID_OBIEKTU, RODZAJ_DOSTEPU) VALUES (" +
         std::to_string(sql::demo::kUserGroupId) + ", " + std::to_string(sql::demo::kCompanyId) + ", " +
         sql::quote(right) + ", " + std::to_string(object) + ", 1)");
  }

  rt::HeadlessFrontEnd& fe() { return *fe_; }
  std::shared_ptr<rt::Window> window(const std::string& title) {
    auto w = fe_->waitForWindow(title);
    EXPECT_TRUE(w) << "no window \"" << title << "\"";
    return w;
  }
  static std::vector<std::vector<std::string>> rows(const std::shared_ptr<rt::Window>& w) {
    return w->control("?LIST")->rows;
  }
  //! Column `column` (0-based) of the list's loaded rows.
  static std::vector<std::string> column(const std::shared_ptr<rt::Window>& w, std::size_t column) {
    std::vector<std::string> out;
    for (const auto& r : rows(w)) out.push_back(column < r.size() ? r[column] : "");
    return out;
  }
  //! Row (1-based) whose column `column` holds `value`; 0 when none is loaded.
  static int rowOf(const std::shared_ptr<rt::Window>& w, std::size_t column, const std::string& value) {
    auto r = rows(w);
    for (std::size_t i = 0; i < r.size(); ++i)
      if (column < r[i].size() && r[i][column] == value) return static_cast<int>(i) + 1;
    return 0;
  }
  std::string settings(const std::string& section, const std::string& key) {
    return rt::IniFile(ini_).get(section, key);
  }
  const std::string& iniFile() const { return ini_; }

 private:
  rt::HeadlessFrontEnd* fe_ = nullptr;
  std::vector<rt::ProcedureThread> threads_;
  std::string ini_;
};

}  // namespace slownik::test
