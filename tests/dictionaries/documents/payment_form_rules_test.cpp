// The payment forms list's decisions from plain values.
#include "dictionaries/documents/payment_form_rules.h"

#include <gtest/gtest.h>

namespace slownik::documents {
namespace {

TEST(PaymentFormRules, StoredSortChoicesMapToTheirOrders) {
  const struct {
    const char* stored;
    const char* choice;
    int order;
  } rows[] = {
      {"", "kod", kPaymentByCode},  // nothing stored yet
      {"   ", "kod", kPaymentByCode},     {"kod", "kod", kPaymentByCode},
      {"nazwa", "nazwa", kPaymentByName}, {"#nazwa", "nazwa", kPaymentByName},  // anything unknown sorts by name
      {"KOD", "nazwa", kPaymentByName},   {"3", "nazwa", kPaymentByName},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.stored);
    std::string choice = paymentSortChoice(r.stored);
    EXPECT_EQ(choice, r.choice);
    EXPECT_EQ(paymentSortOrder(choice), r.order);
  }
}

TEST(PaymentFormRules, TheFilterKeepsTheCompanyInEveryMode) {
  const struct {
    bool selecting;
    bool cashAndCard;
    const char* filter;
  } rows[] = {
      {false, false, "A.ID_FIRMY IN (0,12)"},
      {true, false, "A.ID_FIRMY IN (0,12) AND A.AKTYWNA=1"},
      // Cash and card narrows the rows the list would offer anyway: a picker still hides
      // inactive forms and other companies' forms.
      {false, true, "A.ID_FIRMY IN (0,12) AND upper(A.KOD) in ('G','K')"},
      {true, true, "A.ID_FIRMY IN (0,12) AND A.AKTYWNA=1 AND upper(A.KOD) in ('G','K')"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.selecting) + std::to_string(r.cashAndCard));
    EXPECT_EQ(paymentListFilter(12, r.selecting, r.cashAndCard), r.filter);
  }
}

TEST(PaymentFormRules, CodeTextsBecomeOneCaseExpression) {
  EXPECT_EQ(codeTextExpression("FORP:AKTYWNA", activeTexts()), "CASE WHEN FORP:AKTYWNA = 1 THEN 'Tak' ELSE 'Nie' END");
  EXPECT_EQ(codeTextExpression("FORP:GEN_AUTO_ROZLICZ", settlementLetters()),
            "CASE WHEN FORP:GEN_AUTO_ROZLICZ = 1 THEN 'K' WHEN FORP:GEN_AUTO_ROZLICZ = 2 THEN 'I' ELSE '' END");
  // Texts are quoted like any other value.
  EXPECT_EQ(codeTextExpression("X:Y", CodeTexts{{{3, "d'Arc"}}, ""}), "CASE WHEN X:Y = 3 THEN 'd''Arc' ELSE '' END");
}

}  // namespace
}  // namespace slownik::documents
