#include "engine/record_form.h"

#include "framework/data/file_manager.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"
#include "framework/services/messages.h"
#include "framework/services/rights.h"
#include "framework/services/text_services.h"

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

RecordForm::~RecordForm() = default;

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

  frame_.startHelp(descriptor_.helpPage);
  frame_.startHighlighter();
  navigator_.start(sharedWindow());
  return 0;
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
      case data::kChangeRecord: window()->setTitle(descriptor_.titles.change); break;
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
  // The user may have changed a key field: the row is found by the key it was read with.
  if (request() == data::kChangeRecord && savedRecord()) file.setKeyAsRead(*savedRecord());
  int rc = WindowManager::takeCompleted();
  file.forgetKeyAsRead();
  if (response() == data::kRequestCompleted && request() != data::kViewRecord) afterSave();
  return rc;
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
