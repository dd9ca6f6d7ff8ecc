// A form writes and deletes the row it opened, and only while nobody else has changed it.
#include <gtest/gtest.h>

#include <string>

#include "framework/data/file_errors.h"
#include "framework/data/file_manager.h"
#include "framework/data/relation_manager.h"
#include "framework/data/table_buffers.h"
#include "framework/sql/catalogue.h"
#include "support/backends.h"

namespace slownik::data {
namespace {

class RowAsRead : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // NULL country and name: a column left empty must still count as unchanged.
    exec("INSERT INTO WALUTY (SYM_WALUTY, SYM_KRAJU, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES ('EUR', NULL, NULL, 0, 1)");
    exec("INSERT INTO WALUTY (SYM_WALUTY, SYM_KRAJU, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES ('USD', 'US', 'Dolar', 0, 1)");
    exec("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT, NR_TABELI) VALUES (7, 0, 80000, '1/A/NBP')");
    exec("INSERT INTO KURSY_WALUT (ID_DATY, SYM_WALUTY, KURS_ZAKUPU, KURS_SPRZEDAZY, KURS_SREDNI) "
         "VALUES (7, 'EUR', 4.111111, 4.2, 4.15)");
  }
  FileManager& currencies() { return *fileManager("WALUTY"); }
  RecordBuffer read(const std::string& symbol) {
    currencies().record().field("SYM_WALUTY").set(symbol);
    EXPECT_EQ(currencies().fetch("WAL:PK_WALUTY"), 0) << currencies().errorText();
    return currencies().record();
  }
};

TEST_P(RowAsRead, UpdateWritesOnlyTheRowAsItWasRead) {
  // Nobody else touched it: written, and a second save of the same form finds it again.
  RecordBuffer asRead = read("EUR");
  currencies().setRowAsRead(asRead);
  currencies().record().field("NAZWA").set("Euro");
  ASSERT_EQ(currencies().update(), 0) << currencies().errorText();
  currencies().record().field("MNOZNIK_WALUTY").set(10);
  ASSERT_EQ(currencies().update(), 0) << currencies().errorText();
  EXPECT_EQ(scalar("SELECT NAZWA || '/' || MNOZNIK_WALUTY FROM WALUTY WHERE SYM_WALUTY = 'EUR'"), "Euro/10");

  // Another user changed it after it was read: nothing written.
  asRead = read("USD");
  exec("UPDATE WALUTY SET NAZWA = 'Dolar amerykański' WHERE SYM_WALUTY = 'USD'");
  currencies().setRowAsRead(asRead);
  currencies().record().field("MNOZNIK_WALUTY").set(100);
  EXPECT_EQ(currencies().update(), kRecordChanged);
  EXPECT_EQ(currencies().errorText(), "Rekord został zmieniony przez innego użytkownika.");
  EXPECT_EQ(scalar("SELECT NAZWA || '/' || MNOZNIK_WALUTY FROM WALUTY WHERE SYM_WALUTY = 'USD'"), "Dolar amerykański/1");

  // ... or deleted it.
  asRead = read("USD");
  exec("DELETE FROM WALUTY WHERE SYM_WALUTY = 'USD'");
  currencies().setRowAsRead(asRead);
  EXPECT_EQ(currencies().update(), kRecordNotFound);
  EXPECT_EQ(currencies().errorText(), "Rekord został usunięty przez innego użytkownika.");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY"), "1");
}

TEST_P(RowAsRead, DeleteTakesTheRowItOpenedWhateverTheBufferHolds) {
  RecordBuffer asRead = read("USD");
  currencies().setRowAsRead(asRead);
  currencies().record().field("SYM_WALUTY").set("EUR");  // a key typed over in the form
  ASSERT_EQ(currencies().remove(), 0) << currencies().errorText();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY WHERE SYM_WALUTY = 'USD'"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY WHERE SYM_WALUTY = 'EUR'"), "1");
}

TEST_P(RowAsRead, RelationDeleteLeavesARowChangedMeanwhile) {
  FileManager& dates = *fileManager("DATY_KURSOW");
  RelationManager& relation = *relationManager("DATY_KURSOW");
  dates.record().field("ID_DATY").set(7);
  ASSERT_EQ(dates.fetch("DATKUR:PK_DATY_KURSOW"), 0);
  RecordBuffer asRead = dates.record();

  exec("UPDATE DATY_KURSOW SET NR_TABELI = '1/A/NBP/2026' WHERE ID_DATY = 7");
  dates.setRowAsRead(asRead);
  EXPECT_EQ(relation.remove(), kRecordChanged);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT WHERE ID_DATY = 7"), "1");  // the rates stay too

  ASSERT_EQ(dates.fetch("DATKUR:PK_DATY_KURSOW"), 0);
  asRead = dates.record();
  dates.setRowAsRead(asRead);
  dates.record().field("ID_DATY").set(8);
  ASSERT_EQ(relation.remove(), 0) << dates.errorText();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DATY_KURSOW"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT"), "0");
}

TEST_P(RowAsRead, DecimalsAndTextsCompareAsTheBufferHoldsThem) {
  // Six places of a rate survive a save of another column.
  FileManager& rates = *fileManager("KURSY_WALUT");
  rates.record().field("ID_DATY").set(7);
  rates.record().field("SYM_WALUTY").set("EUR");
  ASSERT_EQ(rates.fetch("KUR:AK_KURSYWALUT_DATA_WA_KURSY_WA"), 0);
  RecordBuffer asRead = rates.record();
  rates.setRowAsRead(asRead);
  rates.record().field("KURS_SREDNI").set("4.155555");
  ASSERT_EQ(rates.update(), 0) << rates.errorText();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT WHERE KURS_ZAKUPU = 4.111111 AND KURS_SREDNI = 4.155555"), "1");

  // An apostrophe in a compared text travels as a value.
  exec("UPDATE WALUTY SET NAZWA = 'Dolar ''US''' WHERE SYM_WALUTY = 'USD'");
  RecordBuffer usd = read("USD");
  currencies().setRowAsRead(usd);
  currencies().record().field("NUMER").set(1);
  ASSERT_EQ(currencies().update(), 0) << currencies().errorText();
  EXPECT_EQ(scalar("SELECT NUMER FROM WALUTY WHERE SYM_WALUTY = 'USD'"), "1");
}

SLOWNIK_ON_ALL_BACKENDS(RowAsRead);

}  // namespace
}  // namespace slownik::data
