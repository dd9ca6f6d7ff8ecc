#pragma once
// Plays the user at the employee list and its windows: a seeded database with three
// employees of the demo company, the headless front-end, the list on a procedure thread.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/staff/employee_filter.h"
#include "dictionaries/staff/employee_list.h"
#include "engine/window_fixture.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"

namespace slownik::staff::test {

inline constexpr double kAdmin = sql::demo::kAdminUserId;
inline constexpr double kJan = sql::demo::kUserId;
inline const std::string kLockedText = "Pracownik jest aktualizowany przez innego użytkownika!";

//! Each of the 23 columns of data carries its value and four colours; then come the
//! attachment count with its icon, SEMAFOR, ARCHIWUM, PLEW and the id (0-based indexes
//! into a row).
inline constexpr std::size_t kColumnFields = 5;
inline constexpr std::size_t valueAt(std::size_t column) { return (column - 1) * kColumnFields; }
inline constexpr std::size_t kAttachmentsAt = 23 * kColumnFields;
inline constexpr std::size_t kIdAt = kAttachmentsAt + 2 + 3;

class EmployeeWindowTest : public slownik::test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // The filter is remembered by the program; each test starts as a fresh one.
    rememberEmployeeFilter({});
    exec("INSERT INTO PRACOWNIK (ID_PRACOWNIKA, ID_FIRMY, NR_EWIDENCYJNY, NAZWISKO, IMIE_1, PLEC, PESEL, NIP, "
         "SEMAFOR, ID_UZYTKOWNIKA, PLEW, ARCHIWUM) VALUES "
         "(2, 1, 'P/002', 'O''Brien', 'Anna', 'Kobieta', '90010112349', '', 0, 0, 0, 2), "
         "(3, 1, 'P/003', 'Nowak', 'Piotr', 'Mężczyzna', '85020254323', '1234563218', 0, 0, 1, 1)");
  }

  //! PRACOWNIK_BRW on a procedure thread with `request`; the outcome holds its response
  //! and the employee id it left in the record buffer.
  void startList(int request = data::kNoRequest) {
    auto out = outcome_ = std::make_shared<Outcome>();
    start([out, request] {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      PRACOWNIK_BRW();
      out->response = data::GLOBALRESPONSE();
      out->chosenId = data::field("PRA:ID_PRACOWNIKA").number();
    });
  }
  std::shared_ptr<rt::Window> openList(int request = data::kNoRequest) {
    startList(request);
    auto w = fe().waitForWindow("Lista pracowników");
    EXPECT_TRUE(w) << "the employee list did not open";
    return w;
  }
  std::shared_ptr<rt::Window> form(const std::string& title) {
    auto f = fe().waitForWindow(title);
    EXPECT_TRUE(f) << title;
    return f;
  }
  //! The ids of the loaded rows, top to bottom.
  static std::vector<std::string> ids(const std::shared_ptr<rt::Window>& w) { return column(w, kIdAt); }
  std::string employee(int id, const std::string& column) {
    return scalar("SELECT " + column + " FROM PRACOWNIK WHERE ID_PRACOWNIKA = " + std::to_string(id));
  }
  int employeeCount() { return std::stoi(scalar("SELECT COUNT(*) FROM PRACOWNIK")); }
  void grant(std::initializer_list<const char*> rights) {
    for (const char* right : rights) WindowFixture::grant(right);
  }

  struct Outcome {
    std::atomic<int> response{-1};
    std::atomic<double> chosenId{0};
  };
  std::shared_ptr<Outcome> outcome_;
};

}  // namespace slownik::staff::test
