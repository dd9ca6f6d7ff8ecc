#include "framework/runtime/headless_front_end.h"

#include <algorithm>
#include <thread>

#include "framework/runtime/log.h"
#include "framework/runtime/procedure_thread.h"

namespace slownik::rt {
namespace {

constexpr std::chrono::milliseconds kPoll{1};

template <typename Done>
bool waitUntil(Done done, std::chrono::milliseconds timeout) {
  auto until = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

std::string describe(const std::shared_ptr<Window>& window) {
  return window ? "\"" + window->title() + "\"" : std::string("(no window)");
}

}  // namespace

HeadlessFrontEnd& HeadlessFrontEnd::install() {
  static std::shared_ptr<HeadlessFrontEnd> instance = [] {
    auto fe = std::make_shared<HeadlessFrontEnd>();
    if (!setFrontEnd(fe)) logMessage("another front-end is set; the headless one receives nothing");
    return fe;
  }();
  return *instance;
}

void HeadlessFrontEnd::reset() {
  std::lock_guard lock(mutex_);
  expectedMessages_.clear();
  messages_.clear();
  expectedPopups_.clear();
  popups_.clear();
  expectedFiles_.clear();
  expectedColors_.clear();
  expectedDates_.clear();
  calendars_.clear();
  links_.clear();
  helpPages_.clear();
  printed_.clear();
  clipboard_.clear();
  busy_ = false;
  notices_.clear();
  problems_.clear();
}

void HeadlessFrontEnd::problem(std::string text) {
  std::lock_guard lock(mutex_);
  problems_.push_back(std::move(text));
}

// --- windows ------------------------------------------------------------------------

std::shared_ptr<Window> HeadlessFrontEnd::waitForWindow(std::string_view title, Timeout timeout) {
  auto until = std::chrono::steady_clock::now() + timeout;
  std::shared_ptr<Window> found;
  bool seen = waitUntil(
      [&] {
        for (const auto& w : openWindows()) {
          if (w->title() == title) {
            found = w;
            return true;
          }
        }
        return false;
      },
      timeout);
  if (!seen) {
    std::string open;
    for (const auto& w : openWindows()) open += (open.empty() ? "" : ", ") + describe(w);
    problem("no window \"" + std::string(title) + "\" appeared (open: " + (open.empty() ? "none" : open) + ")");
    return nullptr;
  }
  auto left = std::chrono::duration_cast<Timeout>(until - std::chrono::steady_clock::now());
  settle(found, std::max(left, Timeout{0}));
  return found;
}

bool HeadlessFrontEnd::waitForClose(const std::shared_ptr<Window>& window, Timeout timeout) {
  if (!window) return true;
  if (waitUntil([&] { return window->isClosed(); }, timeout)) return true;
  problem("the window " + describe(window) + " did not close");
  return false;
}

bool HeadlessFrontEnd::settle(const std::shared_ptr<Window>& window, Timeout timeout) {
  if (!window) return false;
  int thread = window->ownerThread();
  auto settled = [&] {
    if (!hasOpenWindow(thread)) return true;
    // Work behind a progress window looks at that window's input between steps: the
    // thread then seems to wait, but waits for nobody. Only an action on the progress
    // window itself ("Anuluj") is settled once the work took the input; any other waits
    // for the work to end and the thread to wait for the person again.
    if (int work = workWindowOf(thread)) return work == window->id() && (window->isIdle() || window->isClosed());
    return isThreadIdle(thread);
  };
  if (waitUntil(settled, timeout)) return true;
  problem("the thread of " + describe(window) + " did not settle");
  return false;
}

bool HeadlessFrontEnd::closeAll(Timeout timeout) {
  auto until = std::chrono::steady_clock::now() + timeout;
  int self = threadNumber();
  for (;;) {
    std::vector<std::shared_ptr<Window>> others;
    for (const auto& w : openWindows()) {
      if (w->ownerThread() != self) others.push_back(w);
    }
    if (others.empty()) return true;
    if (std::chrono::steady_clock::now() >= until) {
      problem("windows left open: " + std::to_string(others.size()));
      return false;
    }
    for (auto it = others.rbegin(); it != others.rend(); ++it) {
      if ((*it)->isActive() && (*it)->isIdle()) (void)(*it)->closeByUser();
    }
    std::this_thread::sleep_for(Timeout{5});
  }
}

// --- acting -------------------------------------------------------------------------

bool HeadlessFrontEnd::act(const std::shared_ptr<Window>& window, const std::string& what, std::string refused) {
  if (!refused.empty()) {
    problem(what + " in " + describe(window) + ": " + refused);
    return false;
  }
  return settle(window);
}

bool HeadlessFrontEnd::type(const std::shared_ptr<Window>& window, std::string_view control, std::string text) {
  if (!window) return act(window, "typing", "no window");
  std::string what = "typing \"" + text + "\" into " + std::string(control);
  return act(window, what, window->type(control, std::move(text)));
}

bool HeadlessFrontEnd::press(const std::shared_ptr<Window>& window, int keyCode) {
  if (!window) return act(window, "pressing", "no window");
  return act(window, "pressing " + keyName(keyCode), window->pressKey(keyCode));
}

bool HeadlessFrontEnd::click(const std::shared_ptr<Window>& window, std::string_view control) {
  if (!window) return act(window, "clicking", "no window");
  return act(window, "clicking " + std::string(control), window->click(control));
}

bool HeadlessFrontEnd::choose(const std::shared_ptr<Window>& window, std::string_view control, std::string item) {
  if (!window) return act(window, "choosing", "no window");
  std::string what = "choosing \"" + item + "\" in " + std::string(control);
  return act(window, what, window->choose(control, std::move(item)));
}

bool HeadlessFrontEnd::clickRow(const std::shared_ptr<Window>& window, std::string_view list, int row) {
  if (!window) return act(window, "clicking a row", "no window");
  return act(window, "clicking row " + std::to_string(row) + " of " + std::string(list), window->clickRow(list, row));
}

bool HeadlessFrontEnd::doubleClickRow(const std::shared_ptr<Window>& window, std::string_view list, int row) {
  if (!window) return act(window, "double-clicking a row", "no window");
  return act(window, "double-clicking row " + std::to_string(row) + " of " + std::string(list),
             window->clickRow(list, row, true));
}

bool HeadlessFrontEnd::extendRow(const std::shared_ptr<Window>& window, std::string_view list, int row, bool range) {
  if (!window) return act(window, "extending a selection", "no window");
  return act(window, std::string(range ? "Shift" : "Ctrl") + "+clicking row " + std::to_string(row) + " of " + std::string(list),
             window->extendRow(list, row, range));
}

bool HeadlessFrontEnd::rightClickRow(const std::shared_ptr<Window>& window, std::string_view list, int row) {
  if (!window) return act(window, "right-clicking a row", "no window");
  return act(window, "right-clicking row " + std::to_string(row) + " of " + std::string(list),
             window->rightClickRow(list, row));
}

bool HeadlessFrontEnd::clickHeader(const std::shared_ptr<Window>& window, std::string_view list, int column,
                                   int mouseKey) {
  if (!window) return act(window, "clicking a header", "no window");
  return act(window, "clicking header " + std::to_string(column) + " of " + std::string(list),
             window->clickHeader(list, column, mouseKey));
}

bool HeadlessFrontEnd::close(const std::shared_ptr<Window>& window) {
  if (!window) return act(window, "closing", "no window");
  return act(window, "closing", window->closeByUser());
}

// --- answers ----------------------------------------------------------------------------

void HeadlessFrontEnd::expectMessage(int answer, std::string containing) {
  std::lock_guard lock(mutex_);
  expectedMessages_.push_back({answer, std::move(containing)});
}

std::vector<HeadlessFrontEnd::ShownMessage> HeadlessFrontEnd::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

bool HeadlessFrontEnd::waitForMessages(size_t count, Timeout timeout) {
  return waitUntil(
      [&] {
        std::lock_guard lock(mutex_);
        return messages_.size() >= count;
      },
      timeout);
}

void HeadlessFrontEnd::expectPopup(std::string choice) {
  std::lock_guard lock(mutex_);
  expectedPopups_.push_back(std::move(choice));
}

std::vector<std::vector<std::string>> HeadlessFrontEnd::popupsShown() const {
  std::lock_guard lock(mutex_);
  return popups_;
}

void HeadlessFrontEnd::expectFile(std::optional<std::string> path) {
  std::lock_guard lock(mutex_);
  expectedFiles_.push_back(std::move(path));
}

void HeadlessFrontEnd::expectColor(std::optional<long> color) {
  std::lock_guard lock(mutex_);
  expectedColors_.push_back(color);
}

void HeadlessFrontEnd::expectDate(std::optional<long> day) {
  std::lock_guard lock(mutex_);
  expectedDates_.push_back(day);
}

std::vector<HeadlessFrontEnd::ShownDialog> HeadlessFrontEnd::calendarsShown() const {
  std::lock_guard lock(mutex_);
  return calendars_;
}

std::vector<std::string> HeadlessFrontEnd::openedLinks() const {
  std::lock_guard lock(mutex_);
  return links_;
}

std::vector<PrintRequest> HeadlessFrontEnd::printed() const {
  std::lock_guard lock(mutex_);
  return printed_;
}

std::vector<std::string> HeadlessFrontEnd::helpPages() const {
  std::lock_guard lock(mutex_);
  return helpPages_;
}

bool HeadlessFrontEnd::isBusy() const {
  std::lock_guard lock(mutex_);
  return busy_;
}

std::vector<std::string> HeadlessFrontEnd::takeProblems() {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out = std::move(problems_);
  problems_.clear();
  for (const auto& m : expectedMessages_) {
    out.push_back("an expected message box never came" + (m.containing.empty() ? "" : " (\"" + m.containing + "\")"));
  }
  for (const auto& p : expectedPopups_) out.push_back("an expected popup menu never came (\"" + p + "\")");
  if (!expectedFiles_.empty()) out.push_back("an expected file dialog never came");
  if (!expectedColors_.empty()) out.push_back("an expected colour dialog never came");
  if (!expectedDates_.empty()) out.push_back("an expected calendar never came");
  expectedMessages_.clear();
  expectedPopups_.clear();
  expectedFiles_.clear();
  expectedColors_.clear();
  expectedDates_.clear();
  return out;
}

std::vector<HeadlessFrontEnd::Notice> HeadlessFrontEnd::notices() const {
  std::lock_guard lock(mutex_);
  return notices_;
}

// --- FrontEnd -----------------------------------------------------------------------

void HeadlessFrontEnd::windowOpened(const std::shared_ptr<Window>&) {}
void HeadlessFrontEnd::windowClosed(const std::shared_ptr<Window>&) {}

void HeadlessFrontEnd::propertyChanged(const std::shared_ptr<Window>& window, const std::string& control,
                                       Property property) {
  std::lock_guard lock(mutex_);
  notices_.push_back({window->id(), control, property});
}

void HeadlessFrontEnd::focusChanged(const std::shared_ptr<Window>&, const std::string&) {}

int HeadlessFrontEnd::messageBox(const MessageBoxRequest& request) {
  std::lock_guard lock(mutex_);
  ShownMessage shown{request.title, request.text, request.icon, request.buttons, request.defaultButton, 0, false};
  if (expectedMessages_.empty()) {
    shown.answer = fallbackButton(request);
    problems_.push_back("unexpected message box \"" + request.title + "\": " + request.text);
  } else {
    ExpectedMessage expected = expectedMessages_.front();
    expectedMessages_.pop_front();
    shown.expected = true;
    shown.answer = expected.answer;
    if (!expected.containing.empty() && request.text.find(expected.containing) == std::string::npos) {
      problems_.push_back("message box \"" + request.text + "\" came where one with \"" + expected.containing +
                          "\" was expected");
    }
    if (!(request.buttons & expected.answer)) {
      problems_.push_back("message box \"" + request.text + "\" offers no button " + std::to_string(expected.answer));
      shown.answer = fallbackButton(request);
    }
  }
  messages_.push_back(shown);
  return shown.answer;
}

int HeadlessFrontEnd::popupMenu(const PopupRequest& request) {
  auto choices = popupChoices(request.items);
  std::lock_guard lock(mutex_);
  popups_.push_back(choices);
  if (expectedPopups_.empty()) {
    std::string offered;
    for (const auto& c : choices) offered += (offered.empty() ? "" : ", ") + c;
    problems_.push_back("unexpected popup menu: " + offered);
    return 0;
  }
  std::string wanted = expectedPopups_.front();
  expectedPopups_.pop_front();
  if (wanted.empty()) return 0;
  for (size_t i = 0; i < choices.size(); ++i) {
    const std::string& c = choices[i];
    bool endsWith = c.size() > wanted.size() && c.compare(c.size() - wanted.size(), wanted.size(), wanted) == 0 &&
                    c[c.size() - wanted.size() - 1] == '/';
    if (c == wanted || endsWith) return static_cast<int>(i + 1);
  }
  problems_.push_back("the popup menu has no item \"" + wanted + "\"");
  return 0;
}

template <typename T>
std::optional<T> HeadlessFrontEnd::takeAnswer(std::deque<std::optional<T>>& queue, const std::string& what) {
  if (queue.empty()) {
    problems_.push_back("unexpected " + what);
    return std::nullopt;
  }
  std::optional<T> answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

std::optional<std::string> HeadlessFrontEnd::fileDialog(const FileDialogRequest& request) {
  std::lock_guard lock(mutex_);
  return takeAnswer(expectedFiles_, "file dialog \"" + request.title + "\"");
}

std::optional<long> HeadlessFrontEnd::colorDialog(const std::string& title, long) {
  std::lock_guard lock(mutex_);
  return takeAnswer(expectedColors_, "colour dialog \"" + title + "\"");
}

std::optional<long> HeadlessFrontEnd::calendarDialog(const CalendarRequest& request) {
  std::lock_guard lock(mutex_);
  const DialogPlace& at = request.place;
  calendars_.push_back({request.title, at.window ? at.window->id() : 0, at.control, at.dx, at.dy});
  return takeAnswer(expectedDates_, "calendar \"" + request.title + "\"");
}

std::string HeadlessFrontEnd::clipboardText() {
  std::lock_guard lock(mutex_);
  return clipboard_;
}

void HeadlessFrontEnd::setClipboardText(const std::string& text) {
  std::lock_guard lock(mutex_);
  clipboard_ = text;
}

bool HeadlessFrontEnd::openLink(const std::string& url) {
  std::lock_guard lock(mutex_);
  links_.push_back(url);
  return true;
}

void HeadlessFrontEnd::setBusy(bool busy) {
  std::lock_guard lock(mutex_);
  busy_ = busy;
}

void HeadlessFrontEnd::showHelp(const std::string& file, const std::string& page) {
  std::lock_guard lock(mutex_);
  helpPages_.push_back(file + "#" + page);
}

bool HeadlessFrontEnd::printPreview(const PrintRequest& request) {
  std::lock_guard lock(mutex_);
  printed_.push_back(request);
  return true;
}

}  // namespace slownik::rt
