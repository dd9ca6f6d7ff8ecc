#include "dictionaries/documents/status_history_list.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/contractor_list_look.h"
#include "engine/list_window.h"
#include "framework/classes/split_manager.h"
#include "framework/data/globals.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/list_format.h"
#include "framework/services/excel_export.h"
#include "framework/services/messages.h"
#include "framework/services/service_database.h"
#include "framework/services/sql_services.h"
#include "framework/services/window_parameters.h"
#include "framework/sql/text.h"

namespace slownik::documents {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kUsers = "?LIST2";
constexpr const char* kSplitter = "?VSPLIT";
constexpr const char* kComment = "?VRZS:KOMENTARZ";
constexpr const char* kSortList = "?SORTOWANIE";
constexpr const char* kLocator = "?LOKATOR";
constexpr const char* kBackToList = "?CZY_FILTROWAC";
constexpr const char* kDelete = "?USUN";
constexpr const char* kDeleteShown = "?GRUPOWO";
constexpr const char* kParameterWindow = "HistoriaStatusowZamowien_Brw";
constexpr const char* kExportItem = "ExportBrowserToExcel";
const std::vector<std::string_view> kSortNames = {"użytkownik", "data i czas", "pracownik"};
constexpr int kByDate = 2;
constexpr int kByKey = 4;
constexpr int kSortStyles = 3;
// The list's own columns; the register row's id and comment ride behind them.
constexpr int kIdField = 9;
constexpr int kCommentField = 10;

engine::ListDescriptor historyList() {
  using engine::LocatorKind;
  engine::ListDescriptor d;
  d.module = 99;
  d.procedure = "HistoriaStatusowZamowien_Brw";
  d.table = "WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN";
  d.windowKey = "HistoriaStatusowZamowien_Brw";
  d.helpPage = "vex_zam.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;  // the resource's
  d.minHeight = 0;
  d.sortOrders = {{"VRZS:WG_UZYTKOWNIKA", LocatorKind::Incremental, "VRZS:NAZWAUZYTKOWNIKA", kLocator},
                  {"VRZS:WG_DATY", LocatorKind::Entry, "VRZS:DATACZASZMIANY_DATE", kLocator},
                  {"VRZS:WG_PRACOWNIKA", LocatorKind::Incremental, "VRZS:NAZWAPRACOWNIKA", kLocator},
                  {"VRZS:PK_IDREJESTRUZMIAN", LocatorKind::None, "", ""}};
  d.columns = {"VRZS:NAZWAUZYTKOWNIKA", "VRZS:DATACZASZMIANY_DATE", "VRZS:DATACZASZMIANY_TIME",
               "VRZS:NAZWAPRACOWNIKA",  "VRZS:STATUSPRZEDZMIANA",   "VRZS:STATUSPOZMIANIE",
               "VRZS:OPISSTATUSUPRZEDZMIANA", "VRZS:OPISSTATUSUPOZMIANIE", "VRZS:IDREJESTRUZMIAN",
               "VRZS:KOMENTARZ"};
  // The register is written by order handling; here rows are only looked at and deleted.
  d.insertButton = d.changeButton = d.deleteButton = d.selectButton = false;
  return d;
}

std::string clipRight(std::string text) {
  std::size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

class StatusHistoryList : public engine::ListWindow {
 public:
  explicit StatusHistoryList(double orderId) : ListWindow(historyList()), orderId_(orderId) {}

  void setRanges(data::ViewManager&) override { applyFilter(false); }

  int opened() override {
    std::string number = svc::FUNCSQL("select numer from zamowienie with (nolock) where id_zamowienia=" +
                                      sql::sqlId(orderId_));
    window()->setTitle("Historia zmian statusu zamówienia nr " + clipRight(number));
    engine::applyContractorListLook(*window(), {kList, kUsers});
    window()->setIconList(kUsers, {"~folder.ico"});
    loadUsers();
    if (splitter_.init(sharedWindow(), kSplitter, kUsers, kList)) splitter_.restore(kParameterWindow);
    std::string stored = svc::POBIERZPARAMETROKNA(kParameterWindow, "sortowanie");
    std::string choice = engine::sortNumber(stored, kSortNames, 0) == 0 ? std::string(kSortNames[kByDate - 1]) : stored;
    window()->setValue(kSortList, choice);
    chooseSort(engine::sortNumber(choice, kSortNames, kByKey));
    return 0;
  }

  int takeEvent(const rt::Event& e) override {
    if (e.control == kUsers && (e.code == rt::event::NewSelection || e.code == rt::event::Accepted)) {
      applyFilter(true);
      return fw::kLevelNotify;
    }
    if (e.code == rt::event::AlertKey && e.keyCode == rt::key::F5) {
      loadUsers();
      applyFilter(true);
      return fw::kLevelNotify;
    }
    int rc = ListWindow::takeEvent(e);
    if (window() && !window()->isClosed()) showComment();
    return rc;
  }

  int takeAccepted(const rt::Event& e) override {
    if (e.control == kSortList) {
      chooseSort(engine::sortNumber(window()->value(kSortList), kSortNames, kByKey));
      return fw::kLevelNotify;
    }
    if (e.control == kBackToList) {
      window()->select(kList);
      return fw::kLevelNotify;
    }
    if (e.control == kDelete) {
      deleteCurrent();
      return fw::kLevelNotify;
    }
    if (e.control == kDeleteShown) {
      deleteShown();
      return fw::kLevelNotify;
    }
    return ListWindow::takeAccepted(e);
  }

  void addPopupItems(fw::PopupClass& popup) override {
    std::string name = popup.addItem("Eksport do Excela", kExportItem);
    popup.setIcon(name, "~export.ico");
  }

  void takePopupChoice(const std::string& item) override {
    if (item == kExportItem) exportToSpreadsheet();
  }

  void closeActions() override {
    if (!isOpened()) return;
    std::string choice = window()->value(kSortList);
    svc::ZAPISZPARAMETROKNA(kParameterWindow, "sortowanie", choice);
    splitter_.save(kParameterWindow);
    svc::CLOSESQL();
  }

 private:
  struct User {
    std::string text;
    std::string filter;
  };

  void loadUsers() {
    users_ = {{"Wszyscy użytkownicy", ""}};
    sql::Result r;
    if (svc::serviceRun("select nazwa,identyfikator,id_uzytkownika from uzytkownik with (nolock) order by "
                        "identyfikator",
                        &r)) {
      for (std::size_t i = 0; i < r.rows.size(); ++i)
        users_.push_back({clipRight(r.text(i, 0)) + " (" + clipRight(r.text(i, 1)) + ")",
                          "A.IdUzytkownika=" + sql::sqlId(std::atof(r.text(i, 2).c_str()))});
    }
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < users_.size(); ++i) rows.push_back({users_[i].text, i == 0 ? "0" : "1"});
    window()->setRows(kUsers, std::move(rows));
    window()->setSelection(kUsers, 1);
  }

  // The order's rows, and the chosen user's alone when one is chosen.
  void applyFilter(bool reset) {
    filter_ = "A.IdZamowienia=" + sql::sqlId(orderId_);
    int chosen = window() ? window()->control(kUsers)->selection : 0;
    if (chosen > 1 && chosen <= static_cast<int>(users_.size()))
      filter_ += " and " + users_[static_cast<std::size_t>(chosen - 1)].filter;
    view().setSqlFilter("+" + filter_);
    if (reset) {
      browse().resetQueue();
      showComment();
    }
  }

  void chooseSort(int order) {
    window()->setPicture(kLocator, order == 1 ? "@s50" : order == kByDate ? "@d17" : "@s100");
    chooseNamedSort(order, kSortStyles);
    showComment();
  }

  void showComment() {
    const fw::ListRow* row = browse().selectedRow();
    std::string comment = row ? row->field(kCommentField) : "";
    if (window()->value(kComment) != comment) window()->setValue(kComment, comment);
  }

  void deleteCurrent() {
    const fw::ListRow* row = browse().selectedRow();
    double id = row ? std::atof(row->field(kIdField).c_str()) : 0;
    if (id <= 0 || svc::MSG_PYTANIE("Czy usunąć bieżący zapis historii zmian statusów?") != svc::kYes) return;
    runDelete("delete from WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN where IdRejestruZmian=" + sql::sqlId(id));
  }

  void deleteShown() {
    if (filter_.empty() || svc::MSG_PYTANIE("Czy usunąć zapisy historii statusów z podanego zakresu?") != svc::kYes)
      return;
    runDelete("delete WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN from WIDOK_REJESTR_ZMIAN_STATUSOW_ZAMOWIEN a where " +
              filter_);
  }

  void runDelete(const std::string& statement) {
    svc::EXECSQL(statement);
    if (rt::errorCode() != 0) {
      svc::MSG_OSTRZEZENIE(rt::errorText());
      return;
    }
    reload();
    showComment();
  }

  // Every row the list shows under its filter and order, not only the page in view.
  void exportToSpreadsheet() {
    auto control = window()->control(kList);
    std::optional<rt::ListFormat> format = control ? rt::ListFormat::parse(control->format) : std::nullopt;
    if (!format) return;
    rt::FileDialogRequest ask;
    ask.title = "Eksport do Excela";
    ask.fileName = "historia_statusow.xlsx";
    ask.filter = "Skoroszyt programu Excel|*.xlsx";
    ask.save = true;
    ask.parent = sharedWindow();
    std::optional<std::string> path = rt::frontEnd().fileDialog(ask);
    if (!path || path->empty()) return;
    svc::ExportList list;
    for (const auto& c : format->columns) list.columns.push_back({c.header, "@" + c.pictureText + "@", c.width});
    std::vector<data::ViewRow> rows;
    // The history of one order is short; the cap keeps a runaway filter from eating memory.
    constexpr int kMostRows = 100000;
    if (view().firstPage(kMostRows, rows) != 0) {
      svc::MSG_OSTRZEZENIE("Nie udało się odczytać historii! Powód: " + view().errorText());
      return;
    }
    for (const auto& row : rows) {
      view().load(row);
      std::vector<std::string> cells;
      for (std::size_t i = 0; i < format->columns.size() && i < descriptor().columns.size(); ++i)
        cells.push_back(format->columns[i].picture.format(data::field(descriptor().columns[i]).text()));
      list.rows.push_back(std::move(cells));
    }
    if (svc::EXPORTBROWSERTOEXCEL(list, *path, "Historia").empty())
      svc::MSG_OSTRZEZENIE("Nie udało się zapisać pliku! Powód: " + rt::errorText());
  }

  double orderId_;
  std::vector<User> users_;
  std::string filter_;
  fw::SplitManager splitter_;
};

}  // namespace
}  // namespace slownik::documents

extern "C" void HISTORIASTATUSOWZAMOWIEN_BRW(const char* orderId) {
  // The id comes as text; only a whole number names an order.
  const char* text = orderId ? orderId : "";
  char* end = nullptr;
  double id = std::strtod(text, &end);
  while (end && *end == ' ') ++end;
  if (!end || *end != '\0' || end == text || id != static_cast<double>(static_cast<long long>(id))) id = 0;
  slownik::documents::StatusHistoryList list(id);
  list.run();
}
