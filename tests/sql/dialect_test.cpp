#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/sql/postgres_dialect.h"
#include "framework/sql/sqlite_dialect.h"
#include "framework/sql/text.h"
#include "framework/sql/tsql/token.h"
#include "support/backends.h"

namespace slownik {
namespace {

using sql::tsql::TokenKind;

// Two tables of our own, so that the rows below do not depend on the catalogue's state.
class FixedTextColumns final : public sql::tsql::TextColumns {
 public:
  bool isText(const std::vector<std::string>& tables, std::string_view column) const override {
    static const std::map<std::string, std::set<std::string>> text = {
        {"KONTAKT", {"NAZWISKO", "IMIE"}},
        {"RACHUNEK_FIRMY", {"LK", "NUMER_RACHUNKU", "SYM_WALUTY"}},
    };
    for (const auto& t : tables) {
      auto it = text.find(sql::toUpperAscii(t));
      if (it != text.end() && it->second.count(sql::toUpperAscii(column))) return true;
    }
    return false;
  }
};

struct IdiomRow {
  const char* idiom;
  std::string module;
  std::string sqlite;
  std::string postgres;  // empty: the same as sqlite
};

const std::vector<IdiomRow>& idiomRows() {
  static const std::vector<IdiomRow> rows = {
      {"top at the end of the select",
       "select top 1 od_dnia from odsetki  where ID_TABELI_ODSETEK=3 and  od_dnia<80000 order by od_dnia desc",
       "select od_dnia from odsetki  where ID_TABELI_ODSETEK=3 and  od_dnia<80000 order by od_dnia desc LIMIT 1", ""},
      {"top in a subquery closes that subquery",
       "select count(*) from (select top 5 nazwa from banki order by nazwa) x",
       "select count(*) from (select nazwa from banki order by nazwa LIMIT 5) x", ""},
      {"top (n), upper case, semicolon", "SELECT TOP (3) * FROM banki;", "SELECT * FROM banki LIMIT 3;", ""},
      {"top with an expression in the select list",
       "select top 1 od_dnia-1 from odsetki  where ID_TABELI_ODSETEK=3 and  od_dnia>80000 order by od_dnia",
       "select od_dnia-1 from odsetki  where ID_TABELI_ODSETEK=3 and  od_dnia>80000 order by od_dnia LIMIT 1", ""},
      {"with (nolock) dropped", "select numer from zamowienie with (nolock) where id_zamowienia=7",
       "select numer from zamowienie where id_zamowienia=7", ""},
      {"several hints, any case", "select 1 from A WITH(NOLOCK, ROWLOCK) join B with (nolock) on A.x=B.x",
       "select 1 from A join B on A.x=B.x", ""},
      {"with that is no hint stays", "with t as (select 1 as x) select x from t",
       "with t as (select 1 as x) select x from t", ""},
      {"dbo. dropped", "select dbo.RM_Func_CzyZaznaczony(1,6100003,12)", "select RM_Func_CzyZaznaczony(1,6100003,12)",
       ""},
      {"isnull", "select isnull(id_urzedu,0) from URZEDY where NAZWA='Urząd'",
       "select COALESCE(id_urzedu,0) from URZEDY where NAZWA='Urząd'", ""},
      {"len ignores trailing blanks", "select 1 from magazyn a where len(rtrim(Wyroznik_Synchronizacji))>0",
       "select 1 from magazyn a where length(rtrim(rtrim(Wyroznik_Synchronizacji)))>0",
       "select 1 from magazyn a where length(rtrim(CAST(rtrim(Wyroznik_Synchronizacji) AS text)))>0"},
      {"a column named len is no call", "select a.len from t a", "select a.len from t a", ""},
      {"+ beside literals joins", "select rtrim(nazwa)+'-'+rtrim(NIP) from kontrahent",
       "select rtrim(nazwa)||'-'||rtrim(NIP) from kontrahent", ""},
      {"+ between text columns of the statement's table", "select LK+NUMER_RACHUNKU from rachunek_firmy",
       "select LK||NUMER_RACHUNKU from rachunek_firmy", ""},
      {"+ between numbers stays", "select isnull(odbiorca,0)*2+isnull(dostawca,0) from kontrahent",
       "select COALESCE(odbiorca,0)*2+COALESCE(dostawca,0) from kontrahent", ""},
      {"+ with a numeric column stays", "select ID_RACHUNKU+1 from rachunek_firmy",
       "select ID_RACHUNKU+1 from rachunek_firmy", ""},
      {"a text column of a table the statement does not name stays", "select LK+1 from firma",
       "select LK+1 from firma", ""},
      {"products beside a string are bracketed", "select 'Nr '+ID_RACHUNKU*2 from rachunek_firmy",
       "select 'Nr '||(ID_RACHUNKU*2) from rachunek_firmy", ""},
      {"a bracketed concatenation is text", "select (LK+' ')+ID_RACHUNKU from rachunek_firmy",
       "select (LK||' ')||ID_RACHUNKU from rachunek_firmy", ""},
      {"isnull of text is text", "select isnull(LK,'')+'/' from rachunek_firmy",
       "select COALESCE(LK,'')||'/' from rachunek_firmy", ""},
      {"doubled apostrophes inside a joined literal", "select 'O''Brien'+' '+rtrim(imie) from kontakt",
       "select 'O''Brien'||' '||rtrim(imie) from kontakt", ""},
      {"top, nolock and + together",
       "Select top 1 id_kontaktu from kontakt with (nolock) where id_kontrahenta = 7 and "
       "rtrim(nazwisko)+' '+rtrim(imie) like  '%Kowal%'",
       "Select id_kontaktu from kontakt where id_kontrahenta = 7 and rtrim(nazwisko)||' '||rtrim(imie) like  "
       "'%Kowal%' LIMIT 1",
       ""},
      {"day number as a date/time",
       "update adresy_firmy set KP_DATA_OD = CAST((DATA_OD-36163) AS datetime) where ID_ADRESY_FIRMY=15",
       "update adresy_firmy set KP_DATA_OD = datetime(julianday('1900-01-01') + ((DATA_OD-36163))) where "
       "ID_ADRESY_FIRMY=15",
       "update adresy_firmy set KP_DATA_OD = (TIMESTAMP '1900-01-01' + ((DATA_OD-36163)) * INTERVAL '1 day') where "
       "ID_ADRESY_FIRMY=15"},
      {"text as a date/time", "select CAST('2024-05-01 12:30:00' AS datetime)",
       "select datetime('2024-05-01 12:30:00')", "select CAST('2024-05-01 12:30:00' AS timestamp)"},
      {"other casts stay", "select CAST(kod AS varchar(10)) from vat", "select CAST(kod AS varchar(10)) from vat", ""},
      {"getdate", "update t set d=getdate() where id=1", "update t set d=datetime('now','localtime') where id=1",
       "update t set d=LOCALTIMESTAMP where id=1"},
      {"convert without a style", "select convert(varchar(10), id_firmy) from firma",
       "select CAST(id_firmy AS varchar(10)) from firma", ""},
      {"update from the target under an alias",
       "update RACHUNEK_WIRTUALNY set czy_domyslny=0 from RACHUNEK_WIRTUALNY r where r.id_rachunku =12",
       "update RACHUNEK_WIRTUALNY set czy_domyslny=0 where RACHUNEK_WIRTUALNY.id_rachunku =12", ""},
      {"update through an alias with a second table",
       "update r set r.czy_domyslny=1 from RACHUNEK_WIRTUALNY r, FIRMA f where r.id_firmy=f.id_firmy",
       "update RACHUNEK_WIRTUALNY set czy_domyslny=1 FROM FIRMA f where RACHUNEK_WIRTUALNY.id_firmy=f.id_firmy", ""},
      {"update from another table only stays", "update a set x=b.y from b where a.id=b.id",
       "update a set x=b.y from b where a.id=b.id", ""},
      {"delete t from t a",
       "delete WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN from WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN a where "
       "A.IdZamowienia=5",
       "delete from WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN where WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN.IdZamowienia=5", ""},
      {"delete without from", "delete int_uzytkownik  where id_int_uzytkownik=9",
       "delete from int_uzytkownik  where id_int_uzytkownik=9", ""},
      {"idioms inside literals are values",
       "select 'with (nolock) top 1 isnull(x,0)+len(y) dbo.z' from dbo_tab where a='getdate()'",
       "select 'with (nolock) top 1 isnull(x,0)+len(y) dbo.z' from dbo_tab where a='getdate()'", ""},
      {"odd spacing and comments unchanged", "SELECT  a.NAZWA,\n\tb.x -- top 1 + 'a'\nFROM banki a /* isnull( */",
       "SELECT  a.NAZWA,\n\tb.x -- top 1 + 'a'\nFROM banki a /* isnull( */", ""},
      {"a routine call is left alone", "call TKW_KartotekaSemaforUstaw('banki',12,6100003,2)",
       "call TKW_KartotekaSemaforUstaw('banki',12,6100003,2)", ""},
      {"an unterminated literal is left to the backend", "select 'abc + len(x)", "select 'abc + len(x)", ""},
  };
  return rows;
}

TEST(Dialect, TranslatesEveryIdiomPerBackend) {
  FixedTextColumns columns;
  sql::SqliteDialect sqlite;
  sql::PostgresDialect postgres;
  for (const auto& row : idiomRows()) {
    SCOPED_TRACE(row.idiom);
    EXPECT_EQ(sqlite.translate(row.module, columns), row.sqlite);
    EXPECT_EQ(postgres.translate(row.module, columns), row.postgres.empty() ? row.sqlite : row.postgres);
  }
}

TEST(Dialect, TokensGiveTheTextBackAndKeepLiteralsWhole) {
  for (std::string text : {"", "select 'a''b'--x\n/* y", "x'unterminated", "[dbo].[T] \"q\"\"n\" 1.5e3<>2",
                           "ąę łódź+'Ż'", "a||b::c"}) {
    EXPECT_EQ(sql::tsql::join(sql::tsql::tokenize(text)), text);
  }
  auto tokens = sql::tsql::tokenize("x='O''Brien'+1.5e3");
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[2].kind, TokenKind::String);
  EXPECT_EQ(tokens[2].text, "'O''Brien'");
  EXPECT_EQ(tokens[3].kind, TokenKind::Symbol);
  EXPECT_EQ(tokens[4].kind, TokenKind::Number);
  EXPECT_EQ(tokens[4].text, "1.5e3");
}

// The translations above, run: each backend must give the values T-SQL gives.
class DialectOnDatabase : public test::DatabaseTest {
 protected:
  bool wantsSchema() const override { return false; }

  std::vector<std::string> column(const std::string& moduleSql) {
    sql::Result r;
    sql::Status s = db().run(moduleSql, &r);
    EXPECT_TRUE(s.isOk()) << moduleSql << "\n" << db().dialect().translate(moduleSql) << "\n" << s.message();
    std::vector<std::string> values;
    for (std::size_t i = 0; i < r.rows.size(); ++i) values.push_back(r.text(i, 0));
    return values;
  }
  std::string value(const std::string& moduleSql) {
    auto values = column(moduleSql);
    return values.empty() ? "<brak wiersza>" : values.front();
  }
};

TEST_P(DialectOnDatabase, ScalarIdiomsGiveTsqlValues) {
  struct Case {
    std::string module;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"select len('ab  ')", "2"},
      {"select len('  ab')", "4"},
      {"select len(12345)", "5"},
      {"select isnull(NULL,'brak')", "brak"},
      {"select rtrim('Kowalski  ')+' '+rtrim('Jan')", "Kowalski Jan"},
      {"select 'Nr '+12*2", "Nr 24"},
      {"select isnull(NULL,0)*2+isnull(3,0)", "3"},
      {"select " + sql::quote("O'Brien") + "+' '+'Jan'", "O'Brien Jan"},
      {"select 'a+b with (nolock) top 1 dbo.x'", "a+b with (nolock) top 1 dbo.x"},
      {"select CAST((36163-36163) AS datetime)", "1900-01-01 00:00:00"},
      {"select CAST((80000-36163) AS datetime)", "2020-01-09 00:00:00"},
      {"select CAST((80000.5-36163) AS datetime)", "2020-01-09 12:00:00"},
      {"select CAST(('2024-02-29 10:15:00') AS datetime)", "2024-02-29 10:15:00"},
      {"select upper('zażółć gęślą jaźń')", "ZAŻÓŁĆ GĘŚLĄ JAŹŃ"},
      {"select lower('ZAŻÓŁĆ GĘŚLĄ JAŹŃ Ÿ')", "zażółć gęślą jaźń ÿ"},
  };
  for (const auto& c : cases) EXPECT_EQ(value(c.module), c.expected) << c.module;
}

TEST_P(DialectOnDatabase, TopLimitsEachSelectToItsOwnRows) {
  exec("CREATE TABLE ODS (ID BIGINT, OD_DNIA INTEGER)");
  exec("INSERT INTO ODS VALUES (1, 100), (1, 200), (1, 300), (2, 400)");
  EXPECT_EQ(column("select top 1 od_dnia from ODS with (nolock) where id=1 order by od_dnia desc"),
            std::vector<std::string>{"300"});
  EXPECT_EQ(column("select top 2 od_dnia-1 from ODS where id=1 order by od_dnia"),
            (std::vector<std::string>{"99", "199"}));
  EXPECT_EQ(value("select count(*) from (select top 2 od_dnia from ODS order by od_dnia) x"), "2");
}

TEST_P(DialectOnDatabase, UpdateFromItselfChangesOnlyTheChosenRow) {
  exec("CREATE TABLE RW (ID_RACHUNKU BIGINT, CZY_DOMYSLNY INTEGER)");
  exec("INSERT INTO RW VALUES (1, 0), (2, 0), (3, 1)");
  ASSERT_TRUE(db().run("update RW set czy_domyslny=1 from RW r where r.id_rachunku =2").isOk());
  EXPECT_EQ(column("select czy_domyslny from RW order by id_rachunku"), (std::vector<std::string>{"0", "1", "1"}));
  ASSERT_TRUE(db().run("update r set r.czy_domyslny=0 from RW r where r.id_rachunku =3").isOk());
  EXPECT_EQ(column("select czy_domyslny from RW order by id_rachunku"), (std::vector<std::string>{"0", "1", "0"}));
}

TEST_P(DialectOnDatabase, DeleteThroughAnAliasRemovesOnlyMatchingRows) {
  exec("CREATE TABLE REJ (IDREJESTRUZMIAN BIGINT, IDZAMOWIENIA BIGINT)");
  exec("INSERT INTO REJ VALUES (1, 5), (2, 5), (3, 6)");
  ASSERT_TRUE(db().run("delete REJ from REJ a where A.IdZamowienia=5").isOk());
  EXPECT_EQ(column("select IdRejestruZmian from REJ"), std::vector<std::string>{"3"});
  ASSERT_TRUE(db().run("delete REJ  where IdRejestruZmian=3").isOk());
  EXPECT_EQ(value("select count(*) from REJ"), "0");
}

TEST_P(DialectOnDatabase, UpperOrdersPolishCapitalsWithTheirSmallLetters) {
  exec("CREATE TABLE MIASTA (NAZWA VARCHAR(30))");
  for (const char* name : {"łódź", "Łomża", "łeba"}) exec("INSERT INTO MIASTA VALUES (" + sql::quote(name) + ")");
  EXPECT_EQ(column("select nazwa from MIASTA order by UPPER(NAZWA)"),
            (std::vector<std::string>{"łeba", "Łomża", "łódź"}));
  EXPECT_EQ(value("select count(*) from MIASTA where UPPER(NAZWA)=UPPER('ŁÓDŹ')"), "1");
}

SLOWNIK_ON_ALL_BACKENDS(DialectOnDatabase);

}  // namespace
}  // namespace slownik
