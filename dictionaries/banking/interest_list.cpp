#include "dictionaries/banking/interest_list.h"

#include "dictionaries/banking/interest_table_form.h"
#include "framework/runtime/front_end.h"

namespace slownik::banking {
namespace {

engine::LockRules interestLockRules() {
  engine::LockRules r;
  r.table = "tabela_odsetek";
  r.lockedMessage = "Kartoteka odsetek jest aktualizowana przez innego użytkownika!";
  r.deleteLockedMessage = "Tabela odsetek jest aktualizowana przez innego użytkownika!";
  r.idField = "TABODS:ID_TABELI_ODSETEK";
  r.primaryKey = "TABODS:PK_TABELA_ODSETEK";
  r.semaforField = "TABODS:SEMAFOR";
  r.lockColumns = {1};  // "Nazwa tabeli odsetek"
  r.insertRight = "DTabOds";
  r.insertMessage = "Brak uprawnień na dodawanie tabel odsetek!";
  r.changeRight = "OTabOds";
  r.changeMessage = "Brak uprawnień na oglądanie tabel odsetek!";
  r.deleteRight = "UTabOds";
  r.deleteMessage = "Brak uprawnień na usuwanie tabel odsetek!";
  // This list asks first and checks the right after.
  r.askBeforeRight = true;
  r.confirmDelete = [] {
    return rt::messageBox("TRAMEL: Pytanie", "Czy usunąć tabelę odsetek?", rt::MessageIcon::Warning,
                          rt::button::Yes | rt::button::No, rt::button::No) == rt::button::Yes;
  };
  return r;
}

}  // namespace

InterestList::InterestList() : engine::LockedList(makeDescriptor(), interestLockRules()) {}

engine::ListDescriptor InterestList::makeDescriptor() {
  engine::ListDescriptor d;
  d.module = 17;
  d.procedure = "Tabela_Odsetek_Brw";
  d.table = "TABELA_ODSETEK";
  d.windowKey = "TabOds";
  d.helpPage = "kar_fin_odset.htm";
  d.right = "TabOds";
  d.rightMessage = "Brak uprawnień na dostęp do tabel odsetek!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  // The key starts with the company, which the list's range fixes: the locator looks
  // for the typed name.
  d.sortOrders = {{"TABODS:PO_NAZWIE", engine::LocatorKind::Incremental, "TABODS:NAZWA", "?LOKATOR"}};
  d.companyField = "TABODS:ID_FIRMY";
  d.columns = {"TABODS:NAZWA", "TABODS:SEMAFOR", "TABODS:ID_TABELI_ODSETEK"};
  d.form = [] { TABELA_ODSETEK_UPD(); };
  return d;
}

}  // namespace slownik::banking

extern "C" void TABELA_ODSETEK_BRW() {
  slownik::banking::InterestList list;
  list.run();
}
