#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::svc {

//! One status an order can be in, as order handling reads it.
struct OrderStatus {
  long long id = 0;
  std::string code;         //!< one upper-case letter: "N", "C", "Z", "Y", "A", or the user's own
  std::string description;
  bool active = false;
  bool automatic = false;   //!< set by the program itself while orders are carried out
  bool system = false;
  long long smsTemplate = 0;  //!< SMS_SZABLON id sent on entering the status; 0 = none
};

//! Reads the order statuses (VEX_SLOWNIK_STATUSOW_DOKUMENTOW, TYP_DOKUMENTU "Z") again, in
//! place of those loaded before; the status list closes with it after a change. `reload`
//! 1 reads now; 0 only marks the list stale, read at the next use. Process-wide; any
//! thread may call it. When the database can't be read the list loaded before stays, and
//! the runtime error state tells why.
void INICJUJKOLEJKESTATUSOW(int reload);

//! The order statuses by code. Read at the first use, and again when the list was marked
//! stale or another program changed it (the database's list version moved on, see
//! TKB_IntS_RM_TKBM_DocStatusListInit). One query per call to compare the version.
std::vector<OrderStatus> orderStatuses();
//! One status by its code (letter case aside); nullopt when there is none.
std::optional<OrderStatus> orderStatus(std::string_view code);

}  // namespace slownik::svc
