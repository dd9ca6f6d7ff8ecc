#pragma once
// The tax white-list check of a payee's account: asking the register, keeping its answer
// with the account as the proof of the check, and the history the account form shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dictionaries/banking/account_owner.h"
#include "engine/child_list.h"
#include "framework/services/white_list.h"

namespace slownik::banking {

//! One check: which account, which number, against which tax number, for which day.
struct WhiteListRequest {
  double account = 0;  //!< the account's id; 0 while it is not saved yet
  std::string number;  //!< the 26 digits sent
  std::string nip;     //!< the 10 digits sent
  std::int32_t day = 0;
};

//! The 26 digits of a Polish account from its check digits and stored number; nullopt
//! for anything else (a foreign account, a number without its check digits), which the
//! register does not know.
std::optional<std::string> whiteListAccountNumber(std::string_view checkDigits, std::string_view storedNumber);

//! The owner's own tax number as ten digits: the contractor's NIP from its record
//! buffer; "" when the owner has none or it is not a valid one.
std::string ownerNip(const AccountOwner& owner);

//! The tax number the account was checked against last ("" when never).
std::string lastCheckedNip(const AccountOwner& owner, double account);

//! Asks the register, with the wait cursor on. Never throws.
svc::WhiteListCheck askWhiteList(const WhiteListRequest& request);

//! Keeps an answer in the owner's history under request.account (which must be saved);
//! "" or the database's reason it could not.
std::string recordWhiteListAnswer(const AccountOwner& owner, const WhiteListRequest& request,
                                  const svc::WhiteListCheck& check);

//! What the user reads after an answer: where the account stands and the proof's id.
std::string whiteListAnswerText(const WhiteListRequest& request, const svc::WhiteListCheck& check);

//! "Sprawdź na białej liście" of a saved account: asks for the tax number (offering the
//! owner's, else the last one checked) and the day, asks the register, keeps the answer
//! and tells it; a check without an answer is only told, as a warning. true when an
//! answer was kept.
bool checkSavedAccount(const AccountOwner& owner, double account, std::string_view checkDigits,
                       std::string_view storedNumber);

//! The history of the account's checks, newest first, in the form's list "?SPRAWDZENIA".
engine::ChildListDescriptor whiteListHistory(const AccountOwner& owner);
inline constexpr const char* kWhiteListHistory = "?SPRAWDZENIA";

}  // namespace slownik::banking
