#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/runtime/control.h"

namespace slownik::rt {

class Window;

//! Message-box buttons; a box offers a sum of them and answers with one.
namespace button {
inline constexpr int Ok = 1;
inline constexpr int Yes = 2;
inline constexpr int No = 4;
inline constexpr int Abort = 8;
inline constexpr int Retry = 16;
inline constexpr int Ignore = 32;
inline constexpr int Cancel = 64;
inline constexpr int Help = 128;
}  // namespace button

enum class MessageIcon { None, Information, Warning, Question, Error };

struct MessageBoxRequest {
  std::string title;
  std::string text;  //!< "|" starts a new line
  MessageIcon icon = MessageIcon::None;
  int buttons = button::Ok;
  int defaultButton = 0;  //!< 0 = the first button offered
  std::shared_ptr<Window> parent;  //!< the asking thread's window; null when it has none
};

//! The lines of a message text ("|" separates them).
std::vector<std::string> messageLines(std::string_view text);
//! The button a box answers with when nobody can answer it: its default, else its
//! first button.
int fallbackButton(const MessageBoxRequest& request);

struct PopupItem {
  std::string text;
  std::string icon;
  bool separator = false;
  bool enabled = true;
  bool checked = false;
  std::vector<PopupItem> items;  //!< a submenu
};

//! The choosable items of a menu in order, each as its path of texts joined by "/"
//! ("Eksport do Excela", "Sortuj/Nazwa"). A popup answers with the 1-based position
//! of the chosen one in this list; 0 = nothing chosen.
std::vector<std::string> popupChoices(const std::vector<PopupItem>& items);

struct PopupRequest {
  std::vector<PopupItem> items;
  std::shared_ptr<Window> parent;
};

struct FileDialogRequest {
  std::string title;
  std::string directory;
  std::string fileName;
  std::string filter;  //!< "Pliki DBF|*.dbf|Wszystkie pliki|*.*"
  bool save = false;
  bool directoryOnly = false;
  std::shared_ptr<Window> parent;
};

//! A document to show in a print preview, from which the person prints it or saves it
//! as a PDF file.
struct PrintRequest {
  std::string title;  //!< the preview's title and the document's name
  std::string html;   //!< the document, laid out by the front-end
  std::shared_ptr<Window> parent;
};

//! Where a dialog opens: beside a control of a window, its top-left corner at the
//! control's bottom-right corner moved by (dx, dy) dialog units, and kept inside the
//! screen's available area. Without a window the front-end places it as it likes.
struct DialogPlace {
  std::shared_ptr<Window> window;
  std::string control;
  int dx = 0;
  int dy = 0;
};

struct CalendarRequest {
  std::string title;
  long initialDay = 0;  //!< a day number; 0 = today
  DialogPlace place;
};

//! Everything of the program that a person sees or answers goes through the process's
//! front-end: the Qt host, or the headless one in tests.
//!
//! The notifications come from whichever thread made the change and must return
//! quickly without calling back into the window synchronously from a different
//! thread that waits for it. The requests block the calling procedure thread until
//! they are answered; a front-end must answer even when the request's window has gone.
class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  virtual void windowOpened(const std::shared_ptr<Window>& window) = 0;
  virtual void windowClosed(const std::shared_ptr<Window>& window) = 0;
  //! `control` is empty for window properties (title, active, busy).
  virtual void propertyChanged(const std::shared_ptr<Window>& window, const std::string& control,
                               Property property) = 0;
  virtual void focusChanged(const std::shared_ptr<Window>& window, const std::string& control) = 0;

  //! Returns the button pressed.
  virtual int messageBox(const MessageBoxRequest& request) = 0;
  //! Returns the chosen item's position in popupChoices(), 0 = none.
  virtual int popupMenu(const PopupRequest& request) = 0;
  //! The chosen file or folder; nullopt = cancelled.
  virtual std::optional<std::string> fileDialog(const FileDialogRequest& request) = 0;
  //! The chosen colour; nullopt = cancelled.
  virtual std::optional<long> colorDialog(const std::string& title, long initial) = 0;
  //! The chosen date as a day number; nullopt = cancelled.
  virtual std::optional<long> calendarDialog(const CalendarRequest& request) = 0;
  virtual std::string clipboardText() = 0;
  virtual void setClipboardText(const std::string& text) = 0;
  //! Opens a web address or a "mailto:" link in the system's program; false = failed.
  virtual bool openLink(const std::string& url) = 0;
  virtual void setBusy(bool busy) = 0;
  //! Shows `page` of the help `file`.
  virtual void showHelp(const std::string& file, const std::string& page) = 0;
  //! Shows the document in a print preview and waits until it is closed; false when
  //! this front-end can't print.
  virtual bool printPreview(const PrintRequest& request) {
    (void)request;
    return false;
  }
};

//! Sets the process's front-end. Only the first call takes effect (the host or a test
//! binary sets it at start); later calls return false and change nothing.
bool setFrontEnd(std::shared_ptr<FrontEnd> frontEnd);
//! The process's front-end; before one is set, a quiet stand-in that logs every request
//! and answers it with its default (never blocks).
FrontEnd& frontEnd();

//! Asks the front-end on behalf of the calling thread's active window.
int messageBox(std::string title, std::string text, MessageIcon icon = MessageIcon::None,
               int buttons = button::Ok, int defaultButton = 0);
int popupMenu(std::vector<PopupItem> items);
//! Shows a print preview on behalf of the calling thread's active window.
bool printPreview(std::string title, std::string html);

}  // namespace slownik::rt
