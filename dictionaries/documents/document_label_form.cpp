#include "dictionaries/documents/document_label_form.h"

#include "dictionaries/documents/document_label_availability.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/front_end.h"

namespace slownik::documents {
namespace {

constexpr const char* kName = "?ETYD:NAZWA";
constexpr const char* kTextColour = "ETYD:KOLOR_NAPISU";
constexpr const char* kBackColour = "ETYD:KOLOR_TLA";
constexpr const char* kTextBox = "?BOX11";
constexpr const char* kBackBox = "?BOX12";
constexpr const char* kTextChoose = "?BUTTON11";
constexpr const char* kBackChoose = "?BUTTON12";
constexpr const char* kTextClear = "?BUTTON11:2";
constexpr const char* kBackClear = "?BUTTON12:2";
constexpr double kNoColour = -1;

std::vector<std::string> lockedControls() {
  std::vector<std::string> controls = {kTextChoose, kBackChoose, kTextClear, kBackClear};
  for (const char* box : labelAvailabilityControls()) controls.emplace_back(box);
  return controls;
}

}  // namespace

DocumentLabelForm::DocumentLabelForm() : RecordForm(makeDescriptor()) {}

engine::FormDescriptor DocumentLabelForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 65;
  d.procedure = "Etykieta_dokumentu_Upd";
  d.table = "ETYKIETA_DOKUMENTU";
  d.titles = {"Zapis zostanie dodany", "Zapis zostanie zmieniony", "Podgląd etykiety"};
  d.history = {{kName, 3}};
  d.lockedControls = lockedControls();
  d.helpPage = "etykiety_dok.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  return d;
}

void DocumentLabelForm::primeFields() {
  data::field(kTextColour).set(kNoColour);
  data::field(kBackColour).set(kNoColour);
  // Called on its own (not from the list), the form still files the label under the
  // company the user works in.
  if (data::field("ETYD:ID_FIRMY").number() <= 0) data::field("ETYD:ID_FIRMY").set(data::glo().ID_FIRMY.get());
}

void DocumentLabelForm::prepare() {
  if (request() != data::kInsertRecord) {
    LabelAvailability available = decodeLabelAvailability(text("ETYD:DOKUMENT"));
    for (std::size_t i = 0; i < available.size(); ++i)
      window()->setValue(labelAvailabilityControls()[i], available[i] ? "1" : "0");
  }
  showColour(kTextColour, kTextBox);
  showColour(kBackColour, kBackBox);
}

bool DocumentLabelForm::checkBeforeSave() {
  LabelAvailability available{};
  for (std::size_t i = 0; i < available.size(); ++i)
    available[i] = window()->value(labelAvailabilityControls()[i]) == "1";
  if (!isAnyAvailable(available)) {
    warn("Proszę zanaczyć przynajmniej jeden typ etykiety!");
    return false;
  }
  data::field("ETYD:DOKUMENT").set(encodeLabelAvailability(available));
  return true;
}

int DocumentLabelForm::afterAccepted(const rt::Event& e) {
  if (e.control == kTextChoose) {
    chooseColour(kTextColour, kTextBox);
  } else if (e.control == kBackChoose) {
    chooseColour(kBackColour, kBackBox);
  } else if (e.control == kTextClear) {
    clearColour(kTextColour, kTextBox);
  } else if (e.control == kBackClear) {
    clearColour(kBackColour, kBackBox);
  } else {
    return fw::kLevelBenign;
  }
  return fw::kLevelNotify;
}

void DocumentLabelForm::chooseColour(const char* field, const char* box) {
  update();  // what the user typed is kept when the dialog returns
  auto chosen = rt::frontEnd().colorDialog("Wybierz kolor", static_cast<long>(data::field(field).number()));
  if (!chosen) return;
  data::field(field).set(static_cast<double>(*chosen));
  showColour(field, box);
}

void DocumentLabelForm::clearColour(const char* field, const char* box) {
  update();
  data::field(field).set(kNoColour);
  showColour(field, box);
}

void DocumentLabelForm::showColour(const char* field, const char* box) {
  window()->setBackColor(box, static_cast<long>(data::field(field).number()));
}

}  // namespace slownik::documents

extern "C" void ETYKIETA_DOKUMENTU_UPD() {
  slownik::documents::DocumentLabelForm form;
  form.run();
}
