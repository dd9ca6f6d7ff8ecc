// Account numbers as the form splits, rebuilds and pastes them, the IBAN rules in their
// order, and the owners' statements with values that need quoting.
#include <gtest/gtest.h>

#include "dictionaries/banking/account_number.h"
#include "dictionaries/banking/account_owner.h"
#include "framework/services/iban.h"

namespace slownik::banking {
namespace {

TEST(AccountNumber, SplitAndRebuild) {
  struct Case {
    const char* stored;
    const char* bank;
    const char* account;
    const char* rebuilt;
  };
  const Case cases[] = {
      {"199000030000123456789012", "19900003", "0000123456789012", "199000030000123456789012"},
      // The older "-" form: trimmed parts, stored without the "-" after the next save.
      {" 1990 - 0000 12 ", "1990", "0000 12", "1990    0000 12"},
      {"123456789-42", "12345678", "42", "1234567842"},
      // A bank number shorter than 8 (no IBAN) keeps its blanks in the stored number.
      {"123     4567", "123", "4567", "123     4567"},
      {"", "", "", "        "},
      {"12345", "12345", "", "12345   "},
  };
  for (const auto& c : cases) {
    AccountNumberParts parts = splitAccountNumber(c.stored);
    EXPECT_EQ(parts.bank, c.bank) << c.stored;
    EXPECT_EQ(parts.account, c.account) << c.stored;
    EXPECT_EQ(rebuildAccountNumber(parts.bank, parts.account), c.rebuilt) << c.stored;
  }
  EXPECT_EQ(rebuildAccountNumber("1", std::string(120, '9')).size(), 100u);
}

TEST(AccountNumber, PasteTakesCheckDigitsBankAndAccount) {
  struct Case {
    const char* clipboard;
    bool taken;
    const char* checkDigits;
    const char* bank;
    const char* account;
  };
  const Case cases[] = {
      {"27 1990 0003 0000 1234 5678 9012", true, "27", "19900003", "0000123456789012"},
      {"PL27 1990 0003 0000 1234 5678 9012\n", true, "27", "19900003", "0000123456789012"},
      {"271990000300001234567890121234567890123456789012345", true, "27", "19900003",
       "000012345678901212345678901234567890123"},  // only the first 49 characters count
      {"12345678901", true, "12", "34567890", "1"},
      {"1234567890", false, "", "", ""},
      {"12 34 56", false, "", "", ""},
  };
  for (const auto& c : cases) {
    auto pasted = parsePastedNumber(c.clipboard);
    ASSERT_EQ(pasted.has_value(), c.taken) << c.clipboard;
    if (!pasted) continue;
    EXPECT_EQ(pasted->checkDigits, c.checkDigits) << c.clipboard;
    EXPECT_EQ(pasted->bank, c.bank) << c.clipboard;
    EXPECT_EQ(pasted->account, c.account) << c.clipboard;
  }
}

TEST(AccountNumber, DescriptionAndFullNumber) {
  EXPECT_EQ(defaultDescription("19900003", "0000123456789012"), "19900003-0000123456789012");
  EXPECT_EQ(defaultDescription("123", "45"), "123     -45");
  EXPECT_EQ(defaultDescription("19900003", std::string(60, '1')).size(), 50u);
  EXPECT_EQ(fullAccountNumber(" 27", "1990-0003 0000 "), "27199000030000");
  EXPECT_EQ(fullAccountNumber("", " 12-34 56 "), "123456");
}

TEST(AccountNumber, ListsShowDigitsInGroupsOfFour) {
  EXPECT_EQ(groupedAccountNumber("102010260000040201712345"), "1020 1026 0000 0402 0171 2345");
  // Kept the older way, with a "-" after the bank, or with blanks: the same groups.
  EXPECT_EQ(groupedAccountNumber("10201026-0000040201712345"), "1020 1026 0000 0402 0171 2345");
  EXPECT_EQ(groupedAccountNumber(" 1020 1026 0000 "), "1020 1026 0000");
  // The whole number with its check digits, as virtual accounts keep it.
  EXPECT_EQ(groupedAccountNumber("12102010260000040201712345"), "12 1020 1026 0000 0402 0171 2345");
  // A foreign number with letters stays as it was written.
  EXPECT_EQ(groupedAccountNumber("DE89 3704 0044 0532 0130 00"), "DE89 3704 0044 0532 0130 00");
  EXPECT_EQ(groupedAccountNumber("GB-WEST-1234"), "GB-WEST-1234");
  EXPECT_EQ(groupedAccountNumber(""), "");
}

TEST(AccountNumber, IbanRulesInTheirOrder) {
  const std::string good = svc::IBAN_OBLICZSUMEKONTROLNA("199000030000123456789012");
  ASSERT_EQ(good.size(), 2u);
  const std::string other = good == "00" ? "01" : "00";
  struct Case {
    std::string bank, account, checkDigits;
    IbanVerdict verdict;
  };
  const Case cases[] = {
      {"19900003", "0000123456789012", good, IbanVerdict::Valid},
      {"19900003", " 0000123456789012 ", " " + good, IbanVerdict::Valid},
      {"1990003", "0000123456789012", good, IbanVerdict::BankNotEightDigits},
      {"1990000A", "x", "", IbanVerdict::BankNotEightDigits},  // the bank is checked first
      {"19900003", "000012345678901", good, IbanVerdict::AccountNotSixteenDigits},
      {"19900003", "00001234567890123", good, IbanVerdict::AccountNotSixteenDigits},
      {"19900003", "0000 23456789012", good, IbanVerdict::AccountNotSixteenDigits},
      {"19900003", "0000123456789012", "", IbanVerdict::CheckDigitsMissing},
      {"19900003", "0000123456789012", other, IbanVerdict::CheckDigitsDiffer},
  };
  for (const auto& c : cases) {
    IbanCheck check = checkIban(c.bank, c.account, c.checkDigits);
    EXPECT_EQ(check.verdict, c.verdict) << c.bank << "|" << c.account << "|" << c.checkDigits;
    if (c.verdict == IbanVerdict::CheckDigitsMissing || c.verdict == IbanVerdict::CheckDigitsDiffer) {
      EXPECT_EQ(check.computed, good);
    }
  }
}

TEST(AccountOwners, StatementsQuoteValuesAndNameTheirOwner) {
  const std::string number = "1990000312'34";
  EXPECT_EQ(accountOwner(OwnerKind::Company).duplicateQuery(5, 1, 1, number),
            "select 1 from rachunek_firmy where ID_FIRMY=1 and ID_RACHUNKU<>5 and NUMER_RACHUNKU='1990000312''34'");
  EXPECT_EQ(accountOwner(OwnerKind::Contractor).duplicateQuery(5, 7, 1, number),
            "select 1 from rachunek_kontrahenta r ,kontrahent k  where r.id_kontrahenta=k.id_kontrahenta and "
            "k.id_firmy=1 and k.id_kontrahenta=7 and r.ID_RACHUNKU<>5 and r.NUMER_RACHUNKU='1990000312''34'");
  EXPECT_EQ(accountOwner(OwnerKind::Employee).duplicateQuery(5, 7, 1, number),
            "select 1 from rachunek_pracownika where ID_PRACOWNIKA=7 and ID_RACHUNKU<>5 and  "
            "NUMER_RACHUNKU='1990000312''34'");
  EXPECT_EQ(accountOwner(OwnerKind::TaxOffice).duplicateQuery(5, 7, 1, number),
            "select 1 from rachunek_urzedu where ID_RACHUNKU<>5 and ID_URZEDU=7 and  NUMER_RACHUNKU='1990000312''34'");

  struct Case {
    OwnerKind kind;
    const char* activity;
    const char* activation;
    const char* setDefault;
    const char* clearDefault;
  };
  const Case cases[] = {
      {OwnerKind::Company, "select aktywny from rachunek_firmy where id_rachunku=12",
       "update rachunek_firmy set aktywny=1 where id_rachunku=12", "update firma set id_rachunku=12 where id_firmy=3",
       "update firma set id_rachunku=null where id_firmy=3"},
      {OwnerKind::Contractor, "select aktywny from rachunek_kontrahenta where id_rachunku=12",
       "update rachunek_kontrahenta set aktywny=1 where id_rachunku=12",
       "update kontrahent set id_rachunku=12 where id_kontrahenta=3",
       "update kontrahent set id_rachunku=null where id_kontrahenta=3"},
      {OwnerKind::Employee, "select aktywny from rachunek_pracownika where id_rachunku=12",
       "update rachunek_pracownika set aktywny=1 where id_rachunku=12",
       "update pracownik set id_rachunku=12 where id_pracownika=3",
       "update pracownik set id_rachunku=null where id_pracownika=3"},
      {OwnerKind::TaxOffice, "select aktywny from rachunek_urzedu where id_rachunku=12",
       "update rachunek_urzedu set aktywny=1 where id_rachunku=12", "update urzedy set id_rachunku=12 where id_urzedu=3",
       "update urzedy set id_rachunku=null where id_urzedu=3"},
  };
  for (const auto& c : cases) {
    const AccountOwner& owner = accountOwner(c.kind);
    EXPECT_EQ(owner.activityQuery(12), c.activity);
    EXPECT_EQ(owner.activationStatement(12), c.activation);
    EXPECT_EQ(owner.setDefaultStatement(12, 3), c.setDefault);
    EXPECT_EQ(owner.clearDefaultStatement(3), c.clearDefault);
  }
}

}  // namespace
}  // namespace slownik::banking
