// The tracking addresses, their key generation and their conversion history, played
// through the headless front-end.
#include "engine/window_fixture.h"
#include "framework/runtime/control.h"
#include "framework/runtime/keys.h"
#include "sms/tracking_history_list.h"
#include "sms/tracking_url_list.h"

namespace slownik::sms {
namespace {

class TrackingWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("DELETE FROM SMS_TRACKING_URL_HISTORIA");
    exec("DELETE FROM SMS_TRACKING_URL");
    exec("INSERT INTO SMS_TRACKING_URL (ID_TRACKING_URL, ID_FIRMY, NAZWA, ADRES_WWW, KLUCZ_SLEDZENIA, DATA_CZAS_DATE, "
         "DATA_CZAS_TIME, OPIS) VALUES "
         "(1, 1, 'Wyprzedaż', 'https://b.sklep.pl', '', 0, 0, 'bez klucza'), "
         "(2, 1, 'Promocja', 'https://c.sklep.pl', 'stary123', 80000, 3600000, 'z kluczem'), "
         "(3, 1, 'Nowości', 'https://a.sklep.pl', 'abc', 80010, 100, ''), "
         "(4, 7, 'Inna firma', 'https://inna.pl', '', 0, 0, '')");
    exec("INSERT INTO SMS_TRACKING_URL_HISTORIA (ID_HISTORII, ID_TRACKING_URL, ILOSC_WYSLANYCH, ILOSC_KLIKNIETYCH, "
         "WSPOLCZYNNIK_KONWERSJI, DATA, CZAS) VALUES "
         "(1, 2, 100, 5, 5.00, 80001, 100), (2, 2, 300, 30, 10.00, 80003, 100), "
         "(3, 2, 200, 12, 6.00, 80002, 200), (4, 2, 250, 20, 8.00, 80003, 50), "
         "(5, 3, 40, 4, 10.00, 80010, 100)");
  }
  std::shared_ptr<rt::Window> openList() {
    start([] { SMS_URL_BRW(); });
    return window("Śledzenie adresu URL");
  }
  std::shared_ptr<rt::Window> openHistory(std::int32_t id) {
    start([id] { SMS_URL_HISTORIA_BRW(id); });
    return window("Historia śledzenia adresu URL");
  }
  std::string key(int id) {
    return scalar("SELECT KLUCZ_SLEDZENIA FROM SMS_TRACKING_URL WHERE ID_TRACKING_URL = " + std::to_string(id));
  }
  std::string historyOf(int id) {
    return scalar("SELECT COUNT(*) FROM SMS_TRACKING_URL_HISTORIA WHERE ID_TRACKING_URL = " + std::to_string(id));
  }
  bool generateFor(const std::shared_ptr<rt::Window>& w, const std::string& name) {
    return fe().clickRow(w, "?LIST", rowOf(w, 0, name)) && fe().click(w, "?BUTTON6") && fe().settle(w);
  }
  static int weight(const std::shared_ptr<rt::Window>& w, int style) {
    auto styles = w->control("?LIST")->styles;
    return styles.count(style) ? styles[style].fontWeight : rt::kNormalWeight;
  }
};

TEST_P(TrackingWindows, SortsByTheChosenColumnAndShowsItBold) {
  auto w = openList();
  ASSERT_TRUE(w);
  struct Case {
    const char* choice;
    std::vector<std::string> names;
    int boldStyle;
    const char* locatorPicture;
  };
  const Case cases[] = {
      {"adres WWW", {"Nowości", "Wyprzedaż", "Promocja"}, 2, "@s20"},
      {"data", {"Nowości", "Promocja", "Wyprzedaż"}, 3, "@d17"},
      {"nazwa", {"Nowości", "Promocja", "Wyprzedaż"}, 1, "@s20"},
  };
  EXPECT_EQ(column(w, 0), cases[2].names) << "by name at opening, the company's addresses only";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice);
    ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", c.choice));
    ASSERT_TRUE(fe().settle(w));
    EXPECT_EQ(column(w, 0), c.names);
    for (int style = 1; style <= 3; ++style)
      EXPECT_EQ(weight(w, style), style == c.boldStyle ? rt::kBoldWeight : rt::kNormalWeight) << style;
    EXPECT_EQ(w->control("?LOKATOR")->picture, c.locatorPicture);
  }
}

TEST_P(TrackingWindows, GeneratingAKeyAsksOnlyWhenOneWouldBeLost) {
  auto w = openList();
  ASSERT_TRUE(w);
  // No key yet: no question.
  ASSERT_TRUE(generateFor(w, "Wyprzedaż"));
  EXPECT_TRUE(fe().messages().empty());
  std::string first = key(1);
  EXPECT_EQ(first.size(), 12u);
  EXPECT_NE(scalar("SELECT DATA_CZAS_DATE FROM SMS_TRACKING_URL WHERE ID_TRACKING_URL = 1"), "0");
  int row = rowOf(w, 0, "Wyprzedaż");
  ASSERT_GT(row, 0);
  EXPECT_EQ(rows(w)[static_cast<std::size_t>(row - 1)][5], first) << "the list shows the new key";

  // A key with its history: "no" keeps both, "yes" makes a new key and drops the history.
  fe().expectMessage(rt::button::No, "Klucz śledzący jest już wygenerowany.");
  ASSERT_TRUE(generateFor(w, "Promocja"));
  EXPECT_EQ(key(2), "stary123");
  EXPECT_EQ(historyOf(2), "4");
  fe().expectMessage(rt::button::Yes, "Czy wygenerować ponownie?");
  ASSERT_TRUE(generateFor(w, "Promocja"));
  EXPECT_NE(key(2), "stary123");
  EXPECT_NE(key(2), first);
  EXPECT_EQ(historyOf(2), "0");
  EXPECT_EQ(historyOf(3), "1") << "other addresses keep theirs";
}

TEST_P(TrackingWindows, NamesAreRequiredAndUniqueWithinTheCompany) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie osoby");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Proszę wprowadzić nazwę!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?SMST:NAZWA");
  ASSERT_TRUE(fe().type(f, "?SMST:NAZWA", "Promocja"));
  fe().expectMessage(rt::button::Ok, "Śledzenie URL o podanej nazwie już istnieje.|Proszę wprowadzić inną nazwę!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?SMST:NAZWA");
  ASSERT_TRUE(fe().type(f, "?SMST:NAZWA", "Akcja 'Lato'"));
  ASSERT_TRUE(fe().type(f, "?SMST:ADRES_WWW", "https://sklep.pl/?kampania=lato"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT ID_FIRMY FROM SMS_TRACKING_URL WHERE NAZWA = 'Akcja ''Lato'''"), "1");
  ASSERT_TRUE(fe().settle(w));

  // Renaming to another company's name is allowed, to one of this company's is not.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, 0, "Nowości")));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  f = window("Edycja osoby");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?SMST:NAZWA", "Akcja 'Lato'"));
  fe().expectMessage(rt::button::Ok, "Śledzenie URL o podanej nazwie już istnieje.");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  ASSERT_TRUE(fe().type(f, "?SMST:NAZWA", "Inna firma"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT NAZWA FROM SMS_TRACKING_URL WHERE ID_TRACKING_URL = 3"), "Inna firma");
}

TEST_P(TrackingWindows, HistoryShowsTheAddressesSnapshotsNewestFirst) {
  auto w = openHistory(2);
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, 0), (std::vector<std::string>{"300", "250", "200", "100"}));
  // Nothing was sent with the key since it was made: there is nothing to write down.
  fe().expectMessage(rt::button::Ok, "Brak wysłanych wiadomości z tym kluczem śledzącym.");
  ASSERT_TRUE(fe().click(w, "?BUTTON6"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(historyOf(2), "4");
  ASSERT_EQ(fe().messages().size(), 1u);
  EXPECT_EQ(fe().messages()[0].text, "Brak wysłanych wiadomości z tym kluczem śledzącym.");
}

TEST_P(TrackingWindows, CheckingCountsMessagesSentAndClicksSinceTheKeyWasMade) {
  // The key "stary123" was made on day 80000 at 3600000. Rows before it, and rows of
  // another key, do not count.
  exec("INSERT INTO SMS_WYSLANA (ID_WYSLANEJ, KLUCZ_SLEDZENIA, NUMER_TELEFONU, DATA, CZAS) VALUES "
       "(1, 'stary123', '600100200', 80000, 3600000), (2, 'stary123', '600100201', 80001, 0), "
       "(3, 'stary123', '600100202', 80000, 100), (4, 'stary123', '600100203', 79999, 3700000), "
       "(5, 'abc', '600100204', 80020, 0)");
  exec("INSERT INTO SMS_KLIKNIECIE (ID_KLIKNIECIA, KLUCZ_SLEDZENIA, DATA, CZAS) VALUES "
       "(1, 'stary123', 80002, 0), (2, 'stary123', 79000, 0), (3, 'abc', 80020, 5)");
  // The sender and the redirect service write through their routines.
  ASSERT_TRUE(db().run("call KS_SMS_ZAPISZ_WYSLANIE('stary123','600100205')").isOk());
  ASSERT_TRUE(db().run("call KS_SMS_ZAPISZ_KLIKNIECIE('stary123')").isOk());
  EXPECT_FALSE(db().run("call KS_SMS_ZAPISZ_KLIKNIECIE('nieznany')").isOk()) << "a key no address has";
  EXPECT_FALSE(db().run("call KS_SMS_ZAPISZ_WYSLANIE('','600100206')").isOk());

  auto w = openHistory(2);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().click(w, "?BUTTON6"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(historyOf(2), "5");
  EXPECT_EQ(scalar("SELECT ILOSC_WYSLANYCH FROM SMS_TRACKING_URL_HISTORIA WHERE ID_HISTORII = 6"), "3");
  EXPECT_EQ(scalar("SELECT ILOSC_KLIKNIETYCH FROM SMS_TRACKING_URL_HISTORIA WHERE ID_HISTORII = 6"), "2");
  EXPECT_EQ(scalar("SELECT CAST(WSPOLCZYNNIK_KONWERSJI * 100 AS INTEGER) FROM SMS_TRACKING_URL_HISTORIA "
                   "WHERE ID_HISTORII = 6"),
            "6667");
  // Today's snapshot comes first.
  ASSERT_FALSE(rows(w).empty());
  EXPECT_EQ(rows(w)[0][0], "3");
  EXPECT_EQ(rows(w)[0][1], "2");
}

TEST_P(TrackingWindows, HistoryOfNoAddressShowsAndChecksNothing) {
  auto w = openHistory(0);
  ASSERT_TRUE(w);
  EXPECT_TRUE(rows(w).empty());
  ASSERT_TRUE(fe().click(w, "?BUTTON6"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_TRUE(fe().messages().empty());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM SMS_TRACKING_URL_HISTORIA"), "5");
}

TEST_P(TrackingWindows, CheckingAnAddressWithoutAKeyIsRefusedWithTheDatabasesReason) {
  auto w = openHistory(1);
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "klucza śledzącego");
  ASSERT_TRUE(fe().click(w, "?BUTTON6"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(historyOf(1), "0");
  ASSERT_TRUE(fe().close(w));
  join();
  // Another company's address is not this company's to check.
  w = openHistory(4);
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "nie ma adresu URL");
  ASSERT_TRUE(fe().click(w, "?BUTTON6"));
  ASSERT_TRUE(fe().settle(w));
}

SLOWNIK_ON_ALL_BACKENDS(TrackingWindows);

}  // namespace
}  // namespace slownik::sms
