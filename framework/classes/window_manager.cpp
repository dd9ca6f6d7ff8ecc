#include "framework/classes/window_manager.h"

#include <algorithm>
#include <exception>
#include <set>

#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/data/thread_instances.h"
#include "framework/runtime/log.h"
#include "framework/runtime/picture.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/services/messages.h"

namespace slownik::fw {
namespace {

// A distinct type so that the history copies get a per-thread map of their own and
// never alias the thread's record buffers.
struct HistoryRecord : data::RecordBuffer {
  using data::RecordBuffer::RecordBuffer;
};

std::set<std::string>& primedTables() {
  thread_local std::set<std::string> tables;
  return tables;
}

// Hooks are the procedure's code; whatever escapes one must not reach the host's thread.
template <typename F>
bool guarded(const char* what, F&& f) {
  try {
    f();
    return true;
  } catch (const std::exception& ex) {
    rt::logMessage(std::string("WindowManager: ") + what + ": " + ex.what());
  } catch (...) {
    rt::logMessage(std::string("WindowManager: ") + what + ": unknown exception");
  }
  return false;
}

bool isBindable(rt::ControlKind kind) {
  using K = rt::ControlKind;
  switch (kind) {
    case K::Entry: case K::Check: case K::Option: case K::Combo: case K::DropList: case K::Spin: case K::Text:
      return true;
    default:
      return false;
  }
}

std::string trimmed(std::string s) {
  auto notSpace = [](unsigned char c) { return c != ' '; };
  s.erase(s.begin(), std::find_if(s.begin(), s.end(), notSpace));
  s.erase(std::find_if(s.rbegin(), s.rend(), notSpace).base(), s.end());
  return s;
}

class CallableComponent final : public WindowComponent {
 public:
  explicit CallableComponent(std::function<int(const rt::Event&)> f) : f_(std::move(f)) {}
  int takeEvent(const rt::Event& e) override { return f_ ? f_(e) : kLevelBenign; }

 private:
  std::function<int(const rt::Event&)> f_;
};

}  // namespace

data::RecordBuffer& historyCopy(const sql::TableDef& table) { return data::threadInstance<HistoryRecord>(table); }

void markPrimed(const sql::TableDef& table) { primedTables().insert(table.name); }

bool takePrimed(const sql::TableDef& table) { return primedTables().erase(table.name) > 0; }

WindowManager::~WindowManager() {
  if (window_ && !window_->isClosed() && window_->ownerThread() == rt::threadNumber()) window_->close();
}

// --- life cycle ----------------------------------------------------------------------

int WindowManager::run() {
  int rc = kLevelBenign;
  if (!guarded("init", [&] { rc = init(); })) rc = data::kRequestCancelled;
  if (rc == 0) {
    guarded("ask", [&] { ask(); });
  } else {
    response_ = rc;
  }
  guarded("kill", [&] { kill(); });
  if (response_ == 0) response_ = data::kRequestCancelled;
  data::GLOBALRESPONSE() = static_cast<std::uint8_t>(response_);
  return response_;
}

int WindowManager::init() {
  request_ = data::GLOBALREQUEST();
  response_ = 0;
  closing_ = false;
  closePending_ = false;
  killed_ = false;
  return kLevelBenign;
}

void WindowManager::ask() {
  if (!window_) return;
  if (!alertsSet_) setAlerts();
  display();
  for (auto* c : components_) c->updateWindow();
  while (!closing_ && !window_->isClosed()) {
    rt::Event e = window_->nextEvent();
    int rc = kLevelBenign;
    if (!guarded("event", [&] { rc = takeEvent(e); })) continue;
    if (rc == kLevelFatal) closing_ = true;
  }
  window_->close();
}

int WindowManager::kill() {
  if (killed_) return 1;
  killed_ = true;
  for (auto* c : components_) guarded("component kill", [&] { c->kill(); });
  if (window_ && !window_->isClosed()) window_->close();
  return 0;
}

int WindowManager::run(int number, int request) {
  if (formCall_) return formCall_(number, request);
  return data::kRequestCancelled;
}

void WindowManager::post(int response) {
  if (response != 0) response_ = response;
  closePending_ = true;
  if (window_) window_->post(rt::event::CloseWindow);
}

void WindowManager::setAlerts() {
  alertsSet_ = true;
  if (!window_) return;
  for (auto* c : components_) c->setAlerts();
  if (historyKey_ != 0) {
    for (const auto& h : historyFields_) window_->alertOn(h.control, historyKey_);
  }
}

// --- events ----------------------------------------------------------------------------

int WindowManager::takeEvent(const rt::Event& e) {
  if (e.code == rt::event::AlertKey && historyKey_ != 0 && e.keyCode == historyKey_) {
    if (int rc = recallHistory(e)) return rc;
  }
  for (auto* c : components_) {
    if (int rc = c->takeEvent(e)) return rc;
  }
  int rc = kLevelBenign;
  switch (e.code) {
    case rt::event::Accepted: rc = takeAccepted(e); break;
    case rt::event::Selected: rc = takeSelected(e); break;
    case rt::event::NewSelection: rc = takeNewSelection(e); break;
    case rt::event::CloseWindow: rc = takeCloseEvent(e); break;
    default: break;
  }
  if (rc != kLevelBenign) return rc;
  return e.isFieldEvent() ? takeFieldEvent(e) : takeWindowEvent(e);
}

int WindowManager::takeWindowEvent(const rt::Event&) { return kLevelBenign; }
int WindowManager::takeFieldEvent(const rt::Event&) { return kLevelBenign; }
int WindowManager::takeSelected(const rt::Event&) { return kLevelBenign; }
int WindowManager::takeNewSelection(const rt::Event& e) {
  // A drop list or option group changes its value without an Accepted of its own first.
  if (std::find(bound_.begin(), bound_.end(), e.control) != bound_.end()) update(e.control);
  return kLevelBenign;
}

int WindowManager::takeCloseEvent(const rt::Event&) {
  closing_ = true;
  return kLevelFatal;
}

int WindowManager::takeAccepted(const rt::Event& e) {
  if (!saveButton_.empty() && e.control == saveButton_) return takeCompleted();
  if (auto it = buttons_.find(e.control); it != buttons_.end()) {
    post(it->second);
    return kLevelNotify;
  }
  if (std::find(bound_.begin(), bound_.end(), e.control) != bound_.end()) update(e.control);
  return kLevelBenign;
}

int WindowManager::takeCompleted() {
  update();
  int rc = 0;
  switch (request_) {
    case data::kViewRecord:
      post(data::kRequestCancelled);
      return kLevelNotify;
    case data::kInsertRecord:
    case data::kChangeRecord:
      if (!updateFile_) return kLevelBenign;
      rc = request_ == data::kInsertRecord ? updateFile_->insert() : updateFile_->update();
      break;
    case data::kDeleteRecord:
      if (!updateFile_) return kLevelBenign;
      if (confirmDelete() != rt::button::Yes) {
        post(data::kRequestCancelled);
        return kLevelNotify;
      }
      rc = updateRelation_ ? updateRelation_->remove() : updateFile_->remove();
      break;
    default:
      return kLevelBenign;
  }
  if (rc != 0) return writeFailed(rc);  // the form stays open with what the user typed
  if (request_ != data::kDeleteRecord && history_ && historyRecord_) *history_ = *historyRecord_;
  post(data::kRequestCompleted);
  return kLevelNotify;
}

int WindowManager::writeFailed(int) {
  // A file manager with an error handler has told the user already.
  if (updateFile_ && !updateFile_->errors()) svc::warningBox(updateFile_->errorText());
  return kLevelNotify;
}

void WindowManager::rememberAsRead() {
  if (updateFile_) saved_ = std::make_unique<data::RecordBuffer>(updateFile_->record());
}

int WindowManager::confirmDelete() {
  return svc::questionBox("Czy na pewno usunąć ten rekord?", rt::button::No);
}

int WindowManager::recallHistory(const rt::Event& e) {
  if (!history_) return kLevelBenign;
  for (const auto& h : historyFields_) {
    if (h.control != e.control) continue;
    data::Field from = history_->field(static_cast<std::size_t>(h.field - 1));
    data::Field to = boundField(h.control);
    if (from.isValid() && to.isValid()) {
      to.set(from.text());
      display(h.control);
    }
    return kLevelNotify;
  }
  return kLevelBenign;
}

void WindowManager::reset(bool force) {
  display();
  for (auto* c : components_) c->reset(force);
}

// --- registration ------------------------------------------------------------------------

void WindowManager::addItem(WindowComponent& component) {
  if (std::find(components_.begin(), components_.end(), &component) == components_.end())
    components_.push_back(&component);
}

void WindowManager::addItem(std::string control, int response) { buttons_[std::move(control)] = response; }

void WindowManager::addItem(std::function<int(const rt::Event&)> handler) {
  ownedComponents_.push_back(std::make_unique<CallableComponent>(std::move(handler)));
  components_.push_back(ownedComponents_.back().get());
}

void WindowManager::addUpdateFile(data::FileManager& file, data::RelationManager* relation) {
  updateFile_ = &file;
  updateRelation_ = relation;
}

void WindowManager::addHistoryFile(data::RecordBuffer& record, data::RecordBuffer& history) {
  historyRecord_ = &record;
  history_ = &history;
  if (historyKey_ == 0) historyKey_ = rt::key::History;
}

void WindowManager::addHistoryField(std::string control, int fieldNumber) {
  historyFields_.push_back({std::move(control), fieldNumber});
}

// --- the window --------------------------------------------------------------------------

int WindowManager::open(std::string_view resourceName, std::string_view windowType) {
  std::string error;
  auto w = rt::Window::open(resourceName, windowType, &error);
  if (!w) {
    openError_ = error;
    return -1;
  }
  return open(std::move(w));
}

int WindowManager::open(std::shared_ptr<rt::Window> window) {
  if (!window) return -1;
  window_ = std::move(window);
  opened_ = true;
  bindControls();
  for (auto* c : components_) c->opened();
  return 0;
}

void WindowManager::bindControls() {
  bound_.clear();
  for (const auto& c : window_->controls()) {
    if (!isBindable(c.kind) || c.name.size() < 2 || c.name.find(':') == std::string::npos) continue;
    if (data::field(std::string_view(c.name).substr(1)).isValid()) bound_.push_back(c.name);
  }
}

data::Field WindowManager::boundField(std::string_view control) const {
  if (control.size() < 2 || control.front() != '?') return {};
  return data::field(control.substr(1));
}

void WindowManager::display() {
  for (const auto& name : bound_) display(name);
}

void WindowManager::display(std::string_view control) {
  if (!window_) return;
  data::Field f = boundField(control);
  auto c = window_->control(control);
  if (!f.isValid() || !c) return;
  std::string text = f.text();
  if (!c->picture.empty()) {
    if (auto pic = rt::Picture::fromString(c->picture)) text = trimmed(pic->format(text));
  }
  window_->setValue(control, std::move(text));
}

bool WindowManager::update(std::string_view control) {
  if (!window_) return false;
  data::Field f = boundField(control);
  auto c = window_->control(control);
  if (!f.isValid() || !c) return false;
  std::string stored = c->value;
  if (!c->picture.empty()) {
    if (auto pic = rt::Picture::fromString(c->picture); pic && !pic->parse(trimmed(c->value), &stored)) {
      display(control);  // what can't be read is not kept: the field's value comes back
      return false;
    }
  }
  f.set(stored);
  return true;
}

bool WindowManager::update() {
  bool ok = true;
  for (const auto& name : bound_) ok = update(name) && ok;
  return ok;
}

int WindowManager::primeRecord() {
  saved_.reset();
  if (!updateFile_) return 0;
  bool primedByCaller = takePrimed(updateFile_->table());
  if (request_ == data::kInsertRecord) {
    if (!primedByCaller) {
      if (int rc = updateFile_->primeRecord(); rc != 0) return rc;
    }
    primeFields();
  } else {
    saved_ = std::make_unique<data::RecordBuffer>(updateFile_->record());
  }
  return 0;
}

}  // namespace slownik::fw
