#include "dictionaries/documents/warehouse_doc_type_kinds.h"

namespace slownik::documents {

const std::vector<WarehouseKind>& warehouseKinds() {
  // Class 1 receipts, 2 receipt corrections, 3 issues, 4 issue corrections,
  // 5 stocktaking. Receipts are valued at what the goods cost.
  static const std::vector<WarehouseKind> kinds = {
      {kReceipt, 1, true, false, true},
      {kIssue, 3, false, true, true},
      {"Remanent", 5, false, false, false},
      {"MP", 1, true, false, true},
      {"MW", 3, false, true, true},
      {"Korekta przychodu", 2, true, false, true},
      {"Korekta rozchodu", 4, false, true, true},
      {"Zakup usług", 1, true, false, true},
      {"Sprzedaż usług", 3, false, true, true},
      {"Korekta ZU", std::nullopt, false, true, true},
      {"Korekta SU", std::nullopt, false, true, true},
      {"Opakowanie", std::nullopt, false, true, true},
  };
  return kinds;
}

std::optional<WarehouseKind> warehouseKind(std::string_view name) {
  for (const auto& kind : warehouseKinds())
    if (kind.name == name) return kind;
  return std::nullopt;
}

std::vector<std::string> offeredKinds(bool systemType) {
  if (!systemType) return {std::string(kReceipt), std::string(kIssue)};
  std::vector<std::string> names;
  for (const auto& kind : warehouseKinds()) names.emplace_back(kind.name);
  return names;
}

bool canLinkInvoice(std::string_view valuation, std::string_view kind) {
  return !(valuation == kPurchasePrices && kind == kIssue);
}

}  // namespace slownik::documents
