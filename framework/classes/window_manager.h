#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/data/file_manager.h"
#include "framework/data/record_buffer.h"
#include "framework/data/relation_manager.h"
#include "framework/runtime/event.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/window.h"

namespace slownik::fw {

//! What an event handler tells the window manager.
enum Level : int {
  kLevelBenign = 0,  //!< go on handling the event
  kLevelNotify = 1,  //!< the event was handled; nothing else sees it
  kLevelFatal = 2,   //!< end the event loop (the window closes)
};

class WindowManager;

//! Something that takes part in a window's life: a list, a toolbar, a resizer, a popup.
//! Registered with WindowManager::addItem; every hook has a do-nothing default.
class WindowComponent {
 public:
  virtual ~WindowComponent() = default;
  //! Called for every event before the window's own handlers; a non-zero Level stops them.
  virtual int takeEvent(const rt::Event&) { return kLevelBenign; }
  //! After the window opened (the component may fill its controls).
  virtual void opened() {}
  //! When the window sets its alerts: reserve the keys the component answers.
  virtual void setAlerts() {}
  //! The window asks every component to redisplay.
  virtual void reset(bool /*force*/) {}
  virtual void updateWindow() {}
  //! The window closes.
  virtual void kill() {}
};

//! The life of one window procedure: opening, the event loop, the buttons that end it,
//! and for record forms the request, priming, the history key, the controls bound to
//! record fields and the save through the file manager.
//!
//! A procedure derives from it and overrides the hooks, calling the base where the
//! framework's part is wanted. run() drives everything: init(), and when that returns 0
//! ask() (the event loop), then kill() in any case; the response goes into GLOBALRESPONSE.
//! Nothing throws out of it: an exception from a hook is logged and ends the window
//! with "cancelled".
//!
//! Threading: one per procedure call, used on its procedure thread only.
class WindowManager {
 public:
  WindowManager() = default;
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;
  virtual ~WindowManager();

  // --- the procedure's hooks --------------------------------------------------------
  //! Opening. The base takes the request from GLOBALREQUEST. 0 = go on; any other value
  //! ends the procedure with that value as its response.
  virtual int init();
  //! The event loop; the base displays the bound controls and takes events until the
  //! window closes.
  virtual void ask();
  //! Closing. 0 the first time, non-zero when already closed (the override stops then).
  virtual int kill();
  //! Calls the form or picker `number` with `request` (a list calls it); answers its
  //! response. The base calls the callable given to setFormCall, else answers cancelled.
  virtual int run(int number, int request);
  //! Whether run() reads the row itself before its form opens (after taking its lock):
  //! the list then gives it the row as its page holds it, without reading it first.
  virtual bool readsRowItself(int /*request*/) const { return false; }
  //! How many writes to the list's table run() makes around the form besides the form's
  //! own (a lock taken and released): the list tells them from other writes.
  virtual unsigned long long writesOfItsOwn(int /*request*/) const { return 0; }
  virtual void setAlerts();
  virtual int takeEvent(const rt::Event& e);
  virtual int takeWindowEvent(const rt::Event& e);
  virtual int takeFieldEvent(const rt::Event& e);
  //! A control was accepted: a registered button ends the window with its response, the
  //! save button saves, a bound control's text goes into its record field.
  virtual int takeAccepted(const rt::Event& e);
  virtual int takeSelected(const rt::Event& e);
  virtual int takeNewSelection(const rt::Event& e);
  virtual int takeCloseEvent(const rt::Event& e);
  //! The save button: writes the record for the request; on success response 1 and close.
  virtual int takeCompleted();
  //! The file manager refused the write with `code` (its text in errorText()): tells the
  //! user unless its error handler has; the window stays open.
  virtual int writeFailed(int code);
  //! Defaults of a new record, after the file manager primed it (insert only).
  virtual void primeFields() {}
  //! Redisplays the bound controls and asks every component to reset.
  virtual void reset(bool force = false);

  //! init(), ask() when init gave 0, kill(); stores and returns the response.
  int run();

  // --- registration -----------------------------------------------------------------
  //! A component (list, toolbar, resizer …); not owned, must outlive the window.
  void addItem(WindowComponent& component);
  //! A button that ends the window with `response` when pressed.
  void addItem(std::string control, int response);
  //! A callable that sees every event before the window's handlers (as a component).
  void addItem(std::function<int(const rt::Event&)> handler);
  //! The table a record form writes.
  void addUpdateFile(data::FileManager& file, data::RelationManager* relation = nullptr);
  //! The copy a form keeps of the last saved record of its table (see historyCopy()).
  void addHistoryFile(data::RecordBuffer& record, data::RecordBuffer& history);
  //! Pressing the history key in `control` recalls field `fieldNumber` (1-based) of
  //! the history copy.
  void addHistoryField(std::string control, int fieldNumber);
  void setHistoryKey(int keyCode) { historyKey_ = keyCode; }
  int historyKey() const { return historyKey_; }
  //! The button that saves the record (takeCompleted).
  void setSaveButton(std::string control) { saveButton_ = std::move(control); }
  const std::string& saveButton() const { return saveButton_; }
  //! What run(number, request) calls when a procedure does not override it.
  void setFormCall(std::function<int(int number, int request)> call) { formCall_ = std::move(call); }

  // --- the window ------------------------------------------------------------------
  //! Opens the window from its resource; 0, or -1 when it could not be opened (the
  //! reason is logged and kept in openError()).
  int open(std::string_view resourceName, std::string_view windowType);
  //! Adopts a window opened elsewhere.
  int open(std::shared_ptr<rt::Window> window);
  rt::Window* window() const { return window_.get(); }
  std::shared_ptr<rt::Window> sharedWindow() const { return window_; }
  bool isOpened() const { return opened_; }
  const std::string& openError() const { return openError_; }

  // --- record forms ----------------------------------------------------------------
  //! Prepares the record for the request: insert primes it through the file manager
  //! (unless the caller primed it already, see markPrimed) and calls primeFields().
  //! 0, or the file manager's error (the form should not open then).
  int primeRecord();
  //! The controls named after a record field ("?BAN:NAZWA") get the field's value,
  //! formatted by their picture.
  void display();
  void display(std::string_view control);
  //! Reads a bound control's text into its record field; false (the control shows the
  //! field again) when the text does not fit the control's picture.
  bool update(std::string_view control);
  //! Every bound control into its field.
  bool update();
  //! The record as it was when the form opened (change, delete, view).
  const data::RecordBuffer* savedRecord() const { return saved_.get(); }
  //! The record buffer as it is now becomes the record as read (after a reload or a save).
  void rememberAsRead();

  // --- state -------------------------------------------------------------------------
  int request() const { return request_; }
  void setRequest(int request) { request_ = request; }
  int response() const { return response_; }
  void setResponse(int response) { response_ = response; }
  //! Ends the event loop with `response` (0 keeps the current one).
  void post(int response = 0);
  bool isClosing() const { return closing_ || closePending_; }
  bool isKilled() const { return killed_; }

 protected:
  //! The controls of the window bound to record fields, found when it opened.
  const std::vector<std::string>& boundControls() const { return bound_; }

 private:
  struct HistoryPair {
    std::string control;
    int field;
  };
  int dispatch(const rt::Event& e);
  void bindControls();
  data::Field boundField(std::string_view control) const;
  int recallHistory(const rt::Event& e);
  int confirmDelete();

  std::shared_ptr<rt::Window> window_;
  bool opened_ = false;
  std::string openError_;
  bool closing_ = false;
  bool closePending_ = false;  // post() queued the close; the loop has not seen it yet
  bool alertsSet_ = false;
  bool killed_ = false;
  int request_ = 0;
  int response_ = 0;
  std::vector<WindowComponent*> components_;
  std::vector<std::unique_ptr<WindowComponent>> ownedComponents_;
  std::map<std::string, int> buttons_;
  data::FileManager* updateFile_ = nullptr;
  data::RelationManager* updateRelation_ = nullptr;
  data::RecordBuffer* historyRecord_ = nullptr;
  data::RecordBuffer* history_ = nullptr;
  std::vector<HistoryPair> historyFields_;
  int historyKey_ = 0;
  std::string saveButton_;
  std::vector<std::string> bound_;
  std::unique_ptr<data::RecordBuffer> saved_;
  std::function<int(int, int)> formCall_;
};

//! The calling thread's copy of the last record saved in `table` by a form; empty the
//! first time a form of that table runs in the thread.
data::RecordBuffer& historyCopy(const sql::TableDef& table);

//! A list primed the thread's record of `table` for an insert (its range values are
//! set); the form's primeRecord() then keeps it instead of priming it again.
void markPrimed(const sql::TableDef& table);
//! Whether the record was primed by the caller; clears the mark.
bool takePrimed(const sql::TableDef& table);

}  // namespace slownik::fw
