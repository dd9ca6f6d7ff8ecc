#include "engine/record_form.h"
#include "engine/record_semaphore.h"

#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"
#include "framework/services/text_services.h"
#include "framework/sql/session.h"
#include "framework/sql/thread_database.h"

namespace slownik::engine {

namespace {
constexpr const char* kSave = "?OK";
constexpr const char* kCancel = "?CANCEL";
}  // namespace

void openMail(std::string_view address) {
  std::string to = trimmed(address);
  if (to.empty()) {
    svc::MSG_OSTRZEZENIE("Proszę wpisać adres e-mail!");
    return;
  }
  rt::frontEnd().openLink("mailto:" + to);
}

std::string trimmed(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) { return svc::upperPolish(a) == svc::upperPolish(b); }

RecordForm::RecordForm(FormDescriptor descriptor) : descriptor_(std::move(descriptor)) {}

RecordForm::~RecordForm() { abandonReservation(); }

void RecordForm::warn(std::string_view text) const { engine::warn(descriptor_.warning, text); }

int RecordForm::init() {
  frame_.nameProcedure(descriptor_.procedure);
  if (int rc = WindowManager::init()) return rc;
  data::RelationManager* relation = data::relationManager(descriptor_.table);
  if (!relation) {
    rt::logMessage(descriptor_.procedure + ": unknown table " + descriptor_.table);
    return data::kRequestCancelled;
  }
  table_ = &relation->table();

  toolbar_.addTarget(vcr_);
  vcr_.init(*this);
  addItem(toolbar_);
  data::GLOBALREQUEST() = data::kNoRequest;
  data::GLOBALRESPONSE() = data::kNoResponse;

  setHistoryKey(rt::key::History);
  addHistoryFile(data::buffer(*table_), fw::historyCopy(*table_));
  for (const auto& pair : descriptor_.history) addHistoryField(pair.control, pair.field);

  addUpdateFile(data::fileManager(*table_), relation);
  addItem(kCancel, data::kRequestCancelled);

  relations_.push_back(relation);
  for (const auto& name : descriptor_.lookupTables) {
    if (data::RelationManager* r = data::relationManager(name)) {
      relations_.push_back(r);
    } else {
      rt::logMessage(descriptor_.procedure + ": unknown table " + name);
    }
  }
  for (auto* r : relations_) r->open();
  filesOpened_ = true;

  // The save button also serves the view request: there it only closes the form.
  setSaveButton(kSave);
  if (request() != data::kViewRecord && primeRecord() != 0) return data::kRequestCancelled;
  if (request() == data::kInsertRecord && descriptor_.childRowsBeforeSave && !reserveId())
    return data::kRequestCancelled;

  if (frame_.open(*this, descriptor_.module, "P1$FORMWINDOW", 0, 0) != 0) return data::kRequestCancelled;
  frame_.applyTheme({});
  frame_.restorePosition();
  frame_.registerTooltips();
  frame_.reserveKeys();
  setAlerts();

  readOnly_ = request() == data::kViewRecord ||
              (request() == data::kChangeRecord && !descriptor_.editRight.empty() &&
               svc::POBIERZUPRAWNIENIE(descriptor_.editRight) != 1);
  if (readOnly_) lockControls();
  prepare();
  // A delete form shows what will be deleted; nothing in it can be typed over. After the
  // dictionary's own enabling rules, which know nothing of the delete request.
  if (request() == data::kDeleteRecord) {
    for (const auto& control : boundControls()) window()->setReadOnly(control, true);
    for (const auto& control : descriptor_.lockedControls) window()->disable(control);
  }

  frame_.startHelp(descriptor_.helpPage);
  frame_.startHighlighter();
  navigator_.start(sharedWindow());
  if (!readOnly_ && (request() == data::kInsertRecord || request() == data::kChangeRecord))
    asOpened_ = std::make_unique<data::RecordBuffer>(data::fileManager(*table_).record());
  return 0;
}

bool RecordForm::hasUnsavedChanges() {
  if (!asOpened_ || !window() || window()->isClosed()) return false;
  update();
  return !(data::fileManager(*table_).record() == *asOpened_);
}

int RecordForm::takeCloseEvent(const rt::Event& e) {
  if (e.fromThread == 0 || isClosing() || !hasUnsavedChanges()) return WindowManager::takeCloseEvent(e);
  const int answer = rt::messageBox("Pytanie", "Formularz \"" + window()->title() +
                                                   "\" zawiera niezapisane zmiany.|Czy zapisać zmiany?",
                                    rt::MessageIcon::Question, rt::button::Yes | rt::button::No | rt::button::Cancel,
                                    rt::button::Yes);
  if (answer == rt::button::Yes) return takeCompleted();
  if (answer == rt::button::No) return WindowManager::takeCloseEvent(e);
  return fw::kLevelNotify;
}

void RecordForm::lockControls() {
  for (const auto& control : boundControls()) window()->disable(control);
  for (const auto& control : descriptor_.lockedControls) window()->disable(control);
  // Viewing still closes with ?OK; a change without the right can only be cancelled.
  if (request() != data::kViewRecord) window()->disable(kSave);
}

void RecordForm::ask() {
  if (window()) {
    switch (request()) {
      case data::kInsertRecord: window()->setTitle(descriptor_.titles.insert); break;
      // A change the user may not make is a view, and says so.
      case data::kChangeRecord: window()->setTitle(readOnly_ ? descriptor_.titles.view : descriptor_.titles.change); break;
      case data::kViewRecord: window()->setTitle(descriptor_.titles.view); break;
      default: break;  // delete keeps the resource's caption
    }
  }
  WindowManager::ask();
}

int RecordForm::takeEvent(const rt::Event& e) {
  if (navigator_.takeEvent(e)) return fw::kLevelNotify;
  if (frame_.takeEventFirst(e)) return fw::kLevelNotify;
  return WindowManager::takeEvent(e);
}

int RecordForm::takeWindowEvent(const rt::Event& e) {
  frame_.takeWindowEvent(e, descriptor_.firstField);
  return WindowManager::takeWindowEvent(e);
}

int RecordForm::takeAccepted(const rt::Event& e) {
  if (int rc = checkField(e)) return rc;
  if (e.control == kSave && (request() == data::kInsertRecord || request() == data::kChangeRecord)) {
    update();
    if (!checkBeforeSave()) {
      focus(descriptor_.firstField.empty() && !boundControls().empty() ? boundControls().front()
                                                                         : descriptor_.firstField);
      return fw::kLevelNotify;
    }
  }
  if (int rc = WindowManager::takeAccepted(e)) return rc;
  return afterAccepted(e);
}

int RecordForm::takeCompleted() {
  data::FileManager& file = data::fileManager(*table_);
  // A form writes or deletes the row it opened, found by the key it was read with (the
  // user may have changed a key field), and only while nobody else has changed it.
  bool opened = request() == data::kChangeRecord || request() == data::kDeleteRecord;
  if (opened && savedRecord()) file.setRowAsRead(*savedRecord());
  if (request() == data::kChangeRecord && savedRecord()) requireHeldLock(file);
  // The form tells the user of a refused write in its own words (writeFailed).
  data::ErrorHandler* errors = file.errors();
  file.setErrors(nullptr);
  errorsOfWrite_ = errors;
  int rc = WindowManager::takeCompleted();
  file.setErrors(errors);
  file.forgetKeyAsRead();
  if (response() == data::kRequestCompleted && request() != data::kViewRecord) {
    // The row has its id now. Should forgetting the reservation fail, the next clean-up
    // sees the row and keeps its children.
    if (reservation_ && request() == data::kInsertRecord) {
      if (sql::Database* db = sql::threadDatabase()) reservation_->release(*db);
      reservation_.reset();
    }
    afterSave();  // still sees the record as it was opened (savedValue)
    if (opened) rememberAsRead();
  }
  return rc;
}

bool RecordForm::reserveId() {
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  auto reservation = std::make_unique<data::IdReservation>(*table_);
  if (!db || reservation->reserve(*db) != 0) {
    warn(db ? reservation->errorText() : "Brak połączenia z bazą danych: " + status.message());
    return false;
  }
  data::FileManager& file = data::fileManager(*table_);
  file.record().field(table_->idColumn).set(reservation->id());
  file.keepIdAsSet();
  reservation_ = std::move(reservation);
  return true;
}

void RecordForm::abandonReservation() {
  if (!reservation_) return;
  sql::Database* db = sql::threadDatabase();
  if (db && reservation_->abandon(*db) != 0) {
    // What stays is under an id no row has: no list shows it, and the next program that
    // reserves an id of this table cleans it up.
    rt::logMessage(descriptor_.procedure + ": " + reservation_->errorText());
  }
  reservation_.reset();
}

int RecordForm::writeFailed(int code) {
  data::FileManager& file = data::fileManager(*table_);
  switch (code) {
    case data::kRecordChanged:
      if (svc::questionBox("Rekord został zmieniony przez innego użytkownika.|Czy wczytać aktualne dane?") ==
          rt::button::Yes)
        reloadAsStored();
      return fw::kLevelNotify;
    case data::kRecordNotFound:
      warn(file.errorText());
      return fw::kLevelNotify;
    case data::kDuplicateKey:
      // Another user saved the same value after the check passed; the check sees it now.
      if (!checkBeforeSave()) {
        focus(descriptor_.firstField.empty() && !boundControls().empty() ? boundControls().front()
                                                                           : descriptor_.firstField);
        return fw::kLevelNotify;
      }
      break;
    case data::kLockLost:
      tellLostLock();
      return fw::kLevelNotify;
    default:
      // Other programs' writes are refused by the database itself, in its own words.
      if (!descriptor_.lockTable.empty() && file.errorText().find(sql::kLockGuardMessage) != std::string::npos) {
        tellLostLock();
        return fw::kLevelNotify;
      }
      break;
  }
  if (errorsOfWrite_) {
    errorsOfWrite_->fileError(table_->name, code, file.errorText());
  } else {
    svc::warningBox(file.errorText());
  }
  return fw::kLevelNotify;
}

double RecordForm::idAsRead() const {
  if (!savedRecord() || table_->idColumn.empty()) return 0;
  data::RecordBuffer asRead = *savedRecord();
  return asRead.field(table_->idColumn).number();
}

void RecordForm::requireHeldLock(data::FileManager& file) const {
  if (descriptor_.lockTable.empty()) return;
  const double id = idAsRead();
  // Records this window chain never locked are written as any other.
  if (id == 0 || !isHeldOnThisThread(descriptor_.lockTable, id)) return;
  std::vector<sql::Param> params;
  std::string condition = RecordSemaphore(descriptor_.lockTable, "").heldCondition(id, &params);
  file.setWriteCondition(std::move(condition), std::move(params));
}

void RecordForm::tellLostLock() {
  std::string text = "Blokada rekordu została zdjęta albo przejęta, zmian nie zapisano.";
  if (const double id = idAsRead(); id != 0) {
    std::string holder = RecordSemaphore(descriptor_.lockTable, "").holderOf(id);
    if (!holder.empty()) text += "|" + holder;
  }
  warn(text);
}

void RecordForm::reloadAsStored() {
  data::FileManager& file = data::fileManager(*table_);
  const sql::KeyDef* pk = table_->primaryKey();
  if (!pk || !savedRecord()) return;
  data::RecordBuffer& rec = file.record();
  for (const auto& part : pk->components) rec.field(part.column).set(savedValue(part.column));
  if (file.fetch(*pk) != 0) {
    warn("Rekord został usunięty przez innego użytkownika.");
    return;
  }
  rememberAsRead();
  display();
}

int RecordForm::run(int number, int request) {
  if (this->request() == data::kViewRecord) return data::kRequestCancelled;
  auto it = pickers_.find(number);
  if (it == pickers_.end()) return WindowManager::run(number, request);
  data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
  data::GLOBALRESPONSE() = data::kNoResponse;
  it->second();
  return data::GLOBALRESPONSE() == data::kRequestCompleted ? data::kRequestCompleted : data::kRequestCancelled;
}

void RecordForm::addPicker(int number, std::function<void()> picker) { pickers_[number] = std::move(picker); }

int RecordForm::pick(int number) { return run(number, data::kSelectRecord); }

std::string RecordForm::text(std::string_view field) const {
  data::Field f = data::field(field);
  return f.isValid() ? f.text() : std::string();
}

std::string RecordForm::savedValue(std::string_view field) const {
  const data::RecordBuffer* saved = savedRecord();
  if (!saved) return {};
  data::Field f = const_cast<data::RecordBuffer*>(saved)->field(field);
  return f.isValid() ? f.text() : std::string();
}

void RecordForm::focus(std::string_view control) {
  if (window() && !control.empty()) window()->select(control);
}

int RecordForm::kill() {
  // A new record given up takes what its child lists wrote with it.
  abandonReservation();
  if (WindowManager::kill()) return 1;
  navigator_.stop();
  if (filesOpened_) {
    for (auto* r : relations_) r->close();
    filesOpened_ = false;
  }
  frame_.leave();
  frame_.release();
  return 0;
}

}  // namespace slownik::engine
