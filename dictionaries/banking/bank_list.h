#pragma once
#include <string>

#include "dictionaries/banking/bank_sort_orders.h"
#include "engine/locked_list.h"

namespace slownik::banking {

//! The bank list "Banki_Brw" ("Lista banków"): five named sort orders chosen in the drop
//! list ?SORTOWANIE with their direction on ?UPDOWN, both kept under "Bank_Brw"; rows
//! coloured by their edit lock; the record semaphore around every change and delete;
//! the popup item that imports the clearing house's branch list.
class BankList : public engine::LockedList {
 public:
  BankList();
  static engine::ListDescriptor makeDescriptor();

  int opened() override;
  int takeEvent(const rt::Event& e) override;
  void orderApplied() override;
  int takeAccepted(const rt::Event& e) override;
  void closeActions() override;
  void addPopupItems(fw::PopupClass& popup) override;
  void takePopupChoice(const std::string& item) override;

  const std::string& direction() const { return direction_; }

 private:
  void chooseSort(int order);
  void showSortStyles(int order);
  void toggleDirection();
  //! Turns the first component of the order in force to the direction (unless the
  //! headers sort the list) and reloads when that changed the order.
  void applyDirection();
  bool isHeaderClickOnKeyedColumn(const rt::Event& e);

  std::string direction_ = kAscending;
};

}  // namespace slownik::banking

//! The exported list: a plain list, or with GLOBALREQUEST 4 a picker that leaves the
//! chosen bank in the BANKI record buffer and GLOBALRESPONSE 1.
extern "C" void BANKI_BRW();
