#include "dictionaries/documents/contact_form.h"

#include "framework/data/table_buffers.h"

namespace slownik::documents {

ContactForm::ContactForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor ContactForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 74;
  d.procedure = "Kontakt_Kontrahenta_Upd";
  d.table = "KONTAKT";
  d.titles = {"Dodawanie kontaktu", "Edycja kontaktu", "Podgląd kontaktu"};
  d.history = {{"?KNTK:NAZWISKO", 3}};
  d.helpPage = "kar_kon.htm";
  d.firstField = "?KNTK:NAZWISKO";
  d.warning = engine::WarningStyle::Message;
  return d;
}

bool ContactForm::checkBeforeSave() {
  if (engine::trimmed(text("KNTK:NAZWISKO")).empty()) {
    warn("Proszę wprowadzić nazwisko kontaktu.");
    return false;
  }
  return true;
}

void runContactForm() {
  ContactForm form;
  form.run();
}

}  // namespace slownik::documents
