#pragma once
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/window.h"

namespace slownik::rt {

//! The front-end of tests: nothing is drawn; a test plays the person at the screen.
//!
//! The windows run on their procedure threads (startProcedure); the test's thread finds
//! them by title, reads their controls through Window, and acts. Every action waits
//! until the window's thread has settled (it waits for the person again with nothing
//! pending, or has no window left), so the test reads what the procedure made of it.
//! Work behind a progress window is not waiting for the person even while it looks at
//! the window's input between steps: an action that starts such work returns when the
//! work is done; an action on the progress window itself, once the work took it.
//!
//! Message boxes, popup menus and dialogs are answered from what the test queued
//! beforehand. One the test did not expect is answered with its default (a box) or
//! cancelled (a menu or dialog), so nothing hangs, and it is kept as a problem with its
//! text; so is an action the window refused and a thread that does not settle.
//! takeProblems() hands them over (tests/runtime/headless_test.h fails the test on them).
class HeadlessFrontEnd final : public FrontEnd {
 public:
  using Timeout = std::chrono::milliseconds;
  static constexpr Timeout kWait{10000};

  //! The process's headless front-end, set as the process's front-end by the first call.
  static HeadlessFrontEnd& install();

  //! Forgets queued answers, records and problems (between tests).
  void reset();

  // --- windows --------------------------------------------------------------------
  //! The open window titled `title`, once its thread has settled; nullptr after the timeout.
  std::shared_ptr<Window> waitForWindow(std::string_view title, Timeout timeout = kWait);
  bool waitForClose(const std::shared_ptr<Window>& window, Timeout timeout = kWait);
  //! Waits until the window's thread waits for its next event or has no window left.
  bool settle(const std::shared_ptr<Window>& window, Timeout timeout = kWait);
  //! Asks every window not owned by the calling thread to close, newest first, and
  //! waits for them (a test's clean-up); false if some stayed open.
  bool closeAll(Timeout timeout = kWait);

  // --- acting (false when refused or not settled; the reason becomes a problem) ------
  bool type(const std::shared_ptr<Window>& window, std::string_view control, std::string text);
  bool press(const std::shared_ptr<Window>& window, int keyCode);
  bool click(const std::shared_ptr<Window>& window, std::string_view control);
  bool choose(const std::shared_ptr<Window>& window, std::string_view control, std::string item);
  bool clickRow(const std::shared_ptr<Window>& window, std::string_view list, int row);
  bool doubleClickRow(const std::shared_ptr<Window>& window, std::string_view list, int row);
  //! Shift+click (`range`) or Ctrl+click on a list row: the selection grows (or shrinks).
  bool extendRow(const std::shared_ptr<Window>& window, std::string_view list, int row, bool range);
  bool rightClickRow(const std::shared_ptr<Window>& window, std::string_view list, int row);
  bool clickHeader(const std::shared_ptr<Window>& window, std::string_view list, int column,
                   int mouseKey = key::MouseLeft);
  bool close(const std::shared_ptr<Window>& window);

  // --- message boxes ----------------------------------------------------------------
  struct ShownMessage {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    int buttons = 0;
    int defaultButton = 0;
    int answer = 0;
    bool expected = false;
  };
  //! Queues the answer to the next message box; with `containing`, that box's text
  //! must contain it (else it is a problem).
  void expectMessage(int answer, std::string containing = {});
  std::vector<ShownMessage> messages() const;
  //! Waits until at least `count` message boxes have been shown.
  bool waitForMessages(size_t count, Timeout timeout = kWait);

  // --- menus and dialogs --------------------------------------------------------------
  //! Queues the choice for the next popup menu: the item's path as popupChoices() gives
  //! it, or just its own text; "" chooses nothing.
  void expectPopup(std::string choice);
  //! The choices each popup menu offered, in order.
  std::vector<std::vector<std::string>> popupsShown() const;
  void expectFile(std::optional<std::string> path);
  void expectColor(std::optional<long> color);
  void expectDate(std::optional<long> day);
  //! Where each calendar was asked to open, in order.
  struct ShownDialog {
    std::string title;
    int window = 0;  //!< the id of the window it was placed at, 0 = none
    std::string control;
    int dx = 0;
    int dy = 0;
  };
  std::vector<ShownDialog> calendarsShown() const;

  std::vector<std::string> openedLinks() const;
  //! Every document shown in a print preview, in order.
  std::vector<PrintRequest> printed() const;
  std::vector<std::string> helpPages() const;  //!< "file#page" of every help request
  bool isBusy() const;

  //! Every refused action, unexpected message box or dialog, and unmet expectation
  //! since the last call, as readable texts; also what was queued but never asked.
  std::vector<std::string> takeProblems();

  //! One property change as reported.
  struct Notice {
    int window = 0;
    std::string control;
    Property property = Property::Text;
  };
  std::vector<Notice> notices() const;

  // --- FrontEnd ----------------------------------------------------------------------
  void windowOpened(const std::shared_ptr<Window>& window) override;
  void windowClosed(const std::shared_ptr<Window>& window) override;
  void propertyChanged(const std::shared_ptr<Window>& window, const std::string& control, Property property) override;
  void focusChanged(const std::shared_ptr<Window>& window, const std::string& control) override;
  int messageBox(const MessageBoxRequest& request) override;
  int popupMenu(const PopupRequest& request) override;
  std::optional<std::string> fileDialog(const FileDialogRequest& request) override;
  std::optional<long> colorDialog(const std::string& title, long initial) override;
  std::optional<long> calendarDialog(const CalendarRequest& request) override;
  std::string clipboardText() override;
  void setClipboardText(const std::string& text) override;
  bool openLink(const std::string& url) override;
  void setBusy(bool busy) override;
  void showHelp(const std::string& file, const std::string& page) override;
  bool printPreview(const PrintRequest& request) override;

 private:
  struct ExpectedMessage {
    int answer;
    std::string containing;
  };
  bool act(const std::shared_ptr<Window>& window, const std::string& what, std::string refused);
  void problem(std::string text);
  template <typename T>
  std::optional<T> takeAnswer(std::deque<std::optional<T>>& queue, const std::string& what);

  mutable std::mutex mutex_;
  std::deque<ExpectedMessage> expectedMessages_;
  std::vector<ShownMessage> messages_;
  std::deque<std::string> expectedPopups_;
  std::vector<std::vector<std::string>> popups_;
  std::deque<std::optional<std::string>> expectedFiles_;
  std::deque<std::optional<long>> expectedColors_;
  std::deque<std::optional<long>> expectedDates_;
  std::vector<ShownDialog> calendars_;
  std::vector<std::string> links_;
  std::vector<std::string> helpPages_;
  std::vector<PrintRequest> printed_;
  std::string clipboard_;
  bool busy_ = false;
  std::vector<Notice> notices_;
  std::vector<std::string> problems_;
};

}  // namespace slownik::rt
