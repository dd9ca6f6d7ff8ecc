#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::documents {

// The kinds of warehouse document types and what each kind decides in the type's form.

inline constexpr std::string_view kReceipt = "Przychód";
inline constexpr std::string_view kIssue = "Rozchód";
inline constexpr std::string_view kPurchasePrices = "Zakupu";

//! What a kind decides: the class stored with the type and the state of the
//! valuation and summing fields.
struct WarehouseKind {
  std::string_view name;
  //! KLASA_RODZAJU written on save; nullopt leaves the stored class as it is.
  std::optional<int> kindClass;
  //! Valued at purchase prices only: the valuation field is set to "Zakupu" and disabled.
  bool purchasePricesOnly = false;
  bool valuationEnabled = true;
  bool summingEnabled = true;
};

//! Every kind, in the order of the form's drop list.
const std::vector<WarehouseKind>& warehouseKinds();
//! The kind of that name; nullopt for the order kinds and unknown texts.
std::optional<WarehouseKind> warehouseKind(std::string_view name);
//! The kinds the drop list offers: a type the user adds or keeps may only be a receipt
//! or an issue; system types may be any kind.
std::vector<std::string> offeredKinds(bool systemType);
//! Whether a type may be linked to an invoice: not an issue valued at purchase prices.
bool canLinkInvoice(std::string_view valuation, std::string_view kind);

}  // namespace slownik::documents
