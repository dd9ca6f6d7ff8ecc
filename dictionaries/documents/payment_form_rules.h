#pragma once
// What the payment forms list decides from plain values: which sort order a stored or
// chosen name means, which rows it offers, and the texts its computed columns show.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace slownik::documents {

//! The sort orders of the payment forms list, numbered as the list adds them.
enum PaymentSortOrder : int { kPaymentByCode = 1, kPaymentByName = 2 };

//! The drop-list item a stored sort choice stands for: nothing stored means "kod", any
//! name the list doesn't know means "nazwa".
std::string paymentSortChoice(std::string_view stored);
//! The sort order of a drop-list item ("kod" by code, anything else by name).
int paymentSortOrder(std::string_view choice);

//! The rows the list offers, as its SQL condition over alias A without the leading "+":
//! the forms shared by every company (0) and the current company's; a picker only the
//! active ones; cash and card only, when asked, within those.
std::string paymentListFilter(double companyId, bool selecting, bool cashAndCardOnly);

//! Texts a byte column shows for its values, and for every other value.
struct CodeTexts {
  std::vector<std::pair<int, std::string>> texts;
  std::string otherwise;
};
//! "Tak" for an active form, "Nie" otherwise (bound as "akt").
const CodeTexts& activeTexts();
//! The letter of the settlement documents generated automatically: 1 "K" (cash receipts
//! and payments), 2 "I" (other inflow or outflow), none otherwise (bound as "litera_g").
const CodeTexts& settlementLetters();
//! An SQL expression giving the texts of `field` ("FORP:AKTYWNA"), for binding by name.
std::string codeTextExpression(std::string_view field, const CodeTexts& texts);

}  // namespace slownik::documents
