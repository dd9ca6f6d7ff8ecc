// The classifiers of a warehouse ("Pola dodatkowe") in its form: loaded with the
// warehouse, a required one checked before the save, and saved with it.
#include <string>
#include <vector>

#include "dictionaries/company/warehouse_list.h"
#include "engine/window_fixture.h"
#include "framework/runtime/keys.h"
#include "framework/services/classifiers.h"

namespace slownik::company {
namespace {

constexpr std::size_t kSymbolField = 4;

class WarehouseClassifierWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    std::vector<svc::ClassifierDefinition> defs(svc::kClassifierCount);
    for (int i = 0; i < svc::kClassifierCount; ++i) defs[i].number = i + 1;
    defs[1] = {2, "Region", true, false, {"Północ", "Południe"}};
    ASSERT_TRUE(svc::saveClassifierDefinitions("Magazyn", defs).isOk());
    exec("INSERT INTO KLASYFIKATOR_WARTOSC (RODZAJ, ID_REKORDU, NUMER, WARTOSC) VALUES ('Magazyn', 2, 2, 'Północ')");
  }
  std::shared_ptr<rt::Window> openForm(const std::string& symbol) {
    start([] { MAGAZYN_BRW(1); });
    list_ = window("Lista magazynów");
    if (!list_) return nullptr;
    EXPECT_TRUE(fe().clickRow(list_, "?LIST", rowOf(list_, kSymbolField, symbol))) << symbol;
    fe().press(list_, rt::key::F2);
    return window("Edycja magazynu");
  }
  std::string value(int warehouse) {
    return scalar("SELECT COALESCE(MAX(WARTOSC), '') FROM KLASYFIKATOR_WARTOSC WHERE RODZAJ = 'Magazyn' AND NUMER = 2 "
                  "AND ID_REKORDU = " + std::to_string(warehouse));
  }
  std::shared_ptr<rt::Window> list_;
};

TEST_P(WarehouseClassifierWindows, ARequiredValueIsAskedForBeforeTheWarehouseIsSaved) {
  auto f = openForm("MG");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Proszę uzupełnić wymagane pole dodatkowe \"Region\".");
  ASSERT_TRUE(fe().click(f, "?OK"));
  auto values = window("Pola dodatkowe");
  ASSERT_TRUE(values);
  ASSERT_TRUE(fe().type(values, "?KLAS2", "Południe"));
  ASSERT_TRUE(fe().press(values, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(values));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed()) << "the save stopped; the user saves again";
  EXPECT_EQ(value(1), "");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(value(1), "Południe");

  // Another warehouse shows its own value; cancelling its form keeps it.
  ASSERT_TRUE(fe().clickRow(list_, "?LIST", rowOf(list_, kSymbolField, "MH")));
  fe().press(list_, rt::key::F2);
  f = window("Edycja magazynu");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().press(f, rt::key::CtrlMod | rt::key::letter('P')));
  values = window("Pola dodatkowe");
  ASSERT_TRUE(values);
  EXPECT_EQ(values->value("?KLAS2"), "Północ");
  ASSERT_TRUE(fe().type(values, "?KLAS2", "Zachód"));
  ASSERT_TRUE(fe().press(values, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(values));
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().settle(list_));
  EXPECT_EQ(value(2), "Północ");
  fe().press(list_, rt::key::Esc);
}

SLOWNIK_ON_ALL_BACKENDS(WarehouseClassifierWindows);

}  // namespace
}  // namespace slownik::company
