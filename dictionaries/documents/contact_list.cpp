#include "dictionaries/documents/contact_list.h"

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/record_semaphore.h"
#include "dictionaries/documents/contact_list_columns.h"
#include "dictionaries/documents/contact_list_sibling_form.h"
#include "engine/contractor_list_look.h"
#include "engine/list_window.h"
#include "engine/record_form.h"
#include "framework/data/file_manager.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/services/column_dialog.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kInsert = "?INSERT";
constexpr const char* kChange = "?CHANGE";
constexpr const char* kDelete = "?DELETE";
constexpr const char* kView = "?VIEW";
constexpr const char* kRefresh = "?REFRESH";
constexpr const char* kColumnConfiguration = "Kontakt";
constexpr const char* kColumnsItem = "KonfiguracjaKolumn";
constexpr int kGgIcon = 1;
constexpr int kSkypeIcon = 2;
constexpr int kGgColumn = 10;
constexpr int kSkypeColumn = 11;

std::string rightTrimmed(std::string_view text) {
  std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

engine::ListDescriptor contactListDescriptor() {
  engine::ListDescriptor d;
  d.module = 73;
  d.procedure = "Kontakt_Brw_loc";
  d.table = "KONTAKT";
  d.helpPage = "kar_kon.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  d.sortOrders = {{"KNTK:KONTAKT_IDKONTR_NAZWISKO", engine::LocatorKind::Incremental, "KNTK:NAZWISKO", "?LOKATOR"}};
  d.columns = {"KNTK:NAZWISKO", "KNTK:IMIE",       "KNTK:TEL",   "KNTK:UWAGI", "KNTK:E_MAIL",   "KNTK:TEL_KOM",
               "KNTK:FAX",      "KNTK:STANOWISKO", "KNTK:TYTUL", "KNTK:GG_NR", "KNTK:SKYPE_NR", "KNTK:ID_KONTAKTU"};
  return d;
}

// The right to contractors and to this contractor's kind; false after the warning.
bool mayOpen(int kind, double contractorId) {
  if (svc::POBIERZUPRAWNIENIE("Kontr") != 1) {
    svc::MSG_OSTRZEZENIE("Brak uprawnień na dostęp do kontrahentów!");
    return false;
  }
  if (kind == kContractorUnknown) {
    std::string read = svc::FUNCSQL(
        "select isnull(odbiorca,0)*2+isnull(dostawca,0) from kontrahent with (nolock) where id_kontrahenta=" +
        sql::sqlId(contractorId));
    // Not knowing the kind must not let a user past the rights of either kind.
    if (rt::errorCode() != 0) {
      svc::MSG_OSTRZEZENIE(rt::errorText());
      return false;
    }
    kind = std::atoi(read.c_str());
  }
  if ((kind & kContractorSupplier) && svc::POBIERZUPRAWNIENIE("OKontrD") != 1) {
    svc::MSG_OSTRZEZENIE("Brak uprawnień na dostęp do kontrahentów (dostawców)!");
    return false;
  }
  if ((kind & kContractorRecipient) && svc::POBIERZUPRAWNIENIE("OKontrO") != 1) {
    svc::MSG_OSTRZEZENIE("Brak uprawnień na dostęp do kontrahentów (odbiorców)!");
    return false;
  }
  return true;
}

const char* logVerb(int request) {
  switch (request) {
    case data::kInsertRecord:
      return "Dodawanie";
    case data::kChangeRecord:
      return "Edycja";
    default:
      return "Usunięcie";
  }
}

class ContactList : public engine::ListWindow {
 public:
  ContactList(bool readOnly, double contractorId, std::string contractorName)
      : ListWindow(contactListDescriptor()),
        readOnly_(readOnly),
        contractorId_(contractorId),
        contractorName_(std::move(contractorName)),
        semaphore_("kontrahent", "Kontrahent jest aktualizowany przez innego użytkownika!") {}

  void setRanges(data::ViewManager& view) override {
    view.addRange("KNTK:ID_KONTRAHENTA", static_cast<long long>(contractorId_));
  }

  int opened() override {
    data::glo().KONTRAHENT_RESPONSE.set("");
    window()->setTitle("Lista kontaktów kontrahenta " + rightTrimmed(contractorName_));
    engine::applyContractorListLook(*window(), {kList});
    window()->setIconList(kList, {"~gg.ico", "~skype.ico"});
    applyColumns();
    showStartContact();
    showButtons();
    return 0;
  }

  void setQueueRecord(fw::ListRow& row, const data::ViewRow& source) override {
    ListWindow::setQueueRecord(row, source);
    setIcon(row, kGgColumn, engine::trimmed(data::field("KNTK:GG_NR").text()).empty() ? 0 : kGgIcon);
    setIcon(row, kSkypeColumn, engine::trimmed(data::field("KNTK:SKYPE_NR").text()).empty() ? 0 : kSkypeIcon);
  }

  int takeEvent(const rt::Event& e) override {
    int rc = ListWindow::takeEvent(e);
    if (window() && !window()->isClosed()) showButtons();
    return rc;
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kView) {
      browse().ask(data::kViewRecord);
      return fw::kLevelNotify;
    }
    if (e.control == kRefresh) {
      reload();
      return fw::kLevelNotify;
    }
    return ListWindow::takeAccepted(e);
  }

  void addPopupItems(fw::PopupClass& popup) override {
    popup.addItem("-");
    popup.setIcon(popup.addItem("Konfiguracja kolumn", kColumnsItem), "~_konfkol.ico");
  }

  void takePopupChoice(const std::string& item) override {
    if (item == kColumnsItem && svc::KONFIGURACJA_KOLUMN(kColumnConfiguration) == 1) applyColumns();
  }

  void closeActions() override {
    if (isOpened()) storeContactColumns(kColumnConfiguration, columns_);
    svc::CLOSESQL();
  }

  using ListWindow::run;
  int run(int, int request) override {
    if (request == data::kViewRecord) return callForm(request);
    if (readOnly_) return data::kRequestCancelled;
    if (svc::POBIERZUPRAWNIENIE("EKontr") != 1) {
      svc::MSG_OSTRZEZENIE("Brak uprawnień na edytowanie danych kontrahentów!");
      return data::kRequestCancelled;
    }
    if (request == data::kDeleteRecord && !confirmTasksDelete()) return data::kRequestCancelled;
    if (!semaphore_.take(contractorId_)) return data::kRequestCancelled;
    int response = callForm(request);
    // The contact is saved whatever the release and the log say; they only warn.
    semaphore_.release(contractorId_);
    if (response == data::kRequestCompleted) writeLog(request);
    return response;
  }

 private:
  void applyColumns() {
    columns_ = configuredContactColumns(kColumnConfiguration);
    window()->setFormat(kList, listFormatOf(columns_));
    browse().updateWindow();
  }

  // A caller that put one of this contractor's contacts in the buffer (the related
  // persons' form, by the name typed there) finds the list on it. The first page has
  // filled the buffer meanwhile, so the contact is read again by its id.
  void showStartContact() {
    if (startContact_ <= 0) return;
    data::field("KNTK:ID_KONTAKTU").set(startContact_);
    data::FileManager* contacts = data::fileManager("KONTAKT");
    if (!contacts || contacts->fetch("KNTK:PK_KONTAKT") != 0) return;
    browse().resetFromAsk(data::kChangeRecord, data::kRequestCompleted);
  }

  void showButtons() {
    if (readOnly_) {
      for (const char* b : {kInsert, kChange, kDelete}) {
        window()->disable(b);
        window()->hide(b);
      }
    }
    window()->enable(kView, browse().records() > 0);
  }

  // A contact with tasks of the customer-relations module is deleted only when the user
  // says so; a count that can't be read stops the delete.
  bool confirmTasksDelete() {
    std::string tasks = svc::FUNCSQL("select count(*) from crm_inter_kontakt where id_kontaktu=" +
                                     sql::sqlId(data::field("KNTK:ID_KONTAKTU").number()));
    if (rt::errorCode() != 0) {
      svc::MSG_OSTRZEZENIE(rt::errorText());
      return false;
    }
    if (std::atoi(tasks.c_str()) <= 0) return true;
    return rt::messageBox(
               "TRAMEL: Pytanie", "Kontakt, który chcesz usunąć posiada przypisane zadania cRm.|Czy usunąć kontakt?",
               rt::MessageIcon::Warning, rt::button::Yes | rt::button::No, rt::button::No) == rt::button::Yes;
  }

  int callForm(int request) {
    data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
    data::GLOBALRESPONSE() = data::kNoResponse;
    runContractorContactForm();
    return data::GLOBALRESPONSE() == data::kRequestCompleted ? data::kRequestCompleted : data::kRequestCancelled;
  }

  void writeLog(int request) {
    const std::string id = sql::sqlId(contractorId_);
    std::string label = sql::truncateUtf8(
        svc::FUNCSQL("select rtrim(nazwa)+'-'+rtrim(NIP) from kontrahent with (nolock) where id_kontrahenta=" + id),
        100);
    std::string what = std::string(logVerb(request)) + " kontaktu " + data::field("KNTK:NAZWISKO").text() + " " +
                       data::field("KNTK:IMIE").text() + " " + data::field("KNTK:E_MAIL").text();
    svc::EXECSQL("call  TK_ZapiszDoLogu(" + sql::sqlId(data::glo().ID_FIRMY.get()) + ",0," +
                 sql::sqlId(data::glo().ID_UZYTKOWNIKA.get()) + "," + id + ",'KONTRAHENT',2," + sql::quote(label) +
                 ",3," + sql::quote(what) + ")");
    if (rt::errorCode() != 0) svc::MSG_OSTRZEZENIE(rt::errorText());
  }

  bool readOnly_;
  double contractorId_;
  // The contact the buffer held at the call when it is one of this contractor's, else 0.
  double startContact_ = data::field("KNTK:ID_KONTRAHENTA").number() == contractorId_
                             ? data::field("KNTK:ID_KONTAKTU").number()
                             : 0;
  std::string contractorName_;
  engine::RecordSemaphore semaphore_;
  std::vector<std::string> columns_ = contactColumnDefaults();
};

}  // namespace

void KONTAKT_BRW_LOC(std::uint8_t contractorKind, std::uint8_t readOnly, double contractorId,
                     std::string_view contractorName) {
  if (!mayOpen(contractorKind, contractorId)) {
    data::GLOBALREQUEST() = data::kNoRequest;
    return;
  }
  ContactList list(readOnly == 1, contractorId, std::string(contractorName));
  list.run();
}

}  // namespace slownik::documents
