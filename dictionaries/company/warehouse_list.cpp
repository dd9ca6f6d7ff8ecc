#include "dictionaries/company/warehouse_list.h"

#include <cmath>
#include <cstdlib>

#include "dictionaries/company/warehouse_form.h"
#include "engine/list_columns.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/keys.h"
#include "framework/services/filters.h"
#include "framework/services/marking.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "framework/services/result_table.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/services/window_parameters.h"
#include "framework/sql/text.h"

namespace slownik::company {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kLocator = "?LOKATOR";
constexpr const char* kSortList = "?SORTOWANIE";
constexpr const char* kCount = "?ILOSCZAZ";
constexpr const char* kParameterWindow = "Magazyn_Brw";
constexpr const char* kWorkState = "Praca";

// List columns (1-based, in list order).
constexpr int kMarkColumn = 1;
constexpr int kMarkColumnWidth = 14;
constexpr int kCurrentColumn = 2;
constexpr int kMarkedIcon = 1;
constexpr int kUnmarkedIcon = 2;
constexpr int kCurrentIcon = 3;

constexpr int kKeypadPlus = 107;
constexpr int kKeypadMinus = 109;
constexpr int kShowMarkedKey = rt::key::ShiftMod + rt::key::F5;

constexpr const char* kMarkAllItem = "ZaznaczWszystko";
constexpr const char* kUnmarkAllItem = "OdznaczWszystko";
constexpr const char* kInvertItem = "OdwrocZaznaczone";
constexpr const char* kShowMarkedItem = "PokazZaznaczone";

std::string id(double value) { return sql::sqlId(value); }

bool isSynchronisationOff() { return svc::POBIERZPARAMKONF("s", "SynchroArt") == "Rozłączne"; }

}  // namespace

WarehouseListMode warehouseListMode(const std::string& context, double nest) {
  WarehouseListMode m;
  if (context == "GENZAM") {
    m.marking = m.markColumn = m.synchronisedOnly = m.readOnly = true;
  } else if (context == "KOPIAZAM") {
    m.synchronisedOnly = true;
  } else if (context == "TKBTOREB2B") {
    m.marking = m.markColumn = m.readOnly = true;
  } else if (context == "FILTRDOKHANDL" || context == "VEXIK") {
    m.markColumn = true;
  } else if (context == "MM") {
    m.everyWarehouse = true;
  }
  if (nest > 0) m.restricted = m.readOnly = m.marking = m.markColumn = true;
  return m;
}

WarehouseList::WarehouseList(double companyId) : ListWindow(makeDescriptor()), companyId_(companyId) {
  // A caller's context is for this opening only: the next list opened starts plain.
  mode_ = warehouseListMode(data::glo().KONTEKST.get(), data::glo().KONTEKST_GNIAZDO.get());
  data::glo().KONTEKST.set("");
  data::glo().KONTEKST_GNIAZDO.set(0);
  // Opened from a nest the list is there to choose from, whatever request came with it.
  if (mode_.restricted) data::GLOBALREQUEST() = data::kSelectRecord;
  // A nest hands over the warehouse it holds; otherwise the list opens on the one the
  // user works in.
  const double held = data::field("MAG:ID_MAGAZYNU").number();
  openOn_ = mode_.restricted && held > 0 ? held : data::glo().ID_MAGAZYNU.get();
}

engine::ListDescriptor WarehouseList::makeDescriptor() {
  using engine::LocatorKind;
  engine::ListDescriptor d;
  d.module = 30;
  d.procedure = "Magazyn_Brw";
  d.table = "MAGAZYN";
  d.windowKey = "Magazyny";
  d.helpPage = "vex_mag.htm";
  d.viewRight = "EMag";
  d.viewRightMessage = "Brak uprawnień na edycję magazynów!";
  d.deleteRight = "UMag";
  d.deleteRightMessage = "Brak uprawnień na usuwanie magazynów!";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  d.sortOrders = {
      {"MAG:MAGAZYN_SYMBOL", LocatorKind::Filter, "MAG:SYMBOL", kLocator},
      {"MAG:MAGAZYN_NAZWA", LocatorKind::Filter, "MAG:NAZWA", kLocator},
      {"MAG:MAGAZYN_NAZWA", LocatorKind::Incremental, "MAG:NAZWA", kLocator},
  };
  d.columns = {"MAG:KONTO_FK_MAGAZYNU", "MAG:ID_MAGAZYNU", "MAG:SYMBOL", "MAG:NAZWA",
               "MAG:WYROZNIK_SYNCHRONIZACJI", "A4BM:IDENTYFIKATORA", "MAG:LOKALIZACJA", "MAG:STAN_MAGAZYNU",
               "MAG:OPIS", "MAG:POLE1", "MAG:POLE2", "MAG:POLE3", "MAG:POLE4", "MAG:POLE5",
               "MAG:POLE6", "MAG:POLE7", "MAG:POLE8", "MAG:POLE9", "MAG:POLE10", "MAG:ID_MAGAZYNU"};
  d.headerSorter = true;
  d.columnConfiguration = kParameterWindow;
  d.spreadsheetExport = true;
  d.form = [] { MAGAZYN_UPD(); };
  return d;
}

// --- opening ---------------------------------------------------------------------------

void WarehouseList::setRanges(data::ViewManager& view) {
  view.addRange("MAG:ID_FIRMY", companyId_);
  if (const sql::TableDef* shops = data::findTable("VEX_A4B_SYSTEMY"))
    view.addJoin(*shops, "A4BM:ID_MAGAZYNU = MAG:ID_MAGAZYNU");
  if (mode_.synchronisedOnly) {
    std::string mark = svc::FUNCSQL("select rtrim(isnull(wyroznik_synchronizacji,'')) from magazyn where id_magazynu=" +
                                    id(data::glo().ID_MAGAZYNU.get()));
    synchronisationFilter_ = "len(rtrim(Wyroznik_Synchronizacji))>0 and Wyroznik_Synchronizacji = " + sql::quote(mark);
  }
  applyFilter();
}

void WarehouseList::applyFilter() {
  std::string filter;
  // A warehouse the user holds no "SYS" right in is not theirs to see, save for
  // inter-warehouse moves, which name any warehouse of the company.
  if (!mode_.everyWarehouse) filter = svc::objectRightFilter("SYS", "A.ID_MAGAZYNU");
  filter = svc::DODAJKOMPONENTFILTRA(filter, synchronisationFilter_);
  if (showMarked_)
    filter = svc::DODAJKOMPONENTFILTRA(filter, "a.id_magazynu in (select id from zaznaczone where uzycie=" +
                                                   std::to_string(kWarehouseMarkUsage) + " and id_sesji=" +
                                                   id(data::glo().ID_UZYTKOWNIKA.get()) + ")");
  view().setSqlFilter(filter.empty() ? "" : "+" + filter);
}

int WarehouseList::opened() {
  window()->setIconList(kList, {"~boxon.ico", "~boxoff.ico", "~32redchk.ico"});
  if (mode_.synchronisedOnly) window()->setTitle("Lista magazynów zsynchronizowanych");
  {
    // The mark column stays in the format at width 0 when it has no use: its place in the
    // row is fixed. Its width is the caller's mode, never the user's stored layout.
    std::vector<std::string> columns = engine::columnPieces(window()->control(kList)->format);
    if (!columns.empty()) {
      columns.front() = engine::withPieceWidth(columns.front(), mode_.markColumn ? kMarkColumnWidth : 0);
      std::string format;
      for (const auto& c : columns) format += c;
      window()->setFormat(kList, format);
    }
  }
  window()->hide(kCount, !mode_.marking);
  if (mode_.readOnly) {
    for (const char* c : {"?INSERT", "?CHANGE", "?DELETE"}) {
      window()->disable(c);
      if (mode_.restricted) window()->hide(c);
    }
  }
  // Marks a caller left from an earlier opening show as marked at once.
  if (mode_.marking) marksChanged();
  std::string stored = svc::POBIERZPARAMETROKNA(kParameterWindow, "sortowanie");
  int order = stored == "symbol" ? 1 : 2;
  window()->setValue(kSortList, order == 1 ? "symbol" : "nazwa");
  chooseNamedSort(order, 2);
  if (openOn_ > 0) {
    // The browse finds a row by the record's key, as it does for a row just saved.
    data::field("MAG:ID_MAGAZYNU").set(openOn_);
    browse().resetFromAsk(data::kChangeRecord, data::kRequestCompleted);
  }
  return 0;
}

// --- rows ------------------------------------------------------------------------------

void WarehouseList::setQueueRecord(fw::ListRow& row, const data::ViewRow& source) {
  ListWindow::setQueueRecord(row, source);
  const long long warehouse = std::llround(data::field("MAG:ID_MAGAZYNU").number());
  setIcon(row, kMarkColumn, marks_.count(warehouse) ? kMarkedIcon : kUnmarkedIcon);
  hideText(row, kMarkColumn);
  const double current = data::glo().ID_MAGAZYNU.get();
  setIcon(row, kCurrentColumn, current > 0 && warehouse == std::llround(current) ? kCurrentIcon : 0);
  hideText(row, kCurrentColumn);
}

double WarehouseList::selectedId() const {
  const fw::ListRow* row = const_cast<WarehouseList*>(this)->browse().selectedRow();
  // The id is carried last, after the shown columns and their icons.
  return row && !row->fields.empty() ? std::atof(row->fields.back().c_str()) : 0;
}

// --- marking ---------------------------------------------------------------------------

std::string WarehouseList::rowsStatement() const {
  std::string sql = "select A.ID_MAGAZYNU from MAGAZYN A where A.ID_FIRMY=" + id(companyId_);
  std::string filter = const_cast<WarehouseList*>(this)->view().filter();
  if (!filter.empty() && filter[0] == '+') filter.erase(0, 1);
  if (!filter.empty()) sql += " and (" + filter + ")";
  return sql;
}

void WarehouseList::toggleMark(double warehouse, bool moveDown) {
  if (warehouse <= 0) return;
  const long long key = std::llround(warehouse);
  const bool marked = marks_.count(key) != 0;
  int rc = marked ? svc::ODZNACZSQL(kWarehouseMarkUsage, warehouse) : svc::ZAZNACZSQL(kWarehouseMarkUsage, warehouse);
  if (rc != 0) {
    warn(rt::errorText());
    return;
  }
  if (marked) marks_.erase(key); else marks_.insert(key);
  marksChanged();
  if (moveDown) browse().scrollDown();
}

void WarehouseList::markAll() {
  if (svc::ZAZNACZALLSQL(kWarehouseMarkUsage, rowsStatement()) != 0) warn(rt::errorText());
  marksChanged();
}

void WarehouseList::unmarkAll() {
  if (svc::ODZNACZALLSQL(kWarehouseMarkUsage) != 0) warn(rt::errorText());
  marksChanged();
}

void WarehouseList::invertMarks() {
  if (svc::INWERSJASQL(kWarehouseMarkUsage, rowsStatement()) != 0) warn(rt::errorText());
  marksChanged();
}

void WarehouseList::marksChanged() {
  // The table is the truth (a failed statement changed nothing there): the set follows it.
  marks_.clear();
  svc::EXECSQL("select id from zaznaczone where uzycie=" + std::to_string(kWarehouseMarkUsage) +
               " and id_sesji=" + id(data::glo().ID_UZYTKOWNIKA.get()));
  while (svc::VAX().next()) marks_.insert(std::llround(std::atof(svc::VAX().field(1).c_str())));
  svc::CLOSESQL();
  window()->setText(kCount, svc::DISPLAYZAZNACZONE(static_cast<long>(marks_.size()), "magazynów"));
  if (showMarked_ && marks_.empty()) {
    showMarked_ = false;
    applyFilter();
  }
  reload();
}

void WarehouseList::toggleShowMarked() {
  if (!showMarked_ && svc::ILEZAZNACZONYCH(kWarehouseMarkUsage) == 0) {
    warn("Brak zaznaczonych magazynów.");
    return;
  }
  showMarked_ = !showMarked_;
  applyFilter();
  browse().fetch(fw::FetchDirection::First);
}

// --- events ----------------------------------------------------------------------------

void WarehouseList::setAlerts() {
  ListWindow::setAlerts();
  if (!window()) return;
  window()->alert(rt::key::F5);
  if (!mode_.marking) return;
  window()->alertOn(kList, rt::key::Space);
  window()->alertOn(kList, kKeypadPlus);
  window()->alertOn(kList, kKeypadMinus);
  window()->alert(kShowMarkedKey);
}

int WarehouseList::takeEvent(const rt::Event& e) {
  if (e.code == rt::event::AlertKey) {
    const bool locatorEmpty = window()->value(kLocator).empty();
    if (e.keyCode == rt::key::F5) {
      reload();
      return fw::kLevelNotify;
    }
    if (mode_.marking) {
      if (e.keyCode == kShowMarkedKey) {
        toggleShowMarked();
        return fw::kLevelNotify;
      }
      if (locatorEmpty && e.keyCode == rt::key::Space) {
        toggleMark(selectedId(), true);
        return fw::kLevelNotify;
      }
      if (locatorEmpty && e.keyCode == kKeypadPlus) {
        markAll();
        return fw::kLevelNotify;
      }
      if (locatorEmpty && e.keyCode == kKeypadMinus) {
        unmarkAll();
        return fw::kLevelNotify;
      }
    }
  }
  if (mode_.marking && e.code == rt::event::MouseDown && e.control == kList && !e.inHeader &&
      e.column == kMarkColumn && rt::key::base(e.keyCode) == rt::key::MouseLeft) {
    int rc = ListWindow::takeEvent(e);  // the click selects the row first
    toggleMark(selectedId(), false);
    return rc == fw::kLevelBenign ? fw::kLevelNotify : rc;
  }
  // The mark column carries the ledger number as its text only; sorting by it means nothing.
  if (e.code == rt::event::MouseDown && e.control == kList && e.inHeader && e.column == kMarkColumn)
    return fw::kLevelNotify;
  return ListWindow::takeEvent(e);
}

int WarehouseList::takeAccepted(const rt::Event& e) {
  if (e.control == kSortList) {
    int order = window()->value(kSortList) == "symbol" ? 1 : 2;
    chooseNamedSort(order, 2);
    svc::ZAPISZPARAMETROKNA(kParameterWindow, "sortowanie", order == 1 ? "symbol" : "nazwa");
    return fw::kLevelNotify;
  }
  return ListWindow::takeAccepted(e);
}

void WarehouseList::addPopupItems(fw::PopupClass& popup) {
  if (!mode_.marking) return;
  popup.addItem("-");
  popup.addItem("Zaznacz wszystko", kMarkAllItem);
  popup.addItem("Odznacz wszystko", kUnmarkAllItem);
  popup.addItem("Odwróć zaznaczone", kInvertItem);
  popup.addItem("Pokaż zaznaczone <Shift+F5>", kShowMarkedItem);
}

void WarehouseList::takePopupChoice(const std::string& item) {
  if (item == kMarkAllItem) markAll();
  else if (item == kUnmarkAllItem) unmarkAll();
  else if (item == kInvertItem) invertMarks();
  else if (item == kShowMarkedItem) toggleShowMarked();
}

// --- the form and delete ---------------------------------------------------------------

int WarehouseList::run(int number, int request) {
  if (mode_.readOnly && request != data::kViewRecord) return data::kRequestCancelled;
  if (request == data::kInsertRecord &&
      (svc::POBIERZUPRAWNIENIE("DMag") != 1 || svc::POBIERZUPRAWNIENIE("SYS") != 1)) {
    warn("Brak uprawnień na dodawanie magazynów!");
    return data::kRequestCancelled;
  }
  // The browse has read the row into the record buffer before asking.
  const double warehouse = data::field("MAG:ID_MAGAZYNU").number();
  if ((request == data::kChangeRecord || request == data::kDeleteRecord) &&
      engine::trimmed(data::field("MAG:STAN_MAGAZYNU").text()) != kWorkState) {
    warn("Nie można modyfikować magazynu, który jest w stanie remanentu/bilansu.");
    return data::kRequestCancelled;
  }
  if (request == data::kDeleteRecord) {
    if (svc::POBIERZUPRAWNIENIE("UMag") != 1) {
      warn("Brak uprawnień na usuwanie magazynów!");
      return data::kRequestCancelled;
    }
    return deleteWarehouse() ? data::kRequestCompleted : data::kRequestCancelled;
  }
  markBefore_ = engine::trimmed(data::field("MAG:WYROZNIK_SYNCHRONIZACJI").text());
  int response = ListWindow::run(number, request);
  afterForm(request, response, warehouse > 0 ? warehouse : data::field("MAG:ID_MAGAZYNU").number());
  return response;
}

bool WarehouseList::deleteWarehouse() {
  const double warehouse = data::field("MAG:ID_MAGAZYNU").number();
  if (warehouse == data::glo().ID_MAGAZYNU.get()) {
    warn("Nie możesz usunąć aktywnego magazynu!");
    return false;
  }
  if (svc::questionBox("Ta operacja spowoduje nieodwracalne usunięcie magazynu.|Czy chcesz ją wykonać?",
                       rt::button::No) != rt::button::Yes)
    return false;
  svc::EXECSQLWIN("call TK_UsunMagazyn(" + id(warehouse) + "," + id(data::glo().ID_UZYTKOWNIKA.get()) + ")",
                  "Usuwanie magazynu " + engine::trimmed(data::field("MAG:NAZWA").text()) + "...");
  if (rt::errorCode() != 0) {
    warn(rt::errorText());
    return false;
  }
  if (marks_.erase(std::llround(warehouse))) {
    svc::ODZNACZSQL(kWarehouseMarkUsage, warehouse);
    marksChanged();
  }
  return true;
}

void WarehouseList::afterForm(int request, int response, double warehouse) {
  if (response != data::kRequestCompleted) return;
  const std::string mark = engine::trimmed(data::field("MAG:WYROZNIK_SYNCHRONIZACJI").text());
  const bool startSynchronisation = request == data::kInsertRecord ? !mark.empty() : mark != markBefore_;
  // Clearing the mark takes the warehouse out of synchronisation: there is nothing to share.
  if (!isSynchronisationOff() && startSynchronisation && !mark.empty()) {
    // The warehouse's own company: the list may show another company than the one worked in.
    svc::EXECSQLWIN("call RM_StartSynchro(" + id(data::field("MAG:ID_FIRMY").number()) + ",1," + id(warehouse) + ")",
                    "Trwa inicjacja danych artykułów ...");
    if (rt::errorCode() != 0) warn(rt::errorText());
  }
  if (request == data::kChangeRecord && warehouse == data::glo().ID_MAGAZYNU.get()) {
    double account = data::field("MAG:ID_RACHUNKU").number();
    data::glo().ID_KONTA_MAGAZYNU.set(account > 0 ? account : 0);
  }
  if (request == data::kInsertRecord || request == data::kChangeRecord) {
    svc::EXECSQL("call TK_ZapiszDoLogu(" + id(data::glo().ID_FIRMY.get()) + "," + id(warehouse) + "," +
                 id(data::glo().ID_UZYTKOWNIKA.get()) + "," + id(warehouse) + ",'MAGAZYN'," +
                 (request == data::kInsertRecord ? "1" : "2") + "," +
                 sql::quote(engine::trimmed(data::field("MAG:SYMBOL").text())) + ",3)");
  }
  // The new warehouse may come with rights of its own: the next check reads them again.
  // (The list reads its page after the form anyway, with the rights filter in it.)
  if (request == data::kInsertRecord) svc::LADUJUPRAWNIENIA();
}

}  // namespace slownik::company

extern "C" void MAGAZYN_BRW(double id_firmy) {
  slownik::company::WarehouseList list(id_firmy);
  list.run();
}

extern "C" void MAGAZYN_SRC_BRW() { MAGAZYN_BRW(slownik::data::glo().ID_FIRMY.get()); }
