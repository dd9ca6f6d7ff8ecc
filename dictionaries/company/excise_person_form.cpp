#include "dictionaries/company/excise_person_form.h"

#include "dictionaries/company/place_pickers.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"

namespace slownik::company {
namespace {

constexpr const char* kCountry = "?AKCFP:SYM_KRAJU";

}  // namespace

ExcisePersonForm::ExcisePersonForm() : RecordForm(makeDescriptor()) { addPlacePickers(*this); }

engine::FormDescriptor ExcisePersonForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 71;
  d.procedure = "Akcyza_podatnik_upd";
  d.table = "AKCYZA_FIRMA_PODATNIK";
  d.lookupTables = {"KRAJE", "WOJEWODZTWO"};
  d.titles = {"Dodawanie osoby fizycznej", "Edycja osoby fizycznej", "Podgląd osoby fizycznej"};
  // Field numbers in AKCYZA_FIRMA_PODATNIK's order: company, id, then the person.
  d.history = {{"?AKCFP:IMIE", 3},        {"?AKCFP:NAZWISKO", 4},     {"?AKCFP:DATA_URODZENIA", 5},
               {kCountry, 6},             {"?AKCFP:WOJEWODZTWO", 7},  {"?AKCFP:POWIAT", 8},
               {"?AKCFP:GMINA", 9},       {"?AKCFP:ULICA", 10},       {"?AKCFP:NR_DOMU", 11},
               {"?AKCFP:NR_LOKALU", 12},  {"?AKCFP:MIEJSCOWOSC", 13}, {"?AKCFP:KOD_POCZTOWY", 14},
               {"?AKCFP:POCZTA", 15}};
  d.lockedControls = {"?KALENDARZ", "?KRAJ:WYBIERZ", "?WOJEWODZTWO:WYBIERZ"};
  d.helpPage = "vex_fir.htm";
  d.firstField = "?AKCFP:IMIE";
  d.warning = engine::WarningStyle::Message;
  return d;
}

void ExcisePersonForm::primeFields() {
  // Primed by the company's person list with the company; on its own, the current one.
  if (data::field("AKCFP:ID_FIRMY").number() <= 0) data::field("AKCFP:ID_FIRMY").set(data::glo().ID_FIRMY.get());
  data::field("AKCFP:SYM_KRAJU").set("PL");
}

bool ExcisePersonForm::checkBeforeSave() {
  bool ok = true;
  auto rule = [&](bool failed, const char* message) {
    if (!failed) return;
    warn(message);
    ok = false;
  };
  rule(engine::trimmed(text("AKCFP:IMIE")).empty() || engine::trimmed(text("AKCFP:NAZWISKO")).empty(),
       "Imię i nazwisko muszą być wypełnione!");
  rule(engine::trimmed(text("AKCFP:SYM_KRAJU")).empty(), "Symbol kraju musi być wypełniony!");
  rule(engine::trimmed(text("AKCFP:WOJEWODZTWO")).empty(), "Województwo musi być wypełnione!");
  rule(engine::trimmed(text("AKCFP:MIEJSCOWOSC")).empty(), "Miejscowość musi być wypełniona!");
  return ok;
}

int ExcisePersonForm::afterAccepted(const rt::Event& e) {
  if (e.control == "?KALENDARZ") {
    update();
    pickDate(*this, "AKCFP:DATA_URODZENIA");
  } else if (e.control == "?KRAJ:WYBIERZ") {
    update();
    if (pickCountry(*this, "AKCFP:SYM_KRAJU") == data::kRequestCompleted) focus("?AKCFP:WOJEWODZTWO");
    display();
  } else if (e.control == "?WOJEWODZTWO:WYBIERZ") {
    update();
    if (pickProvince(*this, "AKCFP:WOJEWODZTWO") == data::kRequestCompleted) focus("?AKCFP:POWIAT");
    display();
  } else if (e.control == kCountry) {
    const std::string typed = engine::trimmed(text("AKCFP:SYM_KRAJU"));
    if (!typed.empty() && !isKnownCountry(typed)) {
      if (pickCountry(*this, "AKCFP:SYM_KRAJU") != data::kRequestCompleted) {
        focus(kCountry);
        return fw::kLevelNotify;
      }
      display();
    }
  }
  return fw::kLevelBenign;
}

void AkcyzaPodatnikUpd() {
  ExcisePersonForm form;
  form.run();
}

}  // namespace slownik::company
