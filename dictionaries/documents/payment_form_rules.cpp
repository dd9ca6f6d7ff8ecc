#include "dictionaries/documents/payment_form_rules.h"

#include "engine/record_form.h"
#include "framework/sql/text.h"

namespace slownik::documents {

std::string paymentSortChoice(std::string_view stored) {
  std::string choice = engine::trimmed(stored);
  if (choice.empty() || choice == "kod") return "kod";
  return "nazwa";
}

int paymentSortOrder(std::string_view choice) { return choice == "kod" ? kPaymentByCode : kPaymentByName; }

std::string paymentListFilter(double companyId, bool selecting, bool cashAndCardOnly) {
  std::string filter = "A.ID_FIRMY IN (0," + sql::sqlId(companyId) + ")";
  if (selecting) filter += " AND A.AKTYWNA=1";
  // Codes are compared without regard to case, as the forms "G" and "K" are kept.
  if (cashAndCardOnly) filter += " AND upper(A.KOD) in ('G','K')";
  return filter;
}

const CodeTexts& activeTexts() {
  static const CodeTexts texts{{{1, "Tak"}}, "Nie"};
  return texts;
}

const CodeTexts& settlementLetters() {
  static const CodeTexts texts{{{1, "K"}, {2, "I"}}, ""};
  return texts;
}

std::string codeTextExpression(std::string_view field, const CodeTexts& texts) {
  std::string sql = "CASE";
  for (const auto& [code, text] : texts.texts)
    sql += " WHEN " + std::string(field) + " = " + std::to_string(code) + " THEN " + sql::quote(text);
  return sql + " ELSE " + sql::quote(texts.otherwise) + " END";
}

}  // namespace slownik::documents
