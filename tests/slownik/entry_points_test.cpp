// The module's own menu rows: what they start and what the loaders tell.
#include <string>

#include "engine/window_fixture.h"
#include "framework/runtime/keys.h"
#include "slownik/entry_points.h"
#include "sms/tracking_url_list.h"

namespace slownik {
namespace {

class EntryPointRows : public test::WindowFixture {
 protected:
  const SlownikEntryPoint* row(const std::string& exportName) {
    int count = 0;
    const SlownikEntryPoint* table = SLOWNIK_ENTRY_POINTS(&count);
    for (int i = 0; i < count; ++i)
      if (exportName == table[i].exportName) return &table[i];
    ADD_FAILURE() << exportName << " has no menu row";
    return nullptr;
  }
};

TEST_P(EntryPointRows, DocumentPickersAreTestToolsAndWindowsHaveTheirRows) {
  for (const char* picker : {"KONTRAHENTFORMA_BRW", "WYBIERZJEDNOSTKEARTYKULU", "WYBIERZCENEARTYKULU_SLOWNIK"}) {
    const SlownikEntryPoint* r = row(picker);
    ASSERT_TRUE(r);
    EXPECT_EQ(std::string(r->kind), "tool") << picker;
  }
  for (const char* window : {"TYP_DOKUMENTU_HANDLOWEGO_BRW", "TYP_DOKUMENTU_FINANSOWEGO_BRW", "TYP_ZLECENIA_BRW",
                             "STATUSYZAMOWIEN_BRW", "SMS_URL_HISTORIA_BRW"}) {
    const SlownikEntryPoint* r = row(window);
    ASSERT_TRUE(r);
    EXPECT_EQ(std::string(r->kind), "browse") << window;
  }
  EXPECT_EQ(std::string(row("STATUSYZAMOWIEN_BRW")->subsystem), "Zamówienia");
}

TEST_P(EntryPointRows, LoadersStartedFromTheMenuSayWhatTheyLoaded) {
  fe().expectMessage(rt::button::Ok, "Wczytano stawki VAT (liczba: ");
  start(row("LOADVAT")->run);
  join();
  exec("UPDATE RACHUNEK_FIRMY SET DOMYSLNY_WAL = 0");
  fe().expectMessage(rt::button::Ok, "Bieżąca firma nie ma domyślnych rachunków bankowych.");
  start(row("LADUJDOMYSLNERACHUNKI")->run);
  join();
  ASSERT_EQ(fe().messages().size(), 2u);
}

TEST_P(EntryPointRows, TrackingHistoryRowAsksForTheAddressFirst) {
  start(row("SMS_URL_HISTORIA_BRW")->run);
  auto list = window("Śledzenie adresu URL");
  ASSERT_TRUE(list);
  ASSERT_TRUE(fe().clickRow(list, "?LIST", 1));
  ASSERT_TRUE(fe().press(list, rt::key::Enter));
  auto history = window("Historia śledzenia adresu URL");
  ASSERT_TRUE(history);
  EXPECT_EQ(rows(history).size(), 2u) << "the demo address's two snapshots";
  ASSERT_TRUE(fe().press(history, rt::key::Esc));
  join();

  // The list offers the history of its current address itself, by button and popup.
  start([] { SMS_URL_BRW(); });
  list = window("Śledzenie adresu URL");
  ASSERT_TRUE(list);
  fe().expectPopup("Historia");
  ASSERT_TRUE(fe().rightClickRow(list, "?LIST", 1));
  history = window("Historia śledzenia adresu URL");
  ASSERT_TRUE(history);
  ASSERT_TRUE(fe().press(history, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(history));
  ASSERT_TRUE(fe().press(list, rt::key::Esc));
}

SLOWNIK_ON_ALL_BACKENDS(EntryPointRows);

}  // namespace
}  // namespace slownik
