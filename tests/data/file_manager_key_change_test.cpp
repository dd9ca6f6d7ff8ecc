#include <gtest/gtest.h>

#include <string>

#include "framework/data/file_errors.h"
#include "framework/data/file_manager.h"
#include "framework/data/table_buffers.h"
#include "framework/sql/catalogue.h"
#include "support/backends.h"

namespace slownik::data {
namespace {

const sql::TableDef& countries() { return *sql::Catalogue::instance().find("KRAJE"); }

class FileManagerKeyChange : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('PL', 'Polska')");
    exec("INSERT INTO KRAJE (SYM_KRAJU, NAZWA) VALUES ('DE', 'Niemcy')");
  }
  FileManager& file() { return fileManager(countries()); }
  RecordBuffer& rec() { return file().record(); }
  // Reads a country into the buffer and returns the copy a form keeps of it.
  RecordBuffer read(const std::string& symbol) {
    rec().field("SYM_KRAJU").set(symbol);
    EXPECT_EQ(file().fetch("KRA:PK_KRAJE"), 0) << file().errorText();
    return rec();
  }
  std::string nameOf(const std::string& symbol) {
    return scalar("SELECT COALESCE(MAX(NAZWA), '-') FROM KRAJE WHERE SYM_KRAJU = '" + symbol + "'");
  }
};

TEST_P(FileManagerKeyChange, ChangedKeyWritesTheRowItWasReadFrom) {
  RecordBuffer asRead = read("PL");
  rec().field("SYM_KRAJU").set("POL");
  file().setKeyAsRead(asRead);
  ASSERT_EQ(file().update(), 0) << file().errorText();
  EXPECT_EQ(nameOf("POL"), "Polska");
  EXPECT_EQ(nameOf("PL"), "-");
  EXPECT_EQ(nameOf("DE"), "Niemcy");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KRAJE"), "2");

  // Saving again finds the row by its new key.
  rec().field("NAZWA").set("Rzeczpospolita Polska");
  ASSERT_EQ(file().update(), 0) << file().errorText();
  EXPECT_EQ(nameOf("POL"), "Rzeczpospolita Polska");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KRAJE"), "2");

  // An apostrophe in the key travels as a value.
  file().setKeyAsRead(rec());
  rec().field("SYM_KRAJU").set("P'L");
  ASSERT_EQ(file().update(), 0) << file().errorText();
  EXPECT_EQ(nameOf("P''L"), "Rzeczpospolita Polska");
}

TEST_P(FileManagerKeyChange, ChangedKeyThatIsTakenLosesNothing) {
  RecordBuffer asRead = read("PL");
  rec().field("SYM_KRAJU").set("DE");
  rec().field("NAZWA").set("Polska nowa");
  file().setKeyAsRead(asRead);
  EXPECT_EQ(file().update(), kDuplicateKey);
  EXPECT_EQ(nameOf("PL"), "Polska");
  EXPECT_EQ(nameOf("DE"), "Niemcy");
}

TEST_P(FileManagerKeyChange, WithoutTheKeyAsReadTheBufferKeyFindsTheRow) {
  read("PL");
  rec().field("NAZWA").set("Polska 2");
  ASSERT_EQ(file().update(), 0) << file().errorText();
  EXPECT_EQ(nameOf("PL"), "Polska 2");

  // A changed key without the key as read finds no row and writes nothing.
  rec().field("SYM_KRAJU").set("XX");
  EXPECT_EQ(file().update(), kRecordNotFound);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KRAJE"), "2");
}

TEST_P(FileManagerKeyChange, ReadingAnotherRecordForgetsTheKeyAsRead) {
  RecordBuffer asRead = read("PL");
  file().setKeyAsRead(asRead);
  EXPECT_TRUE(file().hasKeyAsRead());
  read("DE");  // the buffer now holds another row: the old key must not be used for it
  EXPECT_FALSE(file().hasKeyAsRead());
  rec().field("NAZWA").set("Niemcy 2");
  ASSERT_EQ(file().update(), 0) << file().errorText();
  EXPECT_EQ(nameOf("DE"), "Niemcy 2");
  EXPECT_EQ(nameOf("PL"), "Polska");

  file().setKeyAsRead(asRead);
  EXPECT_EQ(file().primeRecord(), 0);
  EXPECT_FALSE(file().hasKeyAsRead());
  file().setKeyAsRead(asRead);
  file().forgetKeyAsRead();
  EXPECT_FALSE(file().hasKeyAsRead());
}

SLOWNIK_ON_ALL_BACKENDS(FileManagerKeyChange);

}  // namespace
}  // namespace slownik::data
