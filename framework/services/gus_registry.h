#pragma once
#include "framework/services/gus_registry_reply.h"

namespace slownik::svc {

//! The registry lookup: asks the person for a tax number (offering the one the caller
//! left in the record's NIP field), looks it up in the statistics office's register
//! REGON and hands the main entity's data back in `reply`, with the status "OK", and
//! returns 1. Otherwise returns 0 with the record blank but its status: "EXIT" when the
//! person cancelled, else a Polish text saying why, for the caller to show as a warning.
//! Runs on the calling thread and shows the wait cursor while the register answers.
//!
//! Program parameters (the user's, else the company's): "GUS_Adres" the service's
//! address (default: the register's production service), "GUS_Klucz" the user key,
//! "GUS_LimitCzasu" seconds to wait for each answer (default 30).
int PODAJDANEGUS(GusReplyRecord& reply);

}  // namespace slownik::svc
