#pragma once
// The Ministry of Finance's public register of VAT taxpayers ("biała lista") answers
// whether a bank account belongs to a taxpayer on a given day. Paying a large invoice
// into an account that is not on the list costs the buyer the tax deduction, so the
// offices check an account before they pay and keep the answer as their proof.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/services/rates/http_client.h"

namespace slownik::svc {

//! Where the register's service is.
struct WhiteListSettings {
  std::string address;       //!< the service's root ("https://…"), without a trailing '/'
  long timeoutSeconds = 20;  //!< for the one exchange with the service
};

//! How a check ended. Only Assigned and NotAssigned are answers worth keeping.
enum class WhiteListOutcome {
  Assigned,      //!< "TAK": the account is the taxpayer's on that day
  NotAssigned,   //!< "NIE"
  NoConnection,  //!< no answer at all: no network, the address does not answer
  TimedOut,
  LimitReached,  //!< the service counts the day's checks and said "enough"
  Refused,       //!< the service answered with an error ("code" and "message")
  Malformed,     //!< an answer that is not the service's JSON
};

struct WhiteListCheck {
  WhiteListOutcome outcome = WhiteListOutcome::NoConnection;
  std::string requestId;        //!< the service's identifier of the request: the proof
  std::string requestDateTime;  //!< when the service took the request, as it wrote it
  std::string detail;           //!< the transport's or the service's own words

  bool answered() const { return outcome == WhiteListOutcome::Assigned || outcome == WhiteListOutcome::NotAssigned; }
  //! "TAK" or "NIE" for an answer, "" otherwise.
  std::string result() const;
};

//! The address of the check: <address>/api/check/nip/<nip>/bank-account/<account>?date=<yyyy-mm-dd>.
//! `nip` ten digits, `account` the 26 digits of a Polish account, `day` a day number.
std::string whiteListCheckUrl(std::string_view address, std::string_view nip, std::string_view account,
                              std::int32_t day);

//! Reads the service's answer to a check (any status): the result, or why there is none.
WhiteListCheck readWhiteListAnswer(const HttpResponse& response);

//! Asks the service whether `account` (26 digits) belongs to the taxpayer `nip` (10
//! digits) on `day`. Blocks the calling thread for up to the timeout; never throws.
//! Malformed input is refused before anything is sent.
WhiteListCheck checkWhiteList(const WhiteListSettings& settings, std::string_view nip, std::string_view account,
                              std::int32_t day);

//! The settings from the program parameters (the user's, else the company's):
//! "BialaLista_Adres" the service's root (default: the ministry's production service),
//! "BialaLista_LimitCzasu" seconds to wait for the answer (default 20).
WhiteListSettings whiteListSettings();

//! A Polish warning saying why a check gave no answer ("" for an answer).
std::string whiteListFailureText(const WhiteListCheck& check, long timeoutSeconds);

}  // namespace slownik::svc
