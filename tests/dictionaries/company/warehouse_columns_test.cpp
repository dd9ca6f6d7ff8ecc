// The warehouse list keeps the user's column layout and exports its rows to a spreadsheet.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "dictionaries/company/warehouse_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/runtime/window.h"

namespace slownik::company {
namespace {

class WarehouseColumnsTest : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    savedWarehouse_ = data::glo().ID_MAGAZYNU.get();
    data::glo().ID_MAGAZYNU = static_cast<double>(sql::demo::kMainWarehouseId);
  }
  void TearDown() override {
    data::glo().ID_MAGAZYNU = savedWarehouse_;
    data::glo().KONTEKST.set("");
    WindowFixture::TearDown();
  }
  std::shared_ptr<rt::Window> openList(const std::string& context = "") {
    data::glo().KONTEKST.set(context);
    start([] {
      data::GLOBALREQUEST() = data::kNoRequest;
      MAGAZYN_SRC_BRW();
    });
    return window("Lista magazynów");
  }
  static int widthOf(const std::shared_ptr<rt::Window>& w, std::size_t column) {
    auto format = rt::ListFormat::parse(w->control("?LIST")->format);
    return format && column < format->columns.size() ? format->columns[column].width : -1;
  }
  double savedWarehouse_ = 0;
};

TEST_P(WarehouseColumnsTest, TheLayoutIsKeptButTheMarkColumnFollowsTheCallersMode) {
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(widthOf(w, 0), 0) << "no marking: the mark column is hidden";
  ASSERT_TRUE(fe().close(w));
  join();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KOLUMNA_BROWSERA WHERE OKNO = 'MAGAZYN_BRW'"), "19");
  exec("UPDATE KOLUMNA_BROWSERA SET ROZMIAR = 0, FORMAT = '0L(2)|M~Lokalizacja~@s100@' "
       "WHERE OKNO = 'MAGAZYN_BRW' AND KOLUMNA = '7'");
  // Marking shows the mark column although the layout stored it hidden.
  w = openList("TKBTOREB2B");
  ASSERT_TRUE(w);
  EXPECT_EQ(widthOf(w, 0), 14);
  EXPECT_EQ(widthOf(w, 6), 0);
  EXPECT_EQ(widthOf(w, 3), 100);

  const std::string file = testing::TempDir() + "magazyny_" + std::to_string(getpid());
  std::remove((file + ".xlsx").c_str());
  fe().expectPopup("Eksport do Excela");
  fe().expectFile(file);  // the extension is added
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_FALSE(fe().openedLinks().empty());
  EXPECT_EQ(fe().openedLinks().back(), "file://" + file + ".xlsx") << "the written file is opened";
  std::ifstream written(file + ".xlsx", std::ios::binary);
  EXPECT_TRUE(written.good());
  std::remove((file + ".xlsx").c_str());
}

}  // namespace

SLOWNIK_ON_ALL_BACKENDS(WarehouseColumnsTest);

}  // namespace slownik::company
