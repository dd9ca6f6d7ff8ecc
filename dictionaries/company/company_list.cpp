#include "dictionaries/company/company_list.h"
#include "dictionaries/company/window_closer.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "dictionaries/banking/account_procedures.h"
#include "dictionaries/company/company_form.h"
#include "engine/record_form.h"
#include "framework/data/globals.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/services/edocuments.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "framework/services/result_table.h"
#include "framework/services/rights.h"
#include "framework/services/sql_services.h"
#include "framework/sql/routines/company_routines.h"
#include "framework/sql/text.h"

namespace slownik::company {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kLocator = "?LOKATOR";
constexpr const char* kFilterList = "?FILTROWANIE_STR";
constexpr const char* kConnectButton = "?PODLACZ";
constexpr const char* kEdocumentsButton = "?EDOKUMENTY";
constexpr const char* kResource = "slownik$slown034";
constexpr double kAdministrator = 6100003;

// The filter choices, in the drop list's order; each is a sort order of its own.
constexpr const char* kConnectedChoice = "Firmy współpracujące z TRAMEL";
constexpr const char* kOthersChoice = "Firmy nie współpracujące z TRAMEL";
constexpr const char* kAllChoice = "Wszystkie firmy";
constexpr int kConnectedOrder = 1;
constexpr int kAllOrder = 3;
constexpr const char* kFilters[] = {"(FIR:VEX=1 and FIR:ID_FIRMY>0)", "(FIR:VEX<>1 and FIR:ID_FIRMY>0)",
                                    "(FIR:ID_FIRMY>0)"};

// List columns (from 1) and icons (from 1, in the icon list's order).
constexpr int kCurrentColumn = 1;
constexpr int kAttachmentColumn = 2;
constexpr int kNameColumn = 3;
constexpr int kFirstFlagColumn = 4;
constexpr int kFlagColumns = 5;
constexpr int kFillerColumn = 9;
constexpr int kCurrentIcon = 1;
constexpr int kAttachmentIcon = 2;
constexpr int kFlagOnIcon = 3;
constexpr int kFlagOffIcon = 4;
constexpr const char* kFlags[kFlagColumns] = {"FIR:VEX", "FIR:TOBRA", "FIR:MILEN", "FIR:ORZ2000", "FIR:PLEW"};

constexpr const char* kChooseItem = "Wybierz";
constexpr const char* kConnectItem = "Podlacz";
constexpr const char* kEdocumentsItem = "eDokumenty";

constexpr const char* kLockedMessage = "Firma jest aktualizowana przez innego użytkownika!";
constexpr const char* kNoGroups =
    "W tej firmie nie jesteś przydzielony do żadnych grup użytkowników.|W celu ich przydzielenia skontaktuj się z "
    "|administratorem systemu TRAMEL!";
constexpr const char* kNoEditRight =
    "W tej firmie nie masz przydzielonych uprawnień do edycji.|W celu ich przydzielenia skontaktuj się z "
    "administratorem|systemu TRAMEL!";
constexpr const char* kNoRights =
    "W tej firmie nie masz przydzielonych żadnych uprawnień.|W celu ich przydzielenia skontaktuj się z "
    "|administratorem systemu TRAMEL!";

std::string id(double value) { return sql::sqlId(value); }
double user() { return engine::currentUser(); }
bool isAdministrator() { return user() == kAdministrator; }

engine::LockRules companyLockRules() {
  engine::LockRules r;
  r.table = "firma";
  r.lockedMessage = kLockedMessage;
  r.idField = "FIR:ID_FIRMY";
  r.primaryKey = "FIR:PK_FIRMA";
  r.semaforField = "FIR:SEMAFOR";
  r.lockColumns = {kNameColumn};
  r.logKind = "FIRMA";
  return r;
}

// A count asked of the database; nullopt (after the warning) when it could not be read.
std::optional<long> count(const std::string& sql) {
  std::string n = svc::FUNCSQL(sql);
  if (rt::errorCode() != 0) {
    svc::MSG_OSTRZEZENIE(rt::errorText());
    return std::nullopt;
  }
  return std::atol(n.c_str());
}

// The wait cursor for as long as it lives.
class WaitCursor {
 public:
  WaitCursor() { rt::frontEnd().setBusy(true); }
  ~WaitCursor() { rt::frontEnd().setBusy(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// A small window with the gears and a line of text, shown while the server works.
class WaitWindow {
 public:
  explicit WaitWindow(const char* type) : window_(rt::Window::open(kResource, type)) {
    if (window_) work_ = std::make_unique<rt::WorkInProgress>(window_->id());
  }
  ~WaitWindow() {
    work_.reset();
    if (window_ && !window_->isClosed()) window_->close();
  }
  WaitWindow(const WaitWindow&) = delete;
  WaitWindow& operator=(const WaitWindow&) = delete;
  void setText(const char* control, const std::string& text) {
    if (window_) window_->setText(control, text);
  }

 private:
  std::shared_ptr<rt::Window> window_;
  std::unique_ptr<rt::WorkInProgress> work_;
};

// The ids a statement lists, in its order.
std::vector<double> ids(const std::string& sql) {
  std::vector<double> out;
  svc::EXECSQL(sql);
  if (rt::errorCode() == 0)
    while (svc::VAX().next()) out.push_back(std::atof(svc::VAX().field(1).c_str()));
  svc::CLOSESQL();
  return out;
}

// `preferred` when it is among `candidates`, else the first of them; 0 for none.
double preferredOr(double preferred, const std::vector<double>& candidates) {
  for (double c : candidates)
    if (preferred > 0 && c == preferred) return c;
  return candidates.empty() ? 0 : candidates.front();
}

}  // namespace

void switchToCompany(double company) {
  data::glo().ID_FIRMY = company;
  svc::EXECSQL("select MP, METODA_KASOWA, ID_RACHUNKU from FIRMA where ID_FIRMY=" + id(company));
  if (rt::errorCode() == 0 && svc::VAX().next()) {
    data::glo().MP = std::atof(svc::VAX().field(1).c_str());
    data::glo().METODA_KASOWA = std::atof(svc::VAX().field(2).c_str());
    data::glo().ID_KONTA_BANKOWEGO = std::max(0.0, std::atof(svc::VAX().field(3).c_str()));
  }
  svc::CLOSESQL();
  // The company's default account per currency, as documents pick them.
  LADUJDOMYSLNERACHUNKI();

  // The warehouses the user may work in (the right "SYS" per warehouse, read for the
  // company just made current), the default one first when it is among them.
  std::string warehouses = "select A.ID_MAGAZYNU from MAGAZYN A where A.ID_FIRMY=" + id(company);
  if (std::string only = svc::objectRightFilter("SYS", "A.ID_MAGAZYNU"); !only.empty()) warehouses += " and " + only;
  const double warehouse = preferredOr(std::atof(svc::POBIERZPARAMKONF("u", "DomMagazyn").c_str()),
                                       ids(warehouses + " order by A.ID_MAGAZYNU"));
  data::glo().ID_MAGAZYNU = warehouse;
  const std::string account =
      warehouse > 0 ? svc::FUNCSQL("select ID_RACHUNKU from MAGAZYN where ID_MAGAZYNU=" + id(warehouse)) : "";
  data::glo().ID_KONTA_MAGAZYNU = std::max(0.0, std::atof(account.c_str()));

  // Cash desks given to the user one by one come first; without such a grant any desk of
  // the company will do (a general right "Kasy" covers them all).
  const double defaultDesk = std::atof(svc::POBIERZPARAMKONF("u", "DomKasa").c_str());
  const std::string desks = "select A.ID_KASY from KASY_FIRMY A where A.ID_FIRMY=" + id(company);
  std::vector<double> granted;
  if (std::string only = svc::objectRightFilter("Kasy", "A.ID_KASY"); !only.empty())
    granted = ids(desks + " and " + only + " order by A.ID_KASY");
  double desk = preferredOr(defaultDesk, granted);
  if (desk == 0) desk = preferredOr(defaultDesk, ids(desks + " order by A.ID_KASY"));
  data::glo().ID_KASY = desk;
}

CompanyList::CompanyList() : engine::LockedList(makeDescriptor(), companyLockRules()) {}

engine::ListDescriptor CompanyList::makeDescriptor() {
  using engine::LocatorKind;
  engine::ListDescriptor d;
  d.module = 34;
  d.procedure = "Firma_Brw";
  d.table = "FIRMA";
  d.windowKey = "DanePodm";
  d.helpPage = "vex_fir.htm";
  d.warning = engine::WarningStyle::Message;
  d.minWidth = 0;
  d.minHeight = 0;
  // One order per filter choice, all by name.
  for (int i = 0; i < 3; ++i)
    d.sortOrders.push_back({"FIR:FIRMA_NAZWA", LocatorKind::Incremental, "FIR:NAZWA", kLocator});
  d.columns = {"FIR:ID_FIRMY", "FIRZAL:LICZBA_ZALACZNIKOW", "FIR:NAZWA", "FIR:VEX",  "FIR:TOBRA",   "FIR:MILEN",
               "FIR:ORZ2000",  "FIR:PLEW",                  "FIR:PLEW",  "FIR:ID_FIRMY", "FIR:VEX", "FIR:SEMAFOR"};
  // "Wybierz" is this list's own: it chooses the company to work in, not only a pick.
  d.selectButton = false;
  d.form = [] { FIRMA_UPD(); };
  return d;
}

// --- opening ---------------------------------------------------------------------------

int CompanyList::opened() {
  window()->setIconList(kList, {"~32redchk.ico", "~zalaczniki.ico", "~boxon.ico", "~boxoff.ico"});
  if (const sql::TableDef* attachments = data::findTable("FIRMA_ZALACZNIK"))
    view().addJoin(*attachments, "FIRZAL:ID_FIRMY = FIR:ID_FIRMY and FIRZAL:PRGKOD = 3");
  const double current = data::glo().ID_FIRMY.get();
  const int order = current > 0 ? kConnectedOrder : kAllOrder;
  window()->setValue(kFilterList, order == kConnectedOrder ? kConnectedChoice : kAllChoice);
  applyFilter(order);
  if (current > 0) {
    data::field("FIR:ID_FIRMY").set(current);
    browse().resetFromAsk(data::kChangeRecord, data::kRequestCompleted);
  }
  updateButtons();
  return 0;
}

void CompanyList::applyFilter(int choice) {
  view().setFilter(kFilters[choice - 1]);
  chooseNamedSort(choice, 0);
}

// --- rows and buttons ------------------------------------------------------------------

void CompanyList::setQueueRecord(fw::ListRow& row, const data::ViewRow& source) {
  LockedList::setQueueRecord(row, source);
  const double company = data::field("FIR:ID_FIRMY").number();
  const double current = data::glo().ID_FIRMY.get();
  setIcon(row, kCurrentColumn, current > 0 && company == current ? kCurrentIcon : 0);
  hideText(row, kCurrentColumn);
  setIcon(row, kAttachmentColumn, data::field("FIRZAL:LICZBA_ZALACZNIKOW").integer() > 0 ? kAttachmentIcon : 0);
  for (int i = 0; i < kFlagColumns; ++i) {
    setIcon(row, kFirstFlagColumn + i, data::field(kFlags[i]).integer() == 1 ? kFlagOnIcon : kFlagOffIcon);
    hideText(row, kFirstFlagColumn + i);
  }
  hideText(row, kFillerColumn);
}

CompanyList::Selected CompanyList::selected() const {
  Selected s;
  const fw::ListRow* row = const_cast<CompanyList*>(this)->browse().selectedRow();
  // The id, VEX and SEMAFOR are carried last, after the shown columns and their icons.
  if (!row || row->fields.size() < 3) return s;
  const auto& f = row->fields;
  s.id = std::atof(f[f.size() - 3].c_str());
  s.connected = std::atoi(f[f.size() - 2].c_str()) == 1;
  s.semafor = std::atof(f[f.size() - 1].c_str());
  return s;
}

void CompanyList::updateButtons() {
  if (!window() || window()->isClosed()) return;
  const Selected s = selected();
  connected_ = s.connected;
  // A company not connected to this program can only be connected, added, or looked at.
  for (const char* c : {"?CHANGE", "?DELETE", "?SELECT"}) window()->enable(c, s.id > 0 && s.connected);
  window()->setText(kConnectButton, s.connected ? "Odłą&cz" : "Podłą&cz");
  // The company the user works in stays connected while they work in it.
  window()->enable(kConnectButton, s.id > 0 && s.id != data::glo().ID_FIRMY.get());
}

void CompanyList::setAlerts() {
  LockedList::setAlerts();
  if (window()) window()->alert(rt::key::F5);
}

int CompanyList::takeEvent(const rt::Event& e) {
  int rc = fw::kLevelBenign;
  if (e.code == rt::event::AlertKey && e.keyCode == rt::key::F5) {
    reload();
    rc = fw::kLevelNotify;
  } else if (e.code == rt::event::Accepted && e.control == kList) {
    // Enter or a double click on a company chooses it.
    choose();
    rc = fw::kLevelNotify;
  } else {
    rc = LockedList::takeEvent(e);
  }
  updateButtons();
  return rc;
}

int CompanyList::takeAccepted(const rt::Event& e) {
  if (e.control == kFilterList) {
    const std::string choice = window()->value(kFilterList);
    applyFilter(choice == kConnectedChoice ? 1 : choice == kOthersChoice ? 2 : 3);
    return fw::kLevelNotify;
  }
  if (e.control == "?SELECT") {
    choose();
    return fw::kLevelNotify;
  }
  if (e.control == kConnectButton) {
    toggleConnection();
    return fw::kLevelNotify;
  }
  if (e.control == kEdocumentsButton) {
    openEdocuments();
    return fw::kLevelNotify;
  }
  return LockedList::takeAccepted(e);
}

void CompanyList::addPopupItems(fw::PopupClass& popup) {
  popup.addItemMimic(kChooseItem, "?SELECT", "&Wybierz");
  LockedList::addPopupItems(popup);
  popup.addItemMimic(kEdocumentsItem, kEdocumentsButton, "e-Dokumenty <Ctrl+E>");
  popup.setIcon(kEdocumentsItem, "epit.ico");
  popup.addItem("-");
  popup.addItemMimic(kConnectItem, kConnectButton, connected_ ? "Odłącz <Ctrl+O>" : "Podłącz <Ctrl+O>");
  popup.setIcon(kConnectItem, "rozlacz.ico");
}

void CompanyList::openEdocuments() {
  const Selected s = selected();
  if (s.id <= 0) return;
  svc::EDOKVIEW(svc::kEdocumentCompany, s.id);
  // Files added or deleted change the row's attachment count.
  reload();
  window()->select(kList);
}

// --- rights ------------------------------------------------------------------------------

bool CompanyList::isMember(double company) const {
  auto groups = count("select count(*) from uzytkownikgrupy u, grupauzytkownikow g where g.id_firmy=" + id(company) +
                      " and g.id_grupy=u.id_grupy and u.id_uzytkownika=" + id(user()));
  if (!groups) return false;
  if (*groups == 0) {
    svc::MSG_OSTRZEZENIE(kNoGroups);
    return false;
  }
  return true;
}

bool CompanyList::mayEdit(double company) const {
  if (isAdministrator()) return true;
  if (!isMember(company)) return false;
  auto rights = count("select count(*) from DOSTEP d inner join UZYTKOWNIKGRUPY u on (d.id_grupy=u.id_grupy) where "
                      "d.kod='EDanePodm' and d.id_firmy=" + id(company) +
                      " and d.rodzaj_dostepu>0 and u.id_uzytkownika=" + id(user()));
  if (!rights) return false;
  if (*rights == 0) {
    svc::MSG_OSTRZEZENIE(kNoEditRight);
    return false;
  }
  return true;
}

bool CompanyList::mayWorkIn(double company) const {
  if (isAdministrator()) return true;
  if (!isMember(company)) return false;
  // The right must be held by one of the user's own groups; a right of some other group
  // of the company gives this user nothing.
  auto rights = count("select count(*) from DOSTEP d inner join UZYTKOWNIKGRUPY u on (d.id_grupy=u.id_grupy) where "
                      "d.kod='SYS' and d.id_firmy=" + id(company) +
                      " and d.rodzaj_dostepu>0 and u.id_uzytkownika=" + id(user()));
  if (!rights) return false;
  if (*rights == 0) {
    svc::MSG_OSTRZEZENIE(kNoRights);
    return false;
  }
  return true;
}

// --- choosing and connecting -------------------------------------------------------------

void CompanyList::choose() {
  if (!window()->control("?SELECT") || !window()->control("?SELECT")->enabled) return;
  const fw::ListRow* row = browse().selectedRow();
  const Selected s = selected();
  if (!row || s.id <= 0 || !mayWorkIn(s.id)) return;
  // The row as it is now: another user may have deleted the company or taken it.
  if (view().fetch(row->position()) != 0 || data::field("FIR:ID_FIRMY").number() != s.id ||
      engine::lockHolder(data::field("FIR:SEMAFOR").number(), user()) == engine::LockHolder::OtherUser) {
    svc::MSG_OSTRZEZENIE("Firma została usunięta lub zablokowana przez innego użytkownika!");
    reload();
    return;
  }
  // The windows open now work on the company the program leaves: they close first,
  // and a form the person keeps open keeps the program where it is.
  if (request() != data::kSelectRecord && s.id != data::glo().ID_FIRMY.get() && !closeOtherWindows()) return;
  choosing_ = true;
  post(data::kRequestCompleted);
}

int CompanyList::takeCloseEvent(const rt::Event& e) {
  if (choosing_) {
    choosing_ = false;
    // A picker hands the company to its caller; the plain list moves the program to it.
    if (request() != data::kSelectRecord) switchToCompany(data::field("FIR:ID_FIRMY").number());
    mustChoose_ = false;
    return LockedList::takeCloseEvent(e);
  }
  if (mustChoose_) {
    // With no company left to choose, the user could never leave; adding one is theirs.
    auto left = count("select count(*) from FIRMA where ID_FIRMY>0 and VEX=1");
    if (left && *left > 0) {
      svc::MSG_OSTRZEZENIE("Aby kontynuować pracę musisz wybrać jakąś firmę!");
      return fw::kLevelNotify;
    }
  }
  return LockedList::takeCloseEvent(e);
}

void CompanyList::toggleConnection() {
  const fw::ListRow* row = browse().selectedRow();
  const Selected s = selected();
  if (!row || s.id <= 0 || !window()->control(kConnectButton)->enabled) return;
  if (!mayEdit(s.id)) return;
  const bool connect = !connected_;
  {
    WaitCursor wait;
    svc::EXECSQL("call TK_PracujZFirma(" + id(s.id) + "," + id(user()) + "," + (connect ? "1" : "2") + ")");
  }
  if (rt::errorCode() != 0) {
    const std::string text = rt::errorText();
    svc::MSG_OSTRZEZENIE(text.find("Lock") != std::string::npos ? kLockedMessage : text);
  }
  svc::CLOSESQL();
  reload();
}

// --- the form, adding and deleting -------------------------------------------------------

int CompanyList::run(int number, int request) {
  switch (request) {
    case data::kInsertRecord:
      return insertCompany(number);
    case data::kChangeRecord:
      if (!mayEdit(data::field("FIR:ID_FIRMY").number())) return data::kRequestCancelled;
      return LockedList::run(number, request);
    case data::kDeleteRecord:
      return deleteCompany();
    default:
      return LockedList::run(number, request);
  }
}

int CompanyList::insertCompany(int number) {
  if (!isAdministrator()) {
    svc::MSG_OSTRZEZENIE(
        "Aby dodać nową firmę musisz być administratorem systemu (użytkownikiem Admin).|W celu założenia nowej firmy "
        "skontaktuj się z administratorem systemu TRAMEL!");
    return data::kRequestCancelled;
  }
  // The form saves the row; the lock routines release the new row afterwards.
  const int response = LockedList::run(number, data::kInsertRecord);
  if (response != data::kRequestCompleted) return response;
  const double company = data::field("FIR:ID_FIRMY").number();
  bool setUp = false;
  {
    WaitCursor wait;
    WaitWindow window("P1$OKNODOD");
    svc::EXECSQL("call TK_InicjacjaSystemu(" + id(company) + ")");
    if (rt::errorCode() != 0) {
      svc::MSG_OSTRZEZENIE(rt::errorText());
    } else {
      setUp = true;
      if (!isAdministrator()) {
        svc::EXECSQL("insert into uzytkownikgrupy(id_grupy,id_uzytkownika) select id_grupy," + id(user()) +
                     " from grupauzytkownikow where id_firmy=" + id(company) + " and nazwa='Administratorzy'");
        if (rt::errorCode() != 0) svc::MSG_OSTRZEZENIE(rt::errorText());
      }
    }
    svc::CLOSESQL();
  }
  // The form made the new company the one worked in; its warehouse and cash desk now exist.
  if (setUp && data::glo().ID_FIRMY.get() == company) switchToCompany(company);
  data::field("FIR:ID_FIRMY").set(company);
  return response;
}

bool CompanyList::hasWorkingUsers(double company, const std::string& name) const {
  svc::EXECSQL("select sum(czy_praca),sum(czy_rembil) from stan_uzytkownika_w_mag where  id_magazynu in(select "
               "id_magazynu from magazyn where id_firmy=" + id(company) + ")");
  if (rt::errorCode() != 0) {
    // Without the answer nobody can say the company is free to go.
    svc::MSG_OSTRZEZENIE(rt::errorText());
    return true;
  }
  bool working = false;
  if (svc::VAX().next())
    working = std::atof(svc::VAX().field(1).c_str()) != 0 || std::atof(svc::VAX().field(2).c_str()) != 0;
  svc::CLOSESQL();
  if (working) svc::MSG_OSTRZEZENIE("Nie możesz usunąć firmy " + name + ", ponieważ pracują w niej użytkownicy!");
  return working;
}

int CompanyList::deleteCompany() {
  const double company = data::field("FIR:ID_FIRMY").number();
  const std::string name = engine::trimmed(data::field("FIR:NAZWA").text());
  if (!mayEdit(company)) return data::kRequestCancelled;
  if (!window()->control("?DELETE")->enabled) return data::kRequestCancelled;
  if (hasWorkingUsers(company, name)) return data::kRequestCancelled;
  if (svc::questionBox("Ta operacja spowoduje nieodwracalne usunięcie firmy.|Czy chcesz ją wykonać?",
                       rt::button::No) != rt::button::Yes)
    return data::kRequestCancelled;
  int response = data::kRequestCancelled;
  {
    WaitCursor wait;
    WaitWindow window("P1$OKNOUSU");
    sql::CompanyDeleteWatch watch([&window](const std::string& label, int step, int steps) {
      window.setText("?ETAP", "Usuwanie: " + label + " (" + std::to_string(step) + " z " + std::to_string(steps) + ")");
    });
    response = LockedList::run(0, data::kDeleteRecord);
  }
  if (response != data::kRequestCompleted) return response;
  if (company == data::glo().ID_FIRMY.get()) mustChoose_ = true;
  forgetDefaults(company);
  return response;
}

void CompanyList::forgetDefaults(double company) const {
  const std::string stored = svc::POBIERZPARAMKONF("u", "DomFirma");
  if (stored.empty() || std::atof(stored.c_str()) != company) return;
  for (const char* parameter : {"DomFirma", "DomMagazyn", "DomKasa"}) svc::USTAWPARAMKONF("u", parameter, "");
}

void CompanyList::closeActions() {
  const double company = data::field("FIR:ID_FIRMY").number();
  if (company > 0 && company == data::glo().ID_FIRMY.get())
    data::glo().MP = static_cast<double>(data::field("FIR:MP").integer());
}

}  // namespace slownik::company

extern "C" void FIRMA_BRW() {
  slownik::company::CompanyList list;
  list.run();
}
