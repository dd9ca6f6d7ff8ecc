#include "dictionaries/banking/tax_office_list.h"

#include "dictionaries/banking/tax_office_form.h"
#include "framework/runtime/front_end.h"

namespace slownik::banking {
namespace {

constexpr const char* kSortList = "?SORTOWANIE";
constexpr const char* kLocator = "?LOKATOR";
const std::vector<std::string_view> kSortNames = {"nazwa", "miasto", "kod"};
constexpr int kSortOrders = 3;

engine::LockRules taxOfficeLockRules() {
  engine::LockRules r;
  r.table = "urzedy";
  r.lockedMessage = "Urząd jest aktualizowany przez innego użytkownika!";
  r.idField = "URZ:ID_URZEDU";
  r.primaryKey = "URZ:PK_URZEDY";
  r.semaforField = "URZ:SEMAFOR";
  r.lockColumns = {1, 2, 3, 4};
  r.insertRight = "DUrzedy";
  r.insertMessage = "Brak uprawnień na dodawanie urzędów!";
  r.changeRight = "OUrzedy";
  r.changeMessage = "Brak uprawnień na oglądanie Urzędów!";
  r.deleteRight = "UUrzedy";
  r.deleteMessage = "Brak uprawnień na usuwanie urzędów!";
  r.askBeforeRight = true;
  r.confirmDelete = [] {
    return rt::messageBox("TRAMEL:Pytanie", "Czy usunąć bieżący urząd?", rt::MessageIcon::Warning,
                          rt::button::Yes | rt::button::No, rt::button::No) == rt::button::Yes;
  };
  return r;
}

}  // namespace

TaxOfficeList::TaxOfficeList() : engine::LockedList(makeDescriptor(), taxOfficeLockRules()) {}

engine::ListDescriptor TaxOfficeList::makeDescriptor() {
  using engine::LocatorKind;
  engine::ListDescriptor d;
  d.module = 25;
  d.procedure = "Urzedy_Brw";
  d.table = "URZEDY";
  d.helpPage = "kar_urz.htm";
  d.right = "Urzedy";
  d.rightMessage = "Brak uprawnień na dostęp do urzędów!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {
      {"URZ:AK_URZAD_NAZWA_URZEDY", LocatorKind::Incremental, "URZ:NAZWA", kLocator},
      {"URZ:URZAD_MIEJSCOWOSC", LocatorKind::Incremental, "URZ:MIEJSCOWOSC", kLocator},
      {"URZ:URZAD_KOD", LocatorKind::Incremental, "URZ:KOD_POCZTOWY", kLocator},
      {"URZ:AK_URZAD_NAZWA_URZEDY", LocatorKind::Incremental, "URZ:NAZWA", kLocator},
  };
  d.columns = {"URZ:NAZWA",   "URZ:MIEJSCOWOSC", "URZ:KOD_POCZTOWY", "URZ:TELEFON",
               "URZ:SEMAFOR", "URZ:FLAGA_STANU", "URZ:ID_URZEDU"};
  d.form = [] { URZEDY_UPD(); };
  return d;
}

int TaxOfficeList::opened() {
  window()->setValue(kSortList, std::string(kSortNames[0]));
  chooseNamedSort(1, kSortOrders);
  return 0;
}

int TaxOfficeList::takeAccepted(const rt::Event& e) {
  if (e.control == kSortList) {
    chooseNamedSort(engine::sortNumber(window()->value(kSortList), kSortNames, 1), kSortOrders);
    return fw::kLevelNotify;
  }
  return engine::LockedList::takeAccepted(e);
}

}  // namespace slownik::banking

extern "C" void URZEDY_BRW() {
  slownik::banking::TaxOfficeList list;
  list.run();
}
