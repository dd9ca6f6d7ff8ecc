#pragma once
#include <memory>
#include <optional>
#include <string>

#include "dictionaries/banking/account_owner.h"
#include "dictionaries/banking/account_white_list.h"
#include "engine/child_list.h"
#include "engine/record_form.h"

namespace slownik::banking {

//! The account form of every owner ("Rachunek_Firmy_Upd", …): the number in four parts
//! (check digits, bank number, account number, the IBAN switch), the bank looked up by
//! its number or picked, the currency and (company) country looked up or picked, the
//! clipboard paste of a full number, and the checks before the save: a bank chosen, the
//! IBAN rules, a number unique for the owner and (company) one default per currency.
//! A payee's account shows its white-list answers; a new contractor's account is checked
//! on the white list before it is saved.
class AccountForm : public engine::RecordForm {
 public:
  explicit AccountForm(const AccountOwner& owner);
  static engine::FormDescriptor makeDescriptor(const AccountOwner& owner);

  void primeFields() override;
  void prepare() override;
  int checkField(const rt::Event& e) override;
  int afterAccepted(const rt::Event& e) override;
  void afterSave() override;
  int kill() override;

 private:
  //! The checks of "Zapisz"; false when one failed (the user was told, the focus set).
  bool validate();
  bool checkBank();
  bool checkIbanRules();
  bool checkDuplicate();
  bool checkCurrencyDefault();
  void leaveBankNumber();
  void pickBank();
  int lookUp(const std::string& control, const std::string& table, const std::string& keyField, const std::string& key,
             int picker);
  int pickInto(const std::string& control, const std::string& keyField, int picker);
  void leaveAccountNumber();
  void paste();
  void showBank();
  std::string bankNumber() const;
  std::string accountNumber() const;
  void setCheckDigits(const std::string& digits);
  void fail(const std::string& message, const std::string& control);
  //! The white-list check of a new contractor's account; false when the person chose
  //! not to save an account the register does not know.
  bool checkWhiteListBeforeSave();

  const AccountOwner& owner_;
  std::unique_ptr<engine::ChildList> checks_;
  //! The answer of the check before the save, kept once the account has its id.
  std::optional<std::pair<WhiteListRequest, svc::WhiteListCheck>> pendingAnswer_;
};

//! Runs the account form of `owner`: GLOBALREQUEST 1, 2, 3 or 6, the account in the
//! table's record buffer; leaves GLOBALRESPONSE.
void runAccountForm(const AccountOwner& owner);

}  // namespace slownik::banking
