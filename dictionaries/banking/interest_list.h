#pragma once
#include "engine/locked_list.h"

namespace slownik::banking {

//! The list of interest tables "Tabela_Odsetek_Brw" ("Tabele odsetek") of the current
//! company, by name with an incremental locator; rows coloured by their edit lock; the
//! record semaphore around every change and the delete.
class InterestList : public engine::LockedList {
 public:
  InterestList();
  static engine::ListDescriptor makeDescriptor();
};

}  // namespace slownik::banking

//! The exported list: a plain list, or with GLOBALREQUEST 4 a picker that leaves the
//! chosen table in the TABELA_ODSETEK record buffer and GLOBALRESPONSE 1.
extern "C" void TABELA_ODSETEK_BRW();
