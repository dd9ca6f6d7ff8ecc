#pragma once
#include "framework/services/gus_registry_reply.h"

namespace slownik::company {

//! Takes the company's identification from the register's reply into the FIRMA record
//! buffer: REGON, NIP, and the name as both the short and the full name, each cut to
//! its field's width.
void takeRegistryCompany(const svc::GusReplyRecord& reply);

//! Writes the register's seat address into the ADRESY_FIRMY record buffer, over a
//! record the caller primed for an insert; the country is "PL" when the reply has none.
void takeRegistryAddress(const svc::GusReplyRecord& reply);

}  // namespace slownik::company
