#pragma once
// The owner's default account (the owner's ID_RACHUNKU) and the company's default
// account per currency (GLO:KOLRACHBANK).

#include <cstdint>

#include "dictionaries/banking/account_owner.h"

namespace slownik::banking {

//! The default account of the owner whose record is in this thread's buffer of the
//! owner table. With mode 0 the list owns the owner row and every change goes to the
//! database too; with another mode the caller's form holds the record and saves it, so
//! only the buffer changes. The company's default is also published in
//! GLO:ID_KONTA_BANKOWEGO. Used on the list's thread only.
class OwnerDefault {
 public:
  OwnerDefault(const AccountOwner& owner, int mode) : owner_(owner), mode_(mode) {}

  //! The list may turn read-only after it was made (the company list without the right).
  void setMode(int mode) { mode_ = mode; }

  double ownerId() const;
  //! The default account's id; 0 when there is none.
  double current() const;
  bool isDefault(double account) const { return account > 0 && current() == account; }

  //! "Domyślny": the default account becomes no default; any other account becomes the
  //! default unless it is inactive (a warning then). False when nothing changed.
  bool toggle(double account);
  //! Makes `account` the default; false (told to the user) when the database refused.
  bool set(double account);
  //! Leaves the owner without a default account.
  bool clear();

 private:
  bool execute(const std::string& statement) const;
  void store(double account) const;

  const AccountOwner& owner_;
  int mode_;
};

//! LADUJDOMYSLNERACHUNKI: fills GLO:KOLRACHBANK with the current company's default
//! account per currency, in the order the database gives them; returns their number.
std::int32_t loadDefaultAccounts();

}  // namespace slownik::banking
