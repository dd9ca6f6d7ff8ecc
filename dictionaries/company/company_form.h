#pragma once
#include <memory>
#include <string>

#include "dictionaries/company/checked_form.h"
#include "dictionaries/company/company_rules.h"
#include "dictionaries/company/logo_preview.h"
#include "engine/child_list.h"

namespace slownik::company {

//! The company form "Firma_Upd" ("Dane firmy"): identification and tax flags, the seat
//! addresses with the default one, printout headers and the logo, the pool of ledger
//! numbers given to contractors, and the excise person.
//!
//! While the form is open, GLO:ID_FIRMY names the edited company, so that the address,
//! person and account windows work on it; closing gives the caller's company back, except
//! after a new company was saved, which then is the company the user works in. A new
//! company's id is reserved when the form opens: its addresses, person and accounts are
//! written under it before the company itself, and go with it when the form is cancelled.
class CompanyForm : public CheckedForm {
 public:
  CompanyForm();
  ~CompanyForm() override;
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;
  void afterSave() override;
  using engine::RecordForm::run;
  //! The address and person lists' form calls go to them; everything else as any form.
  int run(int number, int request) override;
  int kill() override;

 private:
  class AddressList;

  double companyId() const;
  //! The request the child windows run with: view when this form only shows.
  int childRequest() const;
  void startAddresses();
  void startPersons();
  void addressesChanged(int request, int response, const data::RecordBuffer& before);
  void toggleDefaultAddress();
  void updateDefaultButton();
  void applyTaxRule(TaxFlag changed);
  //! The logo's status line and its preview.
  void showLogoStatus();
  void chooseLogoFile();
  void loadLogo();
  void dropLogo();
  void openAccounts();
  //! "pobierz z GUS": the register's data into the form and a new seat address.
  void fetchFromRegistry();
  void showTab(int tab);

  std::unique_ptr<AddressList> addresses_;
  std::unique_ptr<engine::ChildList> persons_;
  double callersCompany_ = 0;
  bool companySwitched_ = false;
  LogoPreview logo_;
};

}  // namespace slownik::company

//! The exported form: reads GLOBALREQUEST (1 insert, 2 change, 6 view), the company in
//! the FIRMA record buffer; leaves GLOBALRESPONSE 1 when the row was written, else 2.
extern "C" void FIRMA_UPD();
