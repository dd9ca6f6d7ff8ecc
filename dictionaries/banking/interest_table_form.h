#pragma once
#include <memory>

#include "engine/child_list.h"
#include "engine/record_form.h"

namespace slownik::banking {

//! The interest table form "Tabela_Odsetek_Upd" ("Tabela odsetek"): the table's name,
//! statutory flag and description, and the list of its periods with buttons of its own
//! that open the period form and keep the chain of end days. Periods are written as
//! soon as their form is saved.
//!
//! A new table's id is reserved when the form opens, so that its periods are written
//! under the id the table is saved with; cancelling the form removes them again.
class InterestTableForm : public engine::RecordForm {
 public:
  InterestTableForm();
  ~InterestTableForm() override;
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  bool checkBeforeSave() override;
  using engine::RecordForm::run;
  //! The period list's form calls go to it; everything else as any form.
  int run(int number, int request) override;
  int kill() override;

 private:
  bool periodsMayChange(int request);
  void periodsChanged(int request, int response, const data::RecordBuffer& before);
  double tableId() const;

  std::unique_ptr<engine::ChildList> periods_;
};

}  // namespace slownik::banking

//! The exported form: reads GLOBALREQUEST (1 insert, 2 change, 6 view), the table in the
//! TABELA_ODSETEK record buffer; leaves GLOBALRESPONSE 1 when the row was written, else 2.
extern "C" void TABELA_ODSETEK_UPD();
