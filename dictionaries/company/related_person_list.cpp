#include "dictionaries/company/related_person_list.h"

#include <string>

#include "dictionaries/company/related_person_form.h"
#include "engine/list_window.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::company {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kDefault = "?DOMYSLNY";
constexpr const char* kDefaultItem = "Domyslny";
constexpr int kDefaultIcon = 1;
constexpr int kNameColumn = 1;

engine::ListDescriptor relatedPersonDescriptor() {
  engine::ListDescriptor d;
  d.module = 53;
  d.procedure = "Osoba_Powiazana_brw";
  d.table = "OSOBA_POWIAZANA";
  d.helpPage = "kar_kon.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  d.sortOrders = {{"OSOP:PO_NAZWIE", engine::LocatorKind::Incremental, "OSOP:NAZWA", "?LOKATOR"}};
  d.companyField = "OSOP:ID_FIRMY";
  d.columns = {"OSOP:NAZWA", "OSOP:ID_OSOPOW"};
  d.form = runRelatedPersonForm;
  return d;
}

class RelatedPersonList : public engine::ListWindow {
 public:
  RelatedPersonList(double contractorId, std::string role, long document)
      : ListWindow(relatedPersonDescriptor()), contractorId_(contractorId), role_(std::move(role)), document_(document) {}

  // Ranges bind the caller's role as a value, and prime a new person with the
  // contractor, role and document kind of the list.
  void setRanges(data::ViewManager& view) override {
    if (contractorId_ != 0) view.addRange("OSOP:ID_KONTRAHENTA", static_cast<long long>(contractorId_));
    view.addRange("OSOP:FUNKCJA", role_);
    view.addRange("OSOP:DOKUMENT", static_cast<long long>(document_));
  }

  int opened() override {
    window()->setTitle(std::string("Lista osób ") +
                       (sql::toLowerAscii(engine::trimmed(role_)) == "odbiorca" ? "odbiorców" : ""));
    window()->setIconList(kList, {"~32redchk.ico"});
    return 0;
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    ListWindow::setQueueRecord(row, source);
    const bool isDefault = contractorId_ > 0 && data::field("OSOP:CZY_DOMYSLNY").number() == 1;
    setIcon(row, kNameColumn, isDefault ? kDefaultIcon : 0);
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kDefault) {
      toggleDefault();
      return fw::kLevelNotify;
    }
    return ListWindow::takeAccepted(e);
  }

  void addPopupItems(fw::PopupClass& popup) override {
    popup.addItem("-");
    popup.addItem("Domyślny", kDefaultItem);
  }

  void takePopupChoice(const std::string& item) override {
    if (item == kDefaultItem) toggleDefault();
  }

 private:
  // The selected person becomes the default of its contractor, role and document kind,
  // or stops being it; at most one person is the default.
  void toggleDefault() {
    const fw::ListRow* row = browse().selectedRow();
    if (!row || view().fetch(row->position()) != 0) return;
    const std::string id = sql::sqlId(data::field("OSOP:ID_OSOPOW").number());
    if (data::field("OSOP:CZY_DOMYSLNY").number() == 1) {
      svc::EXECSQL("update osoba_powiazana set CZY_DOMYSLNY=0 where ID_OSOPOW=" + id);
    } else {
      svc::EXECSQL("update osoba_powiazana set CZY_DOMYSLNY=0 where ID_KONTRAHENTA=" + sql::sqlId(contractorId_) +
                   " and FUNKCJA=" + sql::quote(role_) + " and DOKUMENT=" + std::to_string(document_));
      if (rt::errorCode() == 0) svc::EXECSQL("update osoba_powiazana set CZY_DOMYSLNY=1 where ID_OSOPOW=" + id);
    }
    if (rt::errorCode() != 0) warn(rt::errorText());
    reload();
    window()->select(kList);
  }

  double contractorId_;
  std::string role_;
  long document_;
};

}  // namespace
}  // namespace slownik::company

extern "C" void OSOBA_POWIAZANA_BRW(double contractorId, const char* role, long document) {
  slownik::company::RelatedPersonList list(contractorId, role ? role : "", document);
  list.run();
}
