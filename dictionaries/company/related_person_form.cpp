#include "dictionaries/company/related_person_form.h"

#include <cstdlib>
#include <string>

#include "dictionaries/documents/contact_list.h"
#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::company {
namespace {

constexpr const char* kName = "?OSOP:NAZWA";
constexpr const char* kContactsButton = "?KONTAKTY";
constexpr int kContactsPicker = 1;
constexpr const char* kDuplicate = "Osoba o podanej nazwie już istnieje.|Proszę wprowadzić inną nazwę!";

std::string contractorText() { return sql::sqlId(data::field("OSOP:ID_KONTRAHENTA").number()); }

std::string rightTrimmed(std::string_view text) {
  std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

}  // namespace

RelatedPersonForm::RelatedPersonForm() : RecordForm(makeDescriptor()) {
  addPicker(kContactsPicker, [] {
    const double contractor = data::field("OSOP:ID_KONTRAHENTA").number();
    // The receivers' persons come from the contractor as a recipient; any other role
    // lets the contact list read the contractor's kind itself.
    const bool receivers = engine::equalsIgnoringCase(engine::trimmed(data::field("OSOP:FUNKCJA").text()), "Odbiorca");
    std::string name =
        svc::FUNCSQL("select nazwa from kontrahent with (nolock) where id_kontrahenta=" + sql::sqlId(contractor));
    documents::KONTAKT_BRW_LOC(receivers ? documents::kContractorRecipient : documents::kContractorUnknown, 0,
                               contractor, name);
  });
}

engine::FormDescriptor RelatedPersonForm::makeDescriptor() {
  engine::FormDescriptor d;
  d.module = 54;
  d.procedure = "Osoba_powiazana_Upd";
  d.table = "OSOBA_POWIAZANA";
  d.lookupTables = {"KONTAKT"};
  d.titles = {"Dodawanie osoby", "Edycja osoby", "Podgląd osoby"};
  d.history = {{kName, 7}};
  d.helpPage = "kar_kon.htm";
  d.firstField = kName;
  d.warning = engine::WarningStyle::Message;
  return d;
}

// The list primed the contractor, role and document kind; a new person starts empty.
void RelatedPersonForm::primeFields() {
  data::field("OSOP:CZY_DOMYSLNY").set(0);
  data::field("OSOP:NAZWA").set("");
}

void RelatedPersonForm::prepare() {
  const bool tied = data::field("OSOP:ID_KONTRAHENTA").number() > 0;
  window()->hide(kContactsButton, !tied);
  if (isReadOnly()) window()->disable(kContactsButton);
}

int RelatedPersonForm::afterAccepted(const rt::Event& e) {
  if (e.control == kContactsButton) {
    pickFromContacts();
    return fw::kLevelNotify;
  }
  return fw::kLevelBenign;
}

void RelatedPersonForm::pickFromContacts() {
  const std::string typed = engine::trimmed(text("OSOP:NAZWA"));
  data::field("KNTK:ID_KONTAKTU").set(0);
  if (!typed.empty()) {
    std::string found = svc::FUNCSQL(
        "Select top 1 id_kontaktu from kontakt with (nolock) where id_kontrahenta = " + contractorText() +
        " and rtrim(nazwisko)+' '+rtrim(imie) like  '%" + sql::escape(typed) + "%'");
    if (rt::errorCode() == 0 && std::atof(found.c_str()) > 0) {
      data::field("KNTK:ID_KONTAKTU").set(std::atof(found.c_str()));
      if (data::FileManager* contacts = data::fileManager("KONTAKT"); contacts && contacts->fetch("KNTK:PK_KONTAKT") != 0)
        data::field("KNTK:ID_KONTAKTU").set(0);
    }
  }
  if (pick(kContactsPicker) != data::kRequestCompleted) return;
  std::string name = rightTrimmed(data::field("KNTK:NAZWISKO").text()) + " " +
                     rightTrimmed(data::field("KNTK:IMIE").text());
  data::field("OSOP:NAZWA").set(sql::truncateUtf8(name, 50));
  window()->setValue(kName, data::field("OSOP:NAZWA").text());
  focus(kName);
}

bool RelatedPersonForm::checkBeforeSave() {
  const std::string name = engine::trimmed(text("OSOP:NAZWA"));
  if (name.empty()) {
    warn("Proszę wprowadzić nazwę!");
    return false;
  }
  // The name is unique among all the contractor's persons, of any role and document.
  std::string sql = request() == data::kInsertRecord
                        ? "select count(1) from osoba_powiazana where id_kontrahenta=" + contractorText() +
                              " and nazwa=" + sql::quote(text("OSOP:NAZWA"))
                        : "select count(1) from osoba_powiazana where  id_kontrahenta=" + contractorText() +
                              " and id_osopow<>" + sql::sqlId(data::field("OSOP:ID_OSOPOW").number()) +
                              " and nazwa=" + sql::quote(text("OSOP:NAZWA"));
  std::string count = svc::FUNCSQL(sql);
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    return false;
  }
  if (std::atoi(count.c_str()) >= 1) {
    warn(kDuplicate);
    return false;
  }
  return true;
}

void runRelatedPersonForm() {
  RelatedPersonForm form;
  form.run();
}

}  // namespace slownik::company
