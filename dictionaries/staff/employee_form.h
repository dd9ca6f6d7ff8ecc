#pragma once
#include <cstdint>
#include <memory>

#include "dictionaries/company/checked_form.h"
#include "engine/child_list.h"

namespace slownik::staff {

//! The request that opens the form on an employee just duplicated: a change, titled as an
//! insert.
inline constexpr std::uint8_t kChangeOfDuplicateRequest = 10;

inline constexpr const char* kEmployeeLockedMessage = "Pracownik jest aktualizowany przez innego użytkownika!";

//! The employee's residence addresses are a part of the employee: written under a new
//! employee's reserved id, they go with it when its form is cancelled. Registered once.
void registerEmployeeRelations();

//! The employee form "Pracownik_Upd" ("Dane pracownika"): personal data, the system user
//! the employee works as, residence addresses and bank accounts. A new employee's id is
//! reserved when the form opens, so its addresses and accounts can be added before it is
//! saved; cancelling the form removes them.
class EmployeeForm : public company::CheckedForm {
 public:
  //! `duplicate`: the form edits a copy just made of another employee (the change of it
  //! is titled as an insert, and a new personnel number must be typed).
  explicit EmployeeForm(bool duplicate);
  ~EmployeeForm() override;
  static engine::FormDescriptor makeDescriptor(bool duplicate);

  void primeFields() override;
  void prepare() override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
  //! Saves the employee's classifier values with the employee.
  void afterSave() override;
  using engine::RecordForm::run;
  //! The address list's form calls go to it; everything else as any form.
  int run(int number, int request) override;
  int kill() override;

 private:
  double employeeId() const;
  void showUser();
  void enableUserGroup(bool on);
  void userTicked(bool ticked);
  void pickUser();
  void openAccounts();
  void startAddresses();
  //! The save check asks: Yes lets the save go on; anything else focuses `control`.
  bool confirmed(int answer, const char* control);

  bool duplicate_;
  std::unique_ptr<engine::ChildList> addresses_;
};

}  // namespace slownik::staff

//! The exported form: reads GLOBALREQUEST (1 insert, 2 change, 6 view, 10 change of an
//! employee just duplicated), the employee in the PRACOWNIK record buffer; leaves
//! GLOBALRESPONSE 1 when the row was written, else 2.
extern "C" void PRACOWNIK_UPD();
