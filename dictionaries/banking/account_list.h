#pragma once
#include <memory>
#include <string>

#include "dictionaries/banking/account_defaults.h"
#include "dictionaries/banking/account_owner.h"
#include "dictionaries/banking/account_virtual_list.h"
#include "engine/list_window.h"

namespace slownik::banking {

//! The list mode that makes an account list read-only.
inline constexpr int kReadOnlyMode = 6;

//! The account list of every owner ("Rachunki_Firmy_Brw", …): the owner's accounts by
//! number with the bank's name, the owner's default account marked and toggled with
//! "Domyślny" (F4), the form called for insert, change and delete with the after-form
//! rules (a first account becomes the default; a deleted or deactivated default is
//! cleared; an audit-log entry), the full number copied from the popup. The company's
//! list is read-only without "EDanePodm" and reloads GLO:KOLRACHBANK when it closes; the
//! contractor's has the virtual accounts on a second tab.
class AccountList : public engine::ListWindow {
 public:
  //! `mode` 0: the list owns the owner's row; else the caller's form does (6: read-only).
  AccountList(const AccountOwner& owner, int mode);
  static engine::ListDescriptor makeDescriptor(const AccountOwner& owner);

  int init() override;
  void setRanges(data::ViewManager& view) override;
  int opened() override;
  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override;
  int takeEvent(const rt::Event& e) override;
  int takeAccepted(const rt::Event& e) override;
  using engine::ListWindow::run;
  int run(int number, int request) override;
  void closeActions() override;
  void addPopupItems(fw::PopupClass& popup) override;
  void takePopupChoice(const std::string& item) override;

  int mode() const { return mode_; }

 private:
  void loadOwner();
  bool mayEditCompanyData() const;
  std::string heading() const;
  //! The selected account, read into the account buffer; 0 when none.
  double selectedAccount();
  void toggleDefault();
  void copyNumber();
  //! "Sprawdź na białej liście" of the selected account.
  void checkOnWhiteList();
  void afterForm(int request, double account);
  void writeLog(int request);
  int ownerAccountCount() const;
  void updateButtons();

  const AccountOwner& owner_;
  int mode_;
  OwnerDefault defaults_;
  std::unique_ptr<VirtualAccountList> virtualAccounts_;
};

//! Runs the account list of `owner` in `mode` on the calling thread.
void runAccountList(const AccountOwner& owner, int mode);

}  // namespace slownik::banking
