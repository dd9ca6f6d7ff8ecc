// The employee routines run as the list and form call them, on both backends, and the
// filter window's condition.
#include <gtest/gtest.h>

#include "dictionaries/staff/employee_filter.h"
#include "framework/runtime/error_state.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/seed.h"
#include "support/backends.h"

namespace slownik::staff::test {
namespace {

TEST(EmployeeFilterCondition, PartsComeInTheirOrderWithEveryValueQuoted) {
  EXPECT_EQ(employeeFilterCondition({}), "");
  EmployeeFilterValues v;
  v.nip = "526";
  v.pesel = "90";
  v.firstName = "Anna";
  v.birthDay = 77000;
  v.surname = "O'Brien";
  v.number = "P/";
  EXPECT_EQ(employeeFilterCondition(v),
            "a.nr_ewidencyjny like 'P/%' and a.nazwisko like 'O''Brien%' and a.DATA_URODZENIA = 77000 and "
            "a.imie_1 like 'Anna%' and a.pesel like '90%' and a.nip like '526%'");
  EmployeeFilterValues one;
  one.pesel = "  85 ";
  EXPECT_EQ(employeeFilterCondition(one), "a.pesel like '85%'");
  EXPECT_FALSE(one.isEmpty());
  EXPECT_TRUE(EmployeeFilterValues{}.isEmpty());
}

class StaffRoutinesTest : public slownik::test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(sql::seedDemo(db()).isOk());
    exec("INSERT INTO PRACOWNIK (ID_PRACOWNIKA, ID_FIRMY, NR_EWIDENCYJNY, NAZWISKO, IMIE_1, NIP, SEMAFOR, "
         "ID_UZYTKOWNIKA, PLEW, ARCHIWUM, POLE3) VALUES "
         "(2, 1, 'P/002', 'Nowak', 'Piotr', 'PL 123-456-32-18', 6100004, 6100003, 0, 2, 'pole trzecie'), "
         "(3, 1, 'P/003', 'Lis', 'Ewa', '', 0, 0, 1, 1, ''), "
         "(4, 2, 'P/004', 'Kot', 'Adam', '5260001246', 0, 0, 0, 1, '')");
  }
  //! Runs a call as the module does; "" on success, else the error text.
  static std::string call(const std::string& statement, std::string* first = nullptr) {
    svc::EXECSQL(statement);
    std::string error = rt::errorCode() == 0 ? "" : rt::errorText();
    if (first && error.empty() && svc::VAX().next()) *first = svc::VAX().field(1);
    svc::CLOSESQL();
    return error;
  }
};

TEST_P(StaffRoutinesTest, ADuplicateIsANewCurrentFreeEmployeeWithoutNumberOrUser) {
  // An open form has set id 7 aside for an employee not yet saved.
  exec("INSERT INTO REZERWACJA_ID (TABELA, ID, WLASCICIEL) VALUES ('PRACOWNIK', 7, 'inny program')");
  std::string id;
  ASSERT_EQ(call("call TK_PowielPracownika(1,6100003,2)", &id), "");
  EXPECT_EQ(id, "8");
  EXPECT_EQ(scalar("SELECT NAZWISKO || '|' || IMIE_1 || '|' || POLE3 || '|' || NR_EWIDENCYJNY || '|' || SEMAFOR || "
                   "'|' || ID_UZYTKOWNIKA || '|' || ARCHIWUM || '|' || ID_FIRMY FROM PRACOWNIK WHERE ID_PRACOWNIKA = 8"),
            "Nowak|Piotr|pole trzecie||0|0|1|1");
  // Another company's employee is not this company's to copy.
  EXPECT_NE(call("call TK_PowielPracownika(1,6100003,4)"), "");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM PRACOWNIK"), "5");
}

TEST_P(StaffRoutinesTest, ArchivingRefusesThePayrollsEmployeesAndOthersLocks) {
  ASSERT_EQ(call("call TK_ArchiwizujPracownika(1,1,6100003)"), "");
  EXPECT_EQ(scalar("SELECT ARCHIWUM FROM PRACOWNIK WHERE ID_PRACOWNIKA = 1"), "2");
  ASSERT_EQ(call("call TK_ArchiwizujPracownika(1,0,6100003)"), "");
  EXPECT_EQ(scalar("SELECT ARCHIWUM FROM PRACOWNIK WHERE ID_PRACOWNIKA = 1"), "1");
  EXPECT_EQ(call("call TK_ArchiwizujPracownika(3,1,6100003)"), "Operacja dozwolona tylko w systemie Plew.");
  EXPECT_EQ(call("call TK_ArchiwizujPracownika(2,0,6100003)"), "Pracownik jest aktualizowany przez innego użytkownika!");
  EXPECT_EQ(scalar("SELECT ARCHIWUM FROM PRACOWNIK WHERE ID_PRACOWNIKA = 2"), "2");
  // Its holder may.
  EXPECT_EQ(call("call TK_ArchiwizujPracownika(2,0,6100004)"), "");
  EXPECT_NE(call("call TK_ArchiwizujPracownika(99,1,6100003)"), "");
}

TEST_P(StaffRoutinesTest, ATaxNumberIsUniqueWithinTheCompanyWhateverItsSpelling) {
  EXPECT_EQ(call("call TK_CzyNipJestUnikalny(1,'123-456-32-18',2,'pracownik')"), "") << "its own number";
  EXPECT_EQ(call("call TK_CzyNipJestUnikalny(1,'1234563218',1,'pracownik')"),
            "Numer NIP 1234563218 jest już wpisany u pracownika: Nowak Piotr.");
  EXPECT_EQ(call("call TK_CzyNipJestUnikalny(1,'526-000-12-46',1,'pracownik')"), "") << "another company's";
  EXPECT_EQ(call("call TK_CzyNipJestUnikalny(1,'',1,'pracownik')"), "");
  EXPECT_NE(call("call TK_CzyNipJestUnikalny(1,'1234563218',1,'bank')"), "");
}

}  // namespace

SLOWNIK_ON_ALL_BACKENDS(StaffRoutinesTest);

}  // namespace slownik::staff::test
