#pragma once
#include <string>
#include <string_view>

#include "engine/locked_list.h"

namespace slownik::banking {

//! The tax-office list "Urzedy_Brw" ("Lista urzędów"): tax offices and the social-insurance
//! institution, three sort orders chosen in the drop list ?SORTOWANIE ("nazwa" at every
//! opening, not stored) with the sorted column in bold, rows coloured by their edit lock.
class TaxOfficeList : public engine::LockedList {
 public:
  TaxOfficeList();
  static engine::ListDescriptor makeDescriptor();

  int opened() override;
  int takeAccepted(const rt::Event& e) override;
};

}  // namespace slownik::banking

//! The exported list: a plain list, or with GLOBALREQUEST 4 a picker that leaves the
//! chosen office in the URZEDY record buffer and GLOBALRESPONSE 1.
extern "C" void URZEDY_BRW();
