#pragma once
#include <optional>
#include <string>

#include "engine/record_form.h"

namespace slownik::documents {

//! The form of a payment form ("Forma_platnosci_Upd"): name and code, each unique among
//! the payment forms without regard to letter case, the system mark, the settlement
//! documents generated for it, the merchant-limit flag, the default terms and the payment
//! operator, a contractor chosen in the contractor picker. A form with an operator belongs
//! to the operator's company; without one it is shared by every company (ID_FIRMY 0).
class PaymentFormForm : public engine::RecordForm {
 public:
  PaymentFormForm();
  static engine::FormDescriptor makeDescriptor();

  void primeFields() override;
  void prepare() override;
  bool checkBeforeSave() override;
  int afterAccepted(const rt::Event& e) override;

 private:
  void chooseOperator();
  void clearOperator();
  //! Runs a uniqueness query; its answer, or nullopt (the user was told) when it failed.
  std::optional<std::string> lookUp(const std::string& statement) const;
};

//! Runs the form on GLOBALREQUEST (1, 2, 3 or 6) with the row in the FORP: buffer;
//! GLOBALRESPONSE 1 when the row was written, else 2.
void runPaymentFormForm();

}  // namespace slownik::documents
