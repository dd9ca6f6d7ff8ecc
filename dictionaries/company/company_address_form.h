#pragma once
#include <cstdint>

#include "dictionaries/company/checked_form.h"

namespace slownik::company {

//! The company address form "Adres_Firmy_Upd" ("Adresy firmy"): a seat address of a
//! company, valid from its day. Two addresses of one company may not start on the same
//! day. After a save in the company form's change mode, a town other than the company's
//! default place of issue of invoices offers to change that parameter.
class CompanyAddressForm : public CheckedForm {
 public:
  //! `company`: the company whose address list calls the form (a new row belongs to it);
  //! `companyRequest`: the request the company form runs with (0 when none called it).
  CompanyAddressForm(double company, int companyRequest);
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
  void afterSave() override;
  int kill() override;

 private:
  void offerPlaceOfIssue();

  double company_;
  int companyRequest_;
  long long dayAtOpen_ = 0;
};

}  // namespace slownik::company

//! The exported form: `company` is the company the user works in (for a company being
//! added, its new id), `companyRequest` the company form's request. Reads GLOBALREQUEST,
//! the row in the ADRESY_FIRMY record buffer; leaves GLOBALRESPONSE.
extern "C" void ADRES_FIRMY_UPD(double company, std::uint8_t companyRequest);
