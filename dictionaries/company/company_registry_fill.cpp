#include "dictionaries/company/company_registry_fill.h"

#include "framework/data/table_buffers.h"
#include "framework/services/text_services.h"

namespace slownik::company {

using svc::GusField;

void takeRegistryCompany(const svc::GusReplyRecord& reply) {
  // The record buffer cuts each text at its field's width in characters.
  data::field("FIR:REGON").set(reply.text(GusField::Regon));
  data::field("FIR:NIP").set(reply.text(GusField::Nip));
  data::field("FIR:NAZWA").set(reply.text(GusField::Name));
  data::field("FIR:NAZWA_PELNA").set(reply.text(GusField::Name));
}

void takeRegistryAddress(const svc::GusReplyRecord& reply) {
  const std::string country = reply.text(GusField::Country);
  data::field("ADRFIR:SYM_KRAJU").set(country.empty() ? std::string("PL") : country);
  data::field("ADRFIR:WOJEWODZTWO").set(reply.text(GusField::Province));
  data::field("ADRFIR:POWIAT").set(reply.text(GusField::County));
  data::field("ADRFIR:MIEJSCOWOSC").set(reply.text(GusField::Town));
  data::field("ADRFIR:ULICA").set(svc::REPLACEALLSPACE(reply.text(GusField::Street)));
  data::field("ADRFIR:KOD_POCZTOWY").set(reply.text(GusField::Postcode));
  data::field("ADRFIR:E_MAIL").set(reply.text(GusField::Email));
  data::field("ADRFIR:TELEFON").set(reply.text(GusField::Phone));
}

}  // namespace slownik::company
