#include <gtest/gtest.h>

#include <thread>

#include "data/test_tables.h"
#include "framework/data/file_manager.h"
#include "framework/data/relation_manager.h"
#include "framework/data/relations.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/sql/text.h"
#include "framework/sql/thread_database.h"
#include "support/backends.h"

namespace slownik::data {
namespace {

using test::personTable;

class TableManagers : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(test::createTestTables(db()));
    // Tables outside the catalogue become known to a thread when it first uses them.
    for (const sql::TableDef* t : {&test::parentTable(), &test::childTable(), &test::grandchildTable(), &test::noteTable()})
      buffer(*t);
  }
};

struct RecordingHandler : ErrorHandler {
  std::vector<int> codes;
  void fileError(std::string_view, int code, std::string_view) override { codes.push_back(code); }
};

TEST_P(TableManagers, AwkwardTextsTravelUnchanged) {
  FileManager& file = fileManager(personTable());
  RecordBuffer& rec = file.record();
  const char* texts[] = {"O'Brien", "say \"hi\"", "C:\\tmp\\x", "100% _off_", "Łódź żółć", "😀 ok", "'; DROP TABLE X;--"};
  int n = 0;
  for (const char* text : texts) {
    ASSERT_EQ(file.primeRecord(), 0) << file.errorText();
    rec.field("NUMER").set(std::to_string(++n));
    rec.field("NAZWA").set(text);
    rec.field("UWAGI").set(std::string(text) + std::string(300, 'x'));
    rec.field("FOTO").set(std::string("\0\x01\xff'", 4));
    ASSERT_EQ(file.insert(), 0) << file.errorText();
    double id = rec.field("ID").number();
    rec.clear();
    rec.field("ID").set(id);
    ASSERT_EQ(file.fetch("DTO:PK_OSOBA"), 0) << file.errorText();
    EXPECT_EQ(rec.field("NAZWA").text(), text);
    EXPECT_EQ(rec.field("UWAGI").text(), std::string(text) + std::string(300, 'x'));
    EXPECT_EQ(rec.field("FOTO").text(), std::string("\0\x01\xff'", 4));
    // And by a key on the text itself.
    rec.clear();
    rec.field("NAZWA").set(sql::toLowerAscii(text));  // the key ignores letter case
    ASSERT_EQ(file.fetch("PO_NAZWIE"), 0) << text << ": " << file.errorText();
    EXPECT_EQ(rec.field("ID").number(), id);
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DT_OSOBA"), std::to_string(n));
}

TEST_P(TableManagers, InsertUpdateFetchDelete) {
  FileManager& file = fileManager(personTable());
  RecordBuffer& rec = file.record();
  ASSERT_EQ(file.primeRecord(), 0);
  EXPECT_EQ(rec.field("ID").integer(), 1);
  rec.field("NUMER").set("A1");
  rec.field("NAZWA").set("Nazwa dłuższa niż dwadzieścia znaków");
  rec.field("KWOTA").set("12.5");
  rec.field("DATA").set(80000);
  ASSERT_EQ(file.insert(), 0) << file.errorText();
  EXPECT_EQ(scalar("SELECT NAZWA FROM DT_OSOBA WHERE ID = 1"), "Nazwa dłuższa niż dw");

  rec.field("KWOTA").set("7.25");
  rec.field("KOD").set("K'1");
  ASSERT_EQ(file.update(), 0) << file.errorText();
  rec.clear();
  rec.field("NUMER").set("A1");
  ASSERT_EQ(file.fetch("DTO:AK_NUMER"), 0);
  EXPECT_EQ(rec.field("KWOTA").text(), "7.25");
  EXPECT_EQ(rec.field("KOD").text(), "K'1");
  EXPECT_EQ(rec.field("DATA").integer(), 80000);

  // A second row with the same unique number is refused, and the handler hears of it.
  RecordingHandler handler;
  file.setErrors(&handler);
  RecordBuffer first = rec;
  ASSERT_EQ(file.primeRecord(), 0);
  EXPECT_EQ(rec.field("ID").integer(), 2);
  rec.field("NUMER").set("A1");
  EXPECT_EQ(file.insert(), kDuplicateKey);
  EXPECT_EQ(rt::errorCode(), kDuplicateKey);
  EXPECT_NE(file.errorText().find("AK_NUMER"), std::string::npos) << file.errorText();
  EXPECT_EQ(handler.codes, std::vector<int>{kDuplicateKey});
  rec.field("NUMER").set("A2");
  ASSERT_EQ(file.insert(), 0) << file.errorText();
  EXPECT_EQ(rt::errorCode(), 0);
  // Changing the second row to the first one's number is refused too.
  rec.field("NUMER").set("A1");
  EXPECT_EQ(file.update(), kDuplicateKey);
  file.setErrors(nullptr);

  rec = first;
  ASSERT_EQ(file.remove(), 0);
  EXPECT_EQ(file.remove(), kRecordNotFound);
  EXPECT_EQ(file.fetch("DTO:PK_OSOBA"), kRecordNotFound);
  EXPECT_EQ(file.update(), kRecordNotFound);
  EXPECT_EQ(file.fetch("NO_SUCH_KEY"), kKeyUnknown);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DT_OSOBA"), "1");
}

TEST_P(TableManagers, TwoUsersPrimingAtOnceBothInsert) {
  constexpr int kRounds = 60;
  auto user = [&](int who, std::vector<int>* results) {
    FileManager& file = fileManager(personTable());  // this thread's own
    for (int i = 0; i < kRounds; ++i) {
      int rc = file.primeRecord();
      if (rc == 0) {
        file.record().field("NUMER").set(std::to_string(who) + "-" + std::to_string(i));
        rc = file.insert();
      }
      results->push_back(rc);
    }
    sql::closeThreadDatabase();
  };
  std::vector<int> a, b;
  std::thread t1(user, 1, &a), t2(user, 2, &b);
  t1.join();
  t2.join();
  for (int rc : a) EXPECT_EQ(rc, 0);
  for (int rc : b) EXPECT_EQ(rc, 0);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DT_OSOBA"), std::to_string(2 * kRounds));
  EXPECT_EQ(scalar("SELECT COUNT(DISTINCT ID) FROM DT_OSOBA"), std::to_string(2 * kRounds));
}

TEST_P(TableManagers, DeleteFollowsTheReferentialRules) {
  addRelation({"DT_RODZIC", {"ID_RODZICA"}, "DT_DZIECKO", {"ID_RODZICA"}, DeleteRule::Cascade});
  addRelation({"DT_DZIECKO", {"ID_DZIECKA"}, "DT_WNUK", {"ID_DZIECKA"}, DeleteRule::Restrict});
  addRelation({"DT_RODZIC", {"ID_RODZICA"}, "DT_NOTATKA", {"ID_RODZICA"}, DeleteRule::Clear});
  exec("INSERT INTO DT_RODZIC (ID_RODZICA, NAZWA) VALUES (1, 'a'), (2, 'b')");
  exec("INSERT INTO DT_DZIECKO (ID_DZIECKA, ID_RODZICA, NAZWA) VALUES (10, 1, 'x'), (11, 1, 'y'), (20, 2, 'z')");
  exec("INSERT INTO DT_WNUK (ID_WNUKA, ID_DZIECKA) VALUES (100, 20)");
  exec("INSERT INTO DT_NOTATKA (ID_NOTATKI, ID_RODZICA) VALUES (7, 1), (8, 2)");

  RelationManager& parents = relationManager(test::parentTable());
  parents.open();
  EXPECT_TRUE(fileManager(test::childTable()).isOpen());  // related tables open with it
  EXPECT_TRUE(fileManager(test::noteTable()).isOpen());
  parents.open();
  parents.close();
  EXPECT_TRUE(fileManager(test::childTable()).isOpen());  // counted: still open once
  parents.close();
  EXPECT_FALSE(fileManager(test::childTable()).isOpen());
  EXPECT_FALSE(parents.file().isOpen());

  RecordBuffer& rec = buffer(test::parentTable());
  // Parent 2: its child has a grandchild, which restricts: nothing at all is deleted.
  rec.field("ID_RODZICA").set(2);
  EXPECT_EQ(parents.remove(), kRowReferenced);
  EXPECT_NE(parents.file().errorText().find("DT_WNUK"), std::string::npos) << parents.file().errorText();
  EXPECT_EQ(rt::errorCode(), kRowReferenced);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DT_DZIECKO WHERE ID_RODZICA = 2"), "1");
  EXPECT_EQ(scalar("SELECT ID_RODZICA FROM DT_NOTATKA WHERE ID_NOTATKI = 8"), "2");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DT_RODZIC"), "2");

  // Parent 1: children cascade, notes are cleared.
  rec.field("ID_RODZICA").set(1);
  ASSERT_EQ(parents.remove(), 0) << parents.file().errorText();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DT_DZIECKO"), "1");
  EXPECT_EQ(scalar("SELECT ID_RODZICA FROM DT_NOTATKA WHERE ID_NOTATKI = 7"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DT_RODZIC"), "1");
  EXPECT_EQ(parents.remove(), kRecordNotFound);
}

SLOWNIK_ON_ALL_BACKENDS(TableManagers);

}  // namespace
}  // namespace slownik::data
