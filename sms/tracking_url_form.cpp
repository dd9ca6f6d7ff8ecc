#include "sms/tracking_url_form.h"

#include "sms/name_check.h"

namespace slownik::sms {

TrackingUrlForm::TrackingUrlForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor TrackingUrlForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 79;
  d.procedure = "SMS_URL_upd";
  d.table = "SMS_TRACKING_URL";
  d.titles = {"Dodawanie osoby", "Edycja osoby", "Podgląd osoby"};
  d.history = {{"?SMST:NAZWA", 3}, {"?SMST:ADRES_WWW", 4}, {"?SMST:OPIS", 8}};
  d.helpPage = "sms_url_tracking.htm";
  d.firstField = "?SMST:NAZWA";
  d.warning = engine::WarningStyle::Message;
  return d;
}

bool TrackingUrlForm::checkBeforeSave() {
  return checkName(*this, {"SMS_TRACKING_URL", "SMST", "ID_TRACKING_URL",
                           "Śledzenie URL o podanej nazwie już istnieje.|Proszę wprowadzić inną nazwę!"});
}

void runTrackingUrlForm() {
  TrackingUrlForm form;
  form.run();
}

}  // namespace slownik::sms
