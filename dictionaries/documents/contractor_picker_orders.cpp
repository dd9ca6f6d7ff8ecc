#include "dictionaries/documents/contractor_picker_orders.h"

#include "engine/record_form.h"
#include "framework/runtime/picture.h"
#include "framework/services/filters.h"

namespace slownik::documents {

const std::array<ContractorPickerOrder, kContractorPickerOrders>& contractorPickerOrders() {
  using engine::LocatorKind;
  static const std::array<ContractorPickerOrder, kContractorPickerOrders> orders = {{
      {"nazwa", "KON1:KONTRAHENT_IDFIRMY_NAZWA", LocatorKind::Incremental, "KON1:NAZWA", false, false, 1},
      {"nazwa (intuicja)", "KON1:KONTRAHENT_IDFIRMY_NAZWA", LocatorKind::Filter, "KON1:NAZWA", true, false, 1},
      {"nip", "KON1:KONTRAHENT_IDFIR_NIP", LocatorKind::Incremental, "KON1:NIP", false, true, 2},
      {"miejscowość", "KON1:KONTRAHENT_IDFIRMY_MEJSCOWOSC", LocatorKind::Incremental, "KON1:MIEJSCOWOSC", false, true,
       3},
      {"kod pocztowy", "KON1:KONTRAHENT_IDFIRMY_KODPOCZTOWY", LocatorKind::Incremental, "KON1:KOD_POCZTOWY", false,
       true, 4},
      {"numer", "KON1:KONTRAHENT_ID_FIRMY_ID_KONTRAHENTA", LocatorKind::Incremental, "KON1:ID_KONTRAHENTA", false, true,
       5},
      {"wyróżnik", "KON1:KONTRAHENT_IDFIRMY_WYROZNIK", LocatorKind::Incremental, "KON1:WYROZNIK", false, true, 6},
  }};
  return orders;
}

int contractorPickerOrderNumber(std::string_view item) {
  const auto& orders = contractorPickerOrders();
  for (std::size_t i = 0; i < orders.size(); ++i)
    if (item == orders[i].item) return static_cast<int>(i) + 1;
  return 1;
}

const ContractorPickerOrder& contractorPickerOrder(int number) {
  const auto& orders = contractorPickerOrders();
  bool known = number >= 1 && number <= static_cast<int>(orders.size());
  return orders[known ? static_cast<std::size_t>(number - 1) : 0];
}

std::string contractorPickerStateFilter(int number) {
  return contractorPickerOrder(number).onlyNormalState ? "(KON1:FLAGA_STANU=0)" : "";
}

std::string contractorPickerLocatorPicture(int number, std::string_view distinguisherMask) {
  constexpr const char* kPlain = "@s20";
  if (std::string_view(contractorPickerOrder(number).field) != "KON1:WYROZNIK") return kPlain;
  std::string keyIn = "K" + std::string(distinguisherMask) + "K";
  return rt::Picture::fromString(keyIn) ? keyIn : kPlain;
}

std::string contractorPickerCondition(std::string_view callerCondition, bool maySeeSuppliers, bool maySeeRecipients,
                                      std::string_view rightsCondition) {
  std::string condition = engine::trimmed(callerCondition);
  // A contractor whose flag was never set is neither a supplier nor a recipient: a plain
  // "<>1" would hide it too, since NULL compares as unknown.
  if (!maySeeSuppliers) condition = svc::DODAJKOMPONENTFILTRA(condition, "isnull(A.DOSTAWCA,0)<>1");
  if (!maySeeRecipients) condition = svc::DODAJKOMPONENTFILTRA(condition, "isnull(A.ODBIORCA,0)<>1");
  return svc::DODAJKOMPONENTFILTRA(condition, rightsCondition);
}

}  // namespace slownik::documents
