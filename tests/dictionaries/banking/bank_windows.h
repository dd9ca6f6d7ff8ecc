#pragma once
// Plays the user at the bank list and form: a seeded database, the headless front-end,
// the windows started on procedure threads.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/banking/bank_list.h"
#include "engine/window_fixture.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"

namespace slownik::banking::test {

inline constexpr double kAdmin = sql::demo::kAdminUserId;
inline constexpr double kJan = sql::demo::kUserId;
inline const std::string kLockedText = "Bank jest aktualizowany przez innego użytkownika!";

//! Where the list-buffer fields of a bank row are: every column has its value and four
//! colours; the carried fields follow the thirty of the columns.
inline constexpr int kColumnFields = 5;
inline int valueField(int column) { return (column - 1) * kColumnFields + 1; }
inline int textColourField(int column) { return valueField(column) + 1; }
inline constexpr int kSemaforField = 31;
inline constexpr int kIdField = 33;

struct ListOutcome {
  std::atomic<int> response{-1};
  std::atomic<double> chosenId{0};
};

class BankWindowTest : public slownik::test::WindowFixture {
 protected:
  //! A list procedure on a procedure thread with `request` in GLOBALREQUEST; the outcome
  //! holds its response and the id field's value it left.
  std::shared_ptr<ListOutcome> startListOf(void (*procedure)(), std::string idField, int request = data::kNoRequest) {
    auto out = std::make_shared<ListOutcome>();
    start([out, request, procedure, idField] {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      procedure();
      out->response = data::GLOBALRESPONSE();
      out->chosenId = data::field(idField).number();
    });
    return out;
  }
  //! BANKI_BRW on a procedure thread with `request` in GLOBALREQUEST.
  std::shared_ptr<ListOutcome> startList(int request = data::kNoRequest) {
    return startListOf(BANKI_BRW, "BAN:ID_BANKU", request);
  }
  std::shared_ptr<rt::Window> openList(int request = data::kNoRequest) {
    outcome_ = startList(request);
    auto w = fe().waitForWindow("Lista banków");
    EXPECT_TRUE(w) << "the bank list did not open";
    return w;
  }
  //! One list-buffer field of every row, top to bottom.
  static std::vector<std::string> columnOf(const std::shared_ptr<rt::Window>& w, int field) {
    std::vector<std::string> out;
    for (const auto& r : rows(w)) out.push_back(field <= static_cast<int>(r.size()) ? r[static_cast<std::size_t>(field - 1)] : "");
    return out;
  }
  std::string bank(int id, const std::string& column) {
    return scalar("SELECT " + column + " FROM BANKI WHERE ID_BANKU = " + std::to_string(id));
  }
  int bankCount() { return std::stoi(scalar("SELECT COUNT(*) FROM BANKI")); }

  std::shared_ptr<ListOutcome> outcome_;
};

}  // namespace slownik::banking::test
