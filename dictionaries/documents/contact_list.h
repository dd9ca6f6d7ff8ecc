#pragma once
#include <cstdint>
#include <string_view>

namespace slownik::documents {

//! What a caller knows of the contractor whose contacts it lists.
enum ContractorKind : std::uint8_t {
  kContractorUnknown = 0,  //!< read from the contractor's row
  kContractorSupplier = 1,
  kContractorRecipient = 2,
  kContractorBoth = 3,
};

//! The contact persons of one contractor ("Lista kontaktów kontrahenta <name>"), for
//! users with the right to contractors and to the contractor's kind (suppliers,
//! recipients). Each insert, change and delete takes the contractor's edit lock, runs the
//! contact form of the sibling module and writes an entry to the log. With `readOnly` 1
//! the contacts can only be looked at. Runs on the calling thread until the window closes.
void KONTAKT_BRW_LOC(std::uint8_t contractorKind, std::uint8_t readOnly, double contractorId,
                     std::string_view contractorName);

}  // namespace slownik::documents
