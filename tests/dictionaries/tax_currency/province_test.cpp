#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "dictionaries/tax_currency/province_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"

namespace slownik::tax_currency {
namespace {

struct Outcome {
  std::atomic<int> response{-1};
  std::string chosen;
};

class ProvinceTest : public test::WindowFixture {
 protected:
  std::shared_ptr<Outcome> startList(int request) {
    auto out = std::make_shared<Outcome>();
    start([out, request] {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      WOJEWODZTWO_BRW();
      out->response = data::GLOBALRESPONSE();
      out->chosen = data::field("WOJ:WOJEWODZTWO").text();
    });
    return out;
  }
  std::string count(const std::string& name) {
    return scalar("SELECT COUNT(*) FROM WOJEWODZTWO WHERE WOJEWODZTWO = '" + name + "'");
  }
};

TEST_P(ProvinceTest, InsertAndChangeChecks) {
  struct Case {
    const char* row;  // the province changed; nullptr = insert
    const char* name;
    const char* message;  // nullptr: saved
  };
  const Case cases[] = {
      {nullptr, "", "Nazwa województwa musi być wypełniona!"},
      {nullptr, "Mazowieckie", "Uwaga!|Województwo mazowieckie już istnieje w kartotece!"},
      {nullptr, "Ziemia O''Briena", nullptr},
      {"opolskie", "Opolskie", nullptr},  // only the letter case: the same province
      {"lubuskie", "lubelskie", "Uwaga!|Województwo lubelskie już istnieje w kartotece!"},
  };
  auto out = startList(data::kNoRequest);
  auto w = window("Województwa");
  ASSERT_TRUE(w);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.row) {
      int row = rowOf(w, 0, c.row);
      ASSERT_GT(row, 0);
      fe().clickRow(w, "?LIST", row);
      fe().press(w, rt::key::F2);
    } else {
      fe().press(w, rt::key::Ins);
    }
    auto form = window(c.row ? "Edycja województwa" : "Dodawanie województwa");
    ASSERT_TRUE(form);
    std::string typed = c.name;
    if (auto p = typed.find("''"); p != std::string::npos) typed.erase(p, 1);  // as the user types it
    fe().type(form, "?WOJ:WOJEWODZTWO", typed);
    if (c.message) fe().expectMessage(rt::button::Ok, c.message);
    fe().click(form, "?OK");
    if (c.message) {
      EXPECT_FALSE(form->isClosed());
      fe().press(form, rt::key::Esc);
    }
    ASSERT_TRUE(fe().waitForClose(form));
    if (!c.message) {
      EXPECT_EQ(count(c.name), "1");
    }
  }
  EXPECT_EQ(count("opolskie"), "0");
  EXPECT_EQ(count("lubuskie"), "1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WOJEWODZTWO"), "17");
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(ProvinceTest, PickerLeavesTheChosenProvince) {
  auto out = startList(data::kSelectRecord);
  auto w = window("Województwa");
  ASSERT_TRUE(w);
  fe().clickRow(w, "?LIST", 1);
  fe().press(w, rt::key::letter('p'));  // step locator: the first name starting with "p"
  int selected = w->control("?LIST")->selection;
  ASSERT_GT(selected, 0);
  EXPECT_EQ(rows(w)[static_cast<std::size_t>(selected - 1)][0], "podkarpackie");
  fe().press(w, rt::key::Enter);
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);
  EXPECT_EQ(out->chosen, "podkarpackie");
}

SLOWNIK_ON_ALL_BACKENDS(ProvinceTest);

}  // namespace
}  // namespace slownik::tax_currency
