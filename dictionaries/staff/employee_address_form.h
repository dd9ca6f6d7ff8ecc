#pragma once
#include "dictionaries/company/checked_form.h"

namespace slownik::staff {

//! The address kind the employee form shows: the residence.
inline constexpr const char* kResidenceAddress = "M";

//! The employee address form "Adres_Pracownika_Upd": an address of an employee, valid
//! from its day. Two addresses of one kind of one employee may not start on the same day.
class EmployeeAddressForm : public company::CheckedForm {
 public:
  EmployeeAddressForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
  int kill() override;

 private:
  long long dayAtOpen_ = 0;
};

}  // namespace slownik::staff

//! Reads GLOBALREQUEST, the address in the ADRESY_PRACOWNIKA record buffer (a new one
//! primed with its employee); leaves GLOBALRESPONSE.
void ADRES_PRACOWNIKA_UPD();
